# Writes the tool-bar images art/tool_00.svg .. art/tool_16.svg: run `python3 tools.py` here.
import os

ART = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'art')
# Tool-bar icons, 32x32, transparent.
INK = '#2b2622'; SHU = '#c8402c'; GOLD = '#d4a23a'; AI = '#2d4a7a'; WASHI = '#f4ecd8'; AI2 = '#5a7bb0'
HALO = 'stroke="#f4ecd8" stroke-opacity="0.5" stroke-width="1.2"'
HDR = '<?xml version="1.0" encoding="UTF-8"?>\n'
def svg(comment, body):
    return HDR + f'<!-- {comment} Written by artgen/tools.py. -->\n<svg xmlns="http://www.w3.org/2000/svg" version="1.2" baseProfile="tiny" width="32" height="32" viewBox="0 0 32 32">\n' + body.strip('\n') + '\n</svg>\n'

def win(x, y, w, h, title=AI):
    return (f'<rect x="{x}" y="{y}" width="{w}" height="{h}" rx="1" fill="{WASHI}" stroke="{INK}" stroke-width="1.4"/>'
            f'<rect x="{x+0.7}" y="{y+0.7}" width="{w-1.4}" height="3.6" fill="{title}"/>')

icons = {}
icons[0] = ('Ship timetable: a junk under a vermilion batten sail.', f'''
<path fill="{AI2}" d="M2,27 Q6,24.5 10,27 T18,27 T26,27 T31,27 V30 H2 Z"/>
<path fill="{INK}" {HALO} d="M3,20 H29 L25.5,26.5 H7.5 Z"/>
<rect x="15" y="3" width="1.8" height="17.5" fill="{INK}"/>
<path fill="{SHU}" stroke="{INK}" stroke-width="1" stroke-linejoin="round" d="M6.5,5 H14.6 V18.5 H5 Z"/>
<path fill="{SHU}" stroke="{INK}" stroke-width="1" stroke-linejoin="round" d="M17.3,7 H25 L27,18.5 H17.3 Z"/>
<path stroke="{GOLD}" stroke-width="1" fill="none" d="M6.2,9 H14.6 M5.7,13 H14.6 M17.3,11 H25.6 M17.3,15 H26.3"/>
''')
icons[1] = ('Potential calculator: rising bars under a star.', f'''
<rect x="3" y="20" width="7" height="9" rx="1" fill="{AI}" stroke="{INK}" stroke-width="1"/>
<rect x="12.5" y="14" width="7" height="15" rx="1" fill="{GOLD}" stroke="{INK}" stroke-width="1"/>
<rect x="22" y="8" width="7" height="21" rx="1" fill="{SHU}" stroke="{INK}" stroke-width="1"/>
<path fill="{GOLD}" stroke="{INK}" stroke-width="0.9" stroke-linejoin="round" d="M9,1.5 L10.6,5.3 L14.6,5.6 L11.5,8.2 L12.5,12.2 L9,10 L5.5,12.2 L6.5,8.2 L3.4,5.6 L7.4,5.3 Z"/>
''')
icons[2] = ('Spare: a gold diamond crest.', f'''
<path fill="{GOLD}" stroke="{INK}" stroke-width="1.5" stroke-linejoin="round" d="M16,2.5 L29.5,16 L16,29.5 L2.5,16 Z"/>
<path fill="{INK}" d="M16,9 L23,16 L16,23 L9,16 Z"/>
''')
icons[3] = ('End: a vermilion seal reading 止 (stop).', f'''
<circle cx="16" cy="16" r="14" fill="{SHU}" stroke="{INK}" stroke-width="1.4"/>
<circle cx="16" cy="16" r="11.5" fill="none" stroke="{WASHI}" stroke-width="1"/>
<path fill="{WASHI}" d="M14.8,7.5 H17.4 V21.5 H14.8 Z M17.4,13.5 H22.5 V15.8 H17.4 Z M9.8,12.5 H12.3 V21.5 H9.8 Z M8.5,21.5 H23.5 V24 H8.5 Z"/>
''')
icons[4] = ('Recipe search: hammer over an anvil, with a magnifier.', f'''
<path fill="{INK}" {HALO} d="M3,17 H19 Q19,20 14.5,21 L15.5,25 H18.5 V27.5 H4.5 V25 H7.5 L8.5,21 Q4,20.5 3,17 Z"/>
<g transform="rotate(-35 12 9)"><rect x="10.8" y="7" width="2.4" height="12" fill="{GOLD}" stroke="{INK}" stroke-width="0.8"/><rect x="6.5" y="3" width="11" height="5" rx="1" fill="{AI}" stroke="{INK}" stroke-width="1"/></g>
<circle cx="23" cy="19.5" r="5.3" fill="{WASHI}" fill-opacity="0.85" stroke="{SHU}" stroke-width="2.2"/>
<path stroke="{SHU}" stroke-width="3" stroke-linecap="round" d="M26.8,23.3 L30,27"/>
''')
icons[5] = ('Status calculator: a kabuto helmet with gold crescent horns.', f'''
<path fill="{GOLD}" stroke="{INK}" stroke-width="1" stroke-linejoin="round" d="M5,3 Q7,11 13,13 L14,11.5 Q9,9 5,3 Z M27,3 Q25,11 19,13 L18,11.5 Q23,9 27,3 Z"/>
<path fill="{INK}" {HALO} d="M6,20 Q6,10.5 16,10.5 Q26,10.5 26,20 Z"/>
<path stroke="{GOLD}" stroke-width="1" fill="none" d="M10,19 Q10,13 16,12.5 M16,12.5 Q22,13 22,19 M16,11 V19.5"/>
<path fill="{AI}" stroke="{INK}" stroke-width="1" stroke-linejoin="round" d="M3,20 H29 L27,24 L23,22.5 V28.5 L16,26 L9,28.5 V22.5 L5,24 Z"/>
<circle cx="16" cy="15.5" r="2" fill="{SHU}"/>
''')
icons[6] = ('Clock: an analog dial.', f'''
<circle cx="16" cy="16" r="14" fill="{INK}" {HALO}/>
<circle cx="16" cy="16" r="11.8" fill="{WASHI}"/>
<circle cx="16" cy="16" r="12.9" fill="none" stroke="{GOLD}" stroke-width="1"/>
<path stroke="{INK}" stroke-width="1.6" d="M16,5.5 V8 M16,24 V26.5 M5.5,16 H8 M24,16 H26.5"/>
<path stroke="{INK}" stroke-width="2.4" stroke-linecap="round" d="M16,16 L11.5,11.5"/>
<path stroke="{SHU}" stroke-width="1.8" stroke-linecap="round" d="M16,16 L16,7.5"/>
<circle cx="16" cy="16" r="1.8" fill="{GOLD}"/>
''')
icons[7] = ('Item: a drawstring pouch.', f'''
<path fill="{AI}" stroke="{INK}" stroke-width="1.3" stroke-linejoin="round" d="M10,9 Q4,16 5,23 Q6,29 16,29 Q26,29 27,23 Q28,16 22,9 Z"/>
<path fill="{AI}" stroke="{INK}" stroke-width="1.3" stroke-linejoin="round" d="M9,9 L7,3.5 Q12,6 16,3 Q20,6 25,3.5 L23,9 Z"/>
<path stroke="{GOLD}" stroke-width="2" fill="none" d="M8.5,9.2 H23.5"/>
<path stroke="{GOLD}" stroke-width="1.4" fill="none" stroke-linecap="round" d="M21,9.5 Q24,13 22.5,16 M21,9.5 Q26,11 26.5,14.5"/>
<path fill="{GOLD}" d="M12,17 L16,13 L20,17 L16,21 Z" fill-opacity="0.9"/>
''')
icons[8] = ('Technique: a rolled scroll of secret techniques, tied with a cord.', f'''
<g transform="rotate(-40 16 16)">
<rect x="1.5" y="10.5" width="29" height="11" rx="2" fill="{WASHI}" stroke="{INK}" stroke-width="1.3"/>
<path stroke="#cdbf9f" stroke-width="1" d="M6,11 V21 M26,11 V21"/>
<rect x="0.5" y="11.5" width="3.5" height="9" rx="1.2" fill="{AI}" stroke="{INK}" stroke-width="1"/>
<rect x="28" y="11.5" width="3.5" height="9" rx="1.2" fill="{AI}" stroke="{INK}" stroke-width="1"/>
<rect x="13.5" y="10" width="5" height="12" fill="{SHU}" stroke="{INK}" stroke-width="0.8"/>
</g>
<path fill="none" stroke="{SHU}" stroke-width="1.6" stroke-linecap="round" d="M17.5,18 Q19,24 16,29 M17.5,18 Q23,22 24.5,28"/>
<circle cx="17.5" cy="18" r="1.8" fill="{GOLD}" stroke="{INK}" stroke-width="0.6"/>
''')
icons[9] = ('NPC: a person with a topknot.', f'''
<path fill="{INK}" {HALO} d="M13.5,4.5 Q16,1.5 18.5,4.5 L17.2,6 H14.8 Z"/>
<circle cx="16" cy="10.5" r="5.3" fill="{INK}" {HALO}/>
<path fill="{AI}" stroke="{INK}" stroke-width="1.2" stroke-linejoin="round" d="M4,30 Q4,18.5 16,17.5 Q28,18.5 28,30 Z"/>
<path fill="{WASHI}" d="M12.5,18 L16,24 L19.5,18 Q16,17.2 12.5,18 Z"/>
<path stroke="{GOLD}" stroke-width="2" d="M6,26 H26"/>
''')
icons[10] = ('Configuration: a gear.', f'''
<g fill="{INK}" stroke="#f4ecd8" stroke-opacity="0.5" stroke-width="1.2">
<rect x="13.5" y="1.5" width="5" height="29" rx="1"/>
<rect x="13.5" y="1.5" width="5" height="29" rx="1" transform="rotate(45 16 16)"/>
<rect x="13.5" y="1.5" width="5" height="29" rx="1" transform="rotate(90 16 16)"/>
<rect x="13.5" y="1.5" width="5" height="29" rx="1" transform="rotate(135 16 16)"/>
</g>
<circle cx="16" cy="16" r="11" fill="{INK}"/>
<circle cx="16" cy="16" r="6.5" fill="{GOLD}"/>
<circle cx="16" cy="16" r="3" fill="{INK}"/>
''')
icons[11] = ('Spare: a ring crest.', f'''
<circle cx="16" cy="16" r="13" fill="none" stroke="#f4ecd8" stroke-opacity="0.5" stroke-width="5.5"/>
<circle cx="16" cy="16" r="13" fill="none" stroke="{INK}" stroke-width="3.5"/>
<circle cx="16" cy="16" r="13" fill="none" stroke="{GOLD}" stroke-width="1.2"/>
<circle cx="16" cy="16" r="4.5" fill="{AI}" stroke="{INK}" stroke-width="1"/>
''')
icons[12] = ('Windows side by side.', win(2, 4, 13, 24) + win(17, 4, 13, 24))
icons[13] = ('Windows one above the other.', win(3, 2, 26, 13) + win(3, 17, 26, 13))
icons[14] = ('Next window: an arrow to the window behind.', win(2, 3, 18, 15, '#7d8797') + win(12, 13, 18, 15) + f'''
<path fill="{SHU}" stroke="{INK}" stroke-width="0.9" stroke-linejoin="round" d="M4,22 H9 V19 L14,24.5 L9,30 V27 H4 Z"/>''')
icons[15] = ('Sort windows: a cascade.', win(2, 2, 17, 14) + win(7.5, 8, 17, 14) + win(13, 14, 17, 14))
icons[16] = ('Spare: a folding fan.', f'''
<path fill="{WASHI}" stroke="{INK}" stroke-width="1.2" stroke-linejoin="round" d="M16,28 L3.5,12 Q16,1 28.5,12 Z"/>
<path fill="{SHU}" d="M16,28 L7.7,17.4 Q16,10 24.3,17.4 Z" fill-opacity="0"/>
<circle cx="16" cy="11" r="3.5" fill="{SHU}"/>
<path stroke="{INK}" stroke-width="0.8" fill="none" d="M16,28 L6.5,9 M16,28 L11,6 M16,28 V4.5 M16,28 L21,6 M16,28 L25.5,9"/>
<circle cx="16" cy="27" r="1.6" fill="{GOLD}" stroke="{INK}" stroke-width="0.6"/>
''')
icons[17] = ('Journey planner: a sea chart with a dotted course between two ports, and an alarm bell.', f'''
<rect x="1.5" y="3.5" width="25" height="21" rx="1.5" fill="{WASHI}" stroke="{INK}" stroke-width="1.3"/>
<path fill="{AI2}" fill-opacity="0.55" d="M2.2,17 Q8,14 13,18 T26,16 V24 H2.2 Z"/>
<path fill="none" stroke="{SHU}" stroke-width="1.5" stroke-dasharray="2,1.6" stroke-linecap="round" d="M6,8 Q12,6 13,12 T21,19"/>
<circle cx="6" cy="8" r="2" fill="{AI}" stroke="{INK}" stroke-width="0.8"/>
<circle cx="21" cy="19" r="2" fill="{AI}" stroke="{INK}" stroke-width="0.8"/>
<path fill="{GOLD}" stroke="{INK}" stroke-width="1.1" stroke-linejoin="round" d="M23.5,15.5 Q23.5,12.3 26,12.3 Q28.5,12.3 28.5,15.5 V20.5 L30.5,23 H21.5 L23.5,20.5 Z"/>
<circle cx="26" cy="24.8" r="1.5" fill="{INK}"/>
<path stroke="{SHU}" stroke-width="1.1" fill="none" stroke-linecap="round" d="M20.3,12.8 Q19.3,15 20.3,17.2 M31.2,12.8 Q32.2,15 31.2,17.2"/>
''')
for i, (c, b) in icons.items():
    open(os.path.join(ART, f'tool_{i:02d}.svg'), 'w').write(svg(c, b))
