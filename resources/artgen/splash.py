# Writes art/splash.svg: run `python3 splash.py` here after a change.
import math
import os

ART = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'art')
W = 591
GOLD = '#d4a23a'; GOLD2 = '#b8862a'; SUMI = '#0b0f1a'; WASHI = '#f4ecd8'; SHU = '#c8402c'

def roof(cx, y, hw, h, fill=SUMI):
    return (f'<path fill="{fill}" d="M{cx-hw-10},{y-7} Q{cx-hw+4},{y+1} {cx-hw+20},{y+1} L{cx+hw-20},{y+1} '
            f'Q{cx+hw-4},{y+1} {cx+hw+10},{y-7} Q{cx+hw*0.72:.1f},{y-h*0.3:.1f} {cx+hw*0.55:.1f},{y-h} '
            f'L{cx-hw*0.55:.1f},{y-h} Q{cx-hw*0.72:.1f},{y-h*0.3:.1f} {cx-hw-10},{y-7} Z"/>')

def gable(cx, y, hw, h, fill=SUMI):
    # a chidori gable sitting on a roof
    return f'<path fill="{fill}" d="M{cx-hw},{y} Q{cx-hw*0.45:.1f},{y-h*0.45:.1f} {cx},{y-h} Q{cx+hw*0.45:.1f},{y-h*0.45:.1f} {cx+hw},{y} Z"/>'

def windows(cx, y, n, gap, w=6, h=8):
    out = []
    x0 = cx - (n - 1) * gap / 2
    for i in range(n):
        out.append(f'<rect x="{x0 + i*gap - w/2:.1f}" y="{y}" width="{w}" height="{h}" fill="#f0b84c"/>')
    return ''.join(out)

def castle(cx, base):
    o = []
    # stone base
    o.append(f'<path fill="{SUMI}" d="M{cx-92},{base-40} L{cx+92},{base-40} Q{cx+100},{base-14} {cx+118},{base} L{cx-118},{base} Q{cx-100},{base-14} {cx-92},{base-40} Z"/>')
    o.append(f'<path fill="none" stroke="#1c2540" stroke-width="1" d="M{cx-100},{base-28} H{cx+100} M{cx-108},{base-14} H{cx+108}"/>')
    # tiers, bottom up: body, roof
    tiers = [(base - 40, 78, 30, 92, 20), (base - 84, 62, 24, 76, 18), (base - 124, 46, 22, 60, 16), (base - 160, 34, 20, 46, 18)]
    for i, (y, bw, bh, rw, rh) in enumerate(tiers):
        o.append(f'<rect x="{cx-bw}" y="{y-bh}" width="{2*bw}" height="{bh}" fill="{SUMI}"/>')
        o.append(windows(cx, y - bh + 8, [7, 5, 4, 3][i], [20, 22, 20, 18][i]))
        o.append(roof(cx, y - bh, rw, rh))
        if i == 1:
            o.append(gable(cx, y - bh - rh + 6, 26, 22))
        if i == 2:
            o.append(gable(cx - 24, y - bh - rh + 8, 14, 14))
            o.append(gable(cx + 24, y - bh - rh + 8, 14, 14))
    # shachihoko on the top ridge: gold fish, tails curled up and outwards
    ty = tiers[-1][0] - tiers[-1][2] - tiers[-1][4]
    for side in (-1, 1):
        x = cx + side * 21
        o.append(f'<path fill="{GOLD}" d="M{x - side * 3},{ty} C{x - side * 2},{ty - 5} {x + side * 2},{ty - 7} {x + side * 3},{ty - 12} '
                 f'C{x + side * 6},{ty - 15} {x + side * 9},{ty - 13} {x + side * 10},{ty - 10} '
                 f'C{x + side * 7},{ty - 11} {x + side * 5},{ty - 9} {x + side * 5},{ty - 6} '
                 f'C{x + side * 5},{ty - 3} {x + side * 4},{ty - 1} {x + side * 3},{ty} Z"/>')
    # eaves caught by the sunset light
    for y, bw, bh, rw, rh in tiers:
        o.append(f'<path fill="none" stroke="#6a4a3a" stroke-width="1.2" d="M{cx - rw - 8},{y - bh - 6} Q{cx - rw + 4},{y - bh + 1} {cx - rw + 20},{y - bh + 1} H{cx + rw - 20} Q{cx + rw - 4},{y - bh + 1} {cx + rw + 8},{y - bh - 6}"/>')
    return '\n  '.join(o)

def circle_d(x, y, r):
    # a full circle as two arcs
    return f'M{x - r:.1f},{y:.1f} a{r:.1f},{r:.1f} 0 1,0 {2 * r:.1f},0 a{r:.1f},{r:.1f} 0 1,0 {-2 * r:.1f},0 Z'

def mix(a, b, t):
    ca = [int(a[i:i + 2], 16) for i in (1, 3, 5)]
    cb = [int(b[i:i + 2], 16) for i in (1, 3, 5)]
    return '#' + ''.join(f'{round(x * (1 - t) + y * t):02x}' for x, y in zip(ca, cb))

def seigaiha(y0, y1, r, bg, line, op, hidden=None):
    # Rows of wave scales, later rows over earlier ones. Each scale is a stack of opaque discs
    # (line colour, background, line, ...), one path per disc size and row: plain opaque fills
    # keep the picture quick to render.
    ink = mix(bg, line, op)
    o = []
    row = 0
    y = y0
    while y <= y1 + r:
        if hidden and hidden[0] <= y - r and y + r / 2 <= hidden[1]:
            y += r / 2
            row += 1
            continue
        off = 0 if row % 2 == 0 else r
        levels = [(r, ink), (r - 1.6, bg)]
        for k in (0.78, 0.56, 0.34):
            levels += [(r * k + 0.8, ink), (r * k - 0.8, bg)]
        for radius, colour in levels:
            discs = []
            x = -r + off
            while x <= W + r:
                discs.append(circle_d(x, y, radius))
                x += 2 * r
            o.append(f'<path fill="{colour}" d="{" ".join(discs)}"/>')
        y += r / 2
        row += 1
    return '\n  '.join(o)

def kasumi(x, y, w, h, op=1.0):
    # a suyari-gasumi mist band: a long gold band with a shorter, thinner one stepped below it
    step = 36 if x < 0 else -36
    return (f'<rect x="{x}" y="{y}" width="{w}" height="{h}" rx="{h/2}" fill="url(#gold)" fill-opacity="{op}"/>'
            f'<rect x="{x + step + (0 if step > 0 else w * 0.45):.1f}" y="{y + h - 3}" width="{w * 0.55:.1f}" height="{h * 0.5:.1f}" rx="{h/4}" fill="url(#gold)" fill-opacity="{op}"/>'
            f'<path fill="none" stroke="#f0d68c" stroke-opacity="0.55" stroke-width="1" d="M{x + h/2:.1f},{y + 4} H{x + w - h/2:.1f}"/>')

svg = f'''<?xml version="1.0" encoding="UTF-8"?>
<!-- Start-up picture: a castle before a vermilion sun, gold mist bands and a sea of blue waves,
     with the program's name. Written by artgen/splash.py. -->
<svg xmlns="http://www.w3.org/2000/svg" version="1.2" baseProfile="tiny" width="{W}" height="{W}" viewBox="0 0 {W} {W}">
  <defs>
    <linearGradient id="sky" x1="0" y1="0" x2="0" y2="360" gradientUnits="userSpaceOnUse">
      <stop offset="0" stop-color="#0f1a33"/>
      <stop offset="1" stop-color="#22355e"/>
    </linearGradient>
    <radialGradient id="sun" cx="295.5" cy="200" r="128" gradientUnits="userSpaceOnUse">
      <stop offset="0" stop-color="#e0593c"/>
      <stop offset="1" stop-color="#b9361f"/>
    </radialGradient>
    <linearGradient id="gold" x1="0" y1="0" x2="0" y2="1">
      <stop offset="0" stop-color="#e6bf5c"/>
      <stop offset="1" stop-color="#b8862a"/>
    </linearGradient>
  </defs>
  <rect width="{W}" height="{W}" fill="url(#sky)"/>
  <circle cx="295.5" cy="200" r="128" fill="url(#sun)"/>
  {kasumi(-40, 92, 230, 34, 0.92)}
  {kasumi(400, 132, 240, 30, 0.92)}
  {castle(295.5, 352)}
  <rect y="372" width="{W}" height="{W-372}" fill="#14213d"/>
  {seigaiha(388, W, 34, '#14213d', '#3a5488', 0.55, (392, 542))}
  {kasumi(-30, 300, 215, 28)}
  {kasumi(398, 318, 240, 26)}
  <path fill="none" stroke="{SUMI}" stroke-width="2.2" stroke-linecap="round" stroke-linejoin="round" d="M352,104 q8,-6 14,1 q6,-8 14,-2 M382,124 q6,-5 11,1 q5,-6 11,-1 M340,128 q5,-4 10,1 q4,-5 10,-1"/>
  <rect y="392" width="{W}" height="150" fill="#0e172c"/>
  <path fill="none" stroke="{GOLD}" stroke-width="1.2" d="M40,392 H551 M40,542 H551"/>
  <text x="295.5" y="470" font-family="ＭＳ 明朝" font-size="84" fill="url(#gold)" text-anchor="middle">T A M U</text>
  <path fill="none" stroke="{GOLD}" stroke-width="1.4" d="M150,494 H270 M321,494 H441"/>
  <path fill="{GOLD}" d="M295.5,484 L305.5,494 L295.5,504 L285.5,494 Z"/>
  <text x="295.5" y="530" font-family="ＭＳ 明朝" font-size="26" fill="{WASHI}" text-anchor="middle">戦国の道具箱</text>
  <rect x="10" y="10" width="{W-20}" height="{W-20}" fill="none" stroke="{GOLD}" stroke-width="2"/>
  <rect x="16" y="16" width="{W-32}" height="{W-32}" fill="none" stroke="{GOLD}" stroke-width="0.8"/>
  <text x="560" y="570" font-family="ＭＳ Ｐゴシック" font-size="12" fill="#c9b98f" text-anchor="end">Version 1.0</text>
</svg>
'''
open(os.path.join(ART, 'splash.svg'), 'w').write(svg)
