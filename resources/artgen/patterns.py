# Pictures on the dial faces: bamboo sprays by day, koi and ripples by night.
import math, random

LEAF = 'M0,0 C18,-9 52,-11 100,0 C54,8 20,8 0,0 Z'

def leaf(x, y, ang, s, fill, op):
    return (f'<g transform="translate({x:.1f},{y:.1f}) rotate({ang:.1f}) scale({s:.2f})">'
            f'<path d="{LEAF}" fill="{fill}" fill-opacity="{op}"/>'
            f'<path d="M6,0 C40,-1.5 70,-1 96,0" fill="none" stroke="#f3f7e6" stroke-opacity="0.45" stroke-width="1.6"/></g>')

def spray(x, y, base, angs, s, fill, op, twig):
    out = []
    # a thin twig from the node to the spray
    out.append(f'<path d="M{x:.1f},{y:.1f} l{twig[0]:.1f},{twig[1]:.1f}" stroke="{fill}" stroke-opacity="{op}" stroke-width="2" fill="none" stroke-linecap="round"/>')
    tx, ty = x + twig[0], y + twig[1]
    for i, a in enumerate(angs):
        out.append(leaf(tx, ty, base + a, s * (1 - 0.08 * (i % 2)), fill, op))
    return out

def culm(x0, y0, x1, y1, w, nodes, color, op):
    out = []
    L = math.hypot(x1 - x0, y1 - y0)
    ang = math.degrees(math.atan2(y1 - y0, x1 - x0))
    seg = L / nodes
    out.append(f'<g transform="translate({x0},{y0}) rotate({ang:.2f})" opacity="{op}">')
    for i in range(nodes):
        out.append(f'<rect x="{i*seg+1.5:.1f}" y="{-w/2:.1f}" width="{seg-3:.1f}" height="{w}" rx="{w/3:.1f}" fill="{color}"/>')
        out.append(f'<rect x="{i*seg+4:.1f}" y="{-w/2+w*0.18:.1f}" width="{seg-8:.1f}" height="{w*0.2:.1f}" rx="{w*0.1:.1f}" fill="#eef5e0" fill-opacity="0.6"/>')
        out.append(f'<rect x="{i*seg+seg-2.5:.1f}" y="{-w/2-1.5:.1f}" width="4" height="{w+3}" rx="2" fill="#86a866"/>')
    out.append('</g>')
    return out

def day_pattern():
    G1, G2, G3 = '#8fb36a', '#6f9650', '#a9c98a'
    out = []
    # two culms rising from the lower left
    out += culm(120, 440, 205, 70, 15, 6, '#a9c987', 0.8)
    out += culm(70, 360, 120, 120, 10, 5, '#b9d69a', 0.6)
    # sprays from the nodes and drifting leaves
    out += spray(183, 165, -20, [-35, -10, 15, 40], 0.95, G1, 0.75, (14, -6))
    out += spray(160, 268, 165, [-30, -5, 20], 0.85, G2, 0.55, (-10, 2))
    out += spray(110, 190, 200, [-20, 5, 30], 0.7, G1, 0.6, (-8, -4))
    out += spray(148, 345, 10, [-25, 0, 28], 0.8, G3, 0.7, (12, 2))
    # a spray coming in from the upper right
    out += spray(405, 118, 135, [-40, -15, 10, 35], 0.9, G2, 0.5, (-6, 6))
    # a few fallen leaves low right
    out.append(leaf(318, 398, -160, 0.62, G1, 0.7))
    out.append(leaf(372, 352, 150, 0.5, G2, 0.55))
    out.append(leaf(296, 430, 200, 0.46, G1, 0.5))
    return '  ' + '\n  '.join(out)

CARP_BODY = 'M150,0 C146,-14 130,-24 105,-27 C75,-30 40,-22 15,-9 L0,-4 L0,4 C40,20 75,26 105,24 C130,22 146,12 150,0 Z'
CARP_TAIL = 'M4,-4 C-14,-18 -34,-34 -54,-40 C-46,-22 -40,-8 -30,0 C-40,8 -46,22 -54,40 C-34,34 -14,18 4,4 Z'
CARP_DORSAL = 'M102,-26 C88,-46 62,-48 36,-19 C58,-25 80,-28 102,-26 Z'
CARP_PECT = 'M112,19 C108,40 92,52 76,54 C86,40 96,28 104,21 Z'
CARP_PELV = 'M70,23 C64,38 54,44 44,44 C52,35 60,27 66,22 Z'

def carp(x, y, ang, s, body, fin, line, mark, op=1.0, flip=False):
    fy = -1 if flip else 1
    scales = []
    for i, cx in enumerate(range(36, 118, 11)):
        for cy in (-13, -3, 7):
            if abs(cy) * 1.0 > 20 - abs(cx - 80) * 0.12:
                continue
            scales.append(f'M{cx},{cy-5} Q{cx-5},{cy} {cx},{cy+5}')
    return f'''<g transform="translate({x},{y}) rotate({ang}) scale({s},{s*fy})" opacity="{op}">
    <g transform="rotate(12)"><path d="{CARP_TAIL}" fill="{fin}"/>
      <path d="M0,0 L-46,-32 M0,0 L-40,-16 M0,0 L-40,16 M0,0 L-46,32" stroke="{line}" stroke-width="1" stroke-opacity="0.5" fill="none"/></g>
    <path d="{CARP_DORSAL}" fill="{fin}"/>
    <path d="{CARP_PELV}" fill="{fin}"/>
    <path d="{CARP_BODY}" fill="{body}"/>
    <path d="M58,-24 C72,-18 86,-20 98,-26 C88,-12 70,-10 58,-24 Z M28,-12 C40,-4 52,6 46,16 C36,10 26,2 28,-12 Z M112,-22 C124,-20 132,-14 136,-6 C126,-10 116,-12 112,-22 Z" fill="{mark}"/>
    <path d="{' '.join(scales)}" stroke="{line}" stroke-width="1.1" stroke-opacity="0.45" fill="none"/>
    <path d="M122,-18 C116,-6 116,8 122,16" stroke="{line}" stroke-width="1.4" stroke-opacity="0.7" fill="none"/>
    <path d="{CARP_PECT}" fill="{fin}"/>
    <circle cx="133" cy="-8" r="3.6" fill="{line}"/>
    <path d="M146,6 C150,14 156,17 162,14 M143,9 C145,16 149,21 154,22" stroke="{line}" stroke-width="1.2" fill="none" stroke-opacity="0.8"/>
  </g>'''

def night_pattern():
    out = []
    # ripples
    for cx, cy, rx in ((330, 350, 36), (330, 350, 62), (330, 350, 90), (170, 170, 28), (170, 170, 50)):
        out.append(f'<ellipse cx="{cx}" cy="{cy}" rx="{rx}" ry="{rx*0.32:.1f}" fill="none" stroke="#5574ad" stroke-opacity="{0.55 - rx/300:.2f}" stroke-width="2"/>')
    # gold flecks
    random.seed(7)
    for _ in range(28):
        while True:
            a = random.uniform(0, 2 * math.pi); r = random.uniform(40, 200)
            x = 256 + r * math.cos(a); y = 256 + r * math.sin(a)
            if True:
                break
        out.append(f'<circle cx="{x:.1f}" cy="{y:.1f}" r="{random.uniform(0.8, 2.0):.1f}" fill="#d9c27a" fill-opacity="{random.uniform(0.3, 0.8):.2f}"/>')
    import koi
    out.append(koi.koi(255, 100, 150, 23, '#efe8d2', '#d8d2bf', '#32456e',
                       [(0.05, 0.22, 0.8, '#d9b25a'), (0.36, 0.58, 0.7, '#d9b25a'), (0.68, 0.8, 0.5, '#d9b25a')], 0.96))
    out.append(koi.koi(75, 100, 150, 23, '#d7dce6', '#b4bfd3', '#2a3a60',
                       [(0.12, 0.3, 0.7, '#8495b8'), (0.45, 0.7, 0.6, '#8495b8')], 0.85))
    return '  ' + '\n  '.join(out)
