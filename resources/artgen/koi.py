# A koi seen from above, its body bent along a circle about the dial centre.
import math
C = 256.0

def polar(phi_deg, r):
    a = math.radians(phi_deg)
    return (C + r * math.sin(a), C - r * math.cos(a))

def koi(phi_head, sweep, R, W, body, fin, line, marks, op=1.0, inward=14):
    """A koi seen from above, swimming clockwise along a circle about the dial centre.
    Head at polar angle phi_head, the body trailing `sweep` degrees behind."""
    N = 64
    spine = []
    for i in range(N + 1):
        t = i / N
        phi = phi_head - sweep * t
        r = R - inward * (1 - t) + 6 * math.sin(t * math.pi * 1.5)
        spine.append(polar(phi, r))

    def width(t):
        if t < 0.16:
            u = (0.16 - t) / 0.16
            return 0.86 * W * math.sqrt(max(0.0, 1 - u * u))
        if t < 0.32:
            return W * (0.86 + 0.14 * math.sin(math.pi / 2 * (t - 0.16) / 0.16))
        return W * (1 - 0.78 * ((t - 0.32) / 0.68) ** 1.1)

    def frame(i):
        a = spine[max(0, i - 1)]; b = spine[min(N, i + 1)]
        dx, dy = b[0] - a[0], b[1] - a[1]
        L = math.hypot(dx, dy)
        tx, ty = dx / L, dy / L          # from head towards tail
        return (tx, ty), (-ty, tx)

    left, right = [], []
    for i in range(N + 1):
        t = i / N
        (tx, ty), (nx, ny) = frame(i)
        w = width(t)
        x, y = spine[i]
        left.append((x + nx * w, y + ny * w))
        right.append((x - nx * w, y - ny * w))
    # round nose
    hx, hy = spine[0]
    (tx, ty), (nx, ny) = frame(0)
    outline = left + list(reversed(right))
    d = 'M' + ' L'.join(f'{x:.1f},{y:.1f}' for x, y in outline) + ' Z'

    def at(i):
        (tx, ty), (nx, ny) = frame(i)
        x, y = spine[i]
        return x, y, math.degrees(math.atan2(ty, tx))

    parts = [f'<g opacity="{op}">']
    # tail: a flowing fan behind the last spine point (local +x = away from the head)
    x, y, ang = at(N)
    parts.append(f'<g transform="translate({x:.1f},{y:.1f}) rotate({ang:.1f})">'
                 f'<path fill="{fin}" fill-opacity="0.85" d="M-8,-4 C6,-10 22,-34 46,-34 C58,-33 56,-18 46,-10 C40,-5 40,5 46,10 C56,18 58,33 46,34 C22,34 6,10 -8,4 Z"/>'
                 f'<path fill="none" stroke="{line}" stroke-opacity="0.35" stroke-width="1" d="M0,0 L46,-24 M0,0 L40,-10 M0,0 L40,10 M0,0 L46,24"/></g>')
    # pectoral and pelvic fins, both sides
    for idx, size in ((int(N * 0.27), 1.0), (int(N * 0.62), 0.55)):
        x, y, ang = at(idx)
        w = width(idx / N)
        for side in (1, -1):
            parts.append(f'<g transform="translate({x:.1f},{y:.1f}) rotate({ang:.1f}) scale({size:.2f},{size*side:.2f})">'
                         f'<path fill="{fin}" fill-opacity="0.85" d="M-6,{w/size*0.7:.1f} C-6,{w/size+14:.1f} 8,{w/size+26:.1f} 24,{w/size+24:.1f} C34,{w/size+22:.1f} 30,{w/size+8:.1f} 14,{w/size*0.6:.1f} Z"/></g>')
    parts.append(f'<path fill="{body}" d="{d}"/>')
    # markings along the back
    for t0, t1, frac, col in marks:
        pts_l, pts_r = [], []
        i0, i1 = int(N * t0), int(N * t1)
        for i in range(i0, i1 + 1):
            t = i / N
            (tx, ty), (nx, ny) = frame(i)
            w = width(t) * frac * math.sin(math.pi * (i - i0) / max(1, i1 - i0)) ** 0.6
            xx, yy = spine[i]
            off = width(t) * 0.15
            pts_l.append((xx + nx * (w + off), yy + ny * (w + off)))
            pts_r.append((xx - nx * (w - off), yy - ny * (w - off)))
        outline2 = pts_l + list(reversed(pts_r))
        parts.append(f'<path fill="{col}" d="M' + ' L'.join(f'{x:.1f},{y:.1f}' for x, y in outline2) + ' Z"/>')
    # dorsal line and eyes
    i0, i1 = int(N * 0.3), int(N * 0.8)
    parts.append(f'<path fill="none" stroke="{line}" stroke-opacity="0.35" stroke-width="1.4" d="M' +
                 ' L'.join(f'{spine[i][0]:.1f},{spine[i][1]:.1f}' for i in range(i0, i1 + 1)) + '"/>')
    i = int(N * 0.07)
    (tx, ty), (nx, ny) = frame(i)
    for side in (1, -1):
        ex, ey = spine[i][0] + side * nx * width(i / N) * 0.62, spine[i][1] + side * ny * width(i / N) * 0.62
        parts.append(f'<circle cx="{ex:.1f}" cy="{ey:.1f}" r="2.4" fill="{line}"/>')
    parts.append('</g>')
    return '\n  '.join(parts)
