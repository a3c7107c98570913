# Writes art/dial_day.svg and art/dial_night.svg: run `python3 dials.py` here after a change.
import math
import os

ART = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'art')
HDR = '<?xml version="1.0" encoding="UTF-8"?>\n'
SVG = '<svg xmlns="http://www.w3.org/2000/svg" xmlns:xlink="http://www.w3.org/1999/xlink" version="1.2" baseProfile="tiny" width="512" height="512" viewBox="0 0 512 512">\n'

def ticks(color_min, color_hour, color_card, accent):
    out = []
    for i in range(60):
        a = math.radians(i * 6)
        if i % 5 == 0:
            continue
        r = 224
        x = 256 + r * math.sin(a); y = 256 - r * math.cos(a)
        out.append(f'<circle cx="{x:.2f}" cy="{y:.2f}" r="2.2" fill="{color_min}"/>')
    for h in range(12):
        deg = h * 30
        if h % 3 == 0:
            out.append(f'<g transform="rotate({deg} 256 256)"><path fill="{accent}" d="M256,20 L266,40 L256,62 L246,40 Z"/><path fill="{color_card}" d="M256,25 L262.5,40 L256,56 L249.5,40 Z"/></g>')
        else:
            out.append(f'<g transform="rotate({deg} 256 256)"><rect x="252" y="24" width="8" height="30" rx="2" fill="{color_hour}"/><rect x="254.5" y="27" width="3" height="24" fill="{accent}"/></g>')
    return '\n  '.join(out)

def dial(name, comment, face_in, face_out, rim, pattern, tmin, thour, tcard, accent):
    s = HDR + f'<!-- {comment} Written by artgen/dials.py. -->\n' + SVG
    s += f'''  <defs>
    <radialGradient id="face" cx="256" cy="230" r="250" gradientUnits="userSpaceOnUse">
      <stop offset="0" stop-color="{face_in}"/>
      <stop offset="1" stop-color="{face_out}"/>
    </radialGradient>
    <radialGradient id="shade" cx="256" cy="256" r="238" gradientUnits="userSpaceOnUse">
      <stop offset="0.86" stop-color="{rim}" stop-opacity="0"/>
      <stop offset="1" stop-color="{rim}" stop-opacity="0.28"/>
    </radialGradient>
  </defs>
  <circle cx="256" cy="256" r="250" fill="{rim}"/>
  <circle cx="256" cy="256" r="242" fill="none" stroke="#c9a03c" stroke-width="3"/>
  <circle cx="256" cy="256" r="238" fill="url(#face)"/>
{pattern}
  <circle cx="256" cy="256" r="238" fill="url(#shade)"/>
  <circle cx="256" cy="256" r="231" fill="none" stroke="{tmin}" stroke-opacity="0.55" stroke-width="1"/>
  <circle cx="256" cy="256" r="217" fill="none" stroke="{tmin}" stroke-opacity="0.55" stroke-width="1"/>
  {ticks(tmin, thour, tcard, accent)}
  <circle cx="256" cy="256" r="21" fill="{rim}"/>
  <circle cx="256" cy="256" r="18" fill="none" stroke="#c9a03c" stroke-width="2"/>
</svg>
'''
    open(os.path.join(ART, f'{name}.svg'), 'w').write(s)

import patterns
dial('dial_day', 'Day dial: pale green face with bamboo leaves, lacquer rim, gold hour marks.',
     '#f3f7e6', '#cfe0b0', '#3a2a1e', patterns.day_pattern(), '#5d7548', '#2b2622', '#2b2622', '#c9a03c')
dial('dial_night', 'Night dial: dark indigo face with a pale carp, lacquer rim, gold hour marks.',
     '#2a3e6a', '#111a33', '#151a2c', patterns.night_pattern(), '#8d9cc0', '#e7dcb8', '#e7dcb8', '#c9a03c')
