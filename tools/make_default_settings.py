#!/usr/bin/env python3
"""Writes the shipped data/opt.ini: a layout for a 1920 x 1080 projector with the wheel in the
middle, the title above it, the prize names on its left and each prize picture just outside its sector.
The layout's screen size is the client area of the program maximised on such a screen (the
window manager's title bar taken off); on other screens the program scales the layout to fit."""
import math
import sys

SCREEN = (1920, 1061)           # pingmu_kuan, pingmu_gao
POINTER = (785, 310)            # the wheel follows: it is centred on the pointer
POINTER_SIZE = 350
PICTURE_SIZE = 60
PICTURE_RADIUS = 320            # from the wheel's centre to a prize picture's centre: clear of the wheel's box round its disc
# Middle of each slot's sector, in degrees clockwise from the top.
SECTOR_MIDDLES = [2, 48, 92, 135.5, 180.5, 225.5, 270.5, 316]

cx = POINTER[0] + POINTER_SIZE / 2
cy = POINTER[1] + POINTER_SIZE / 2
keys = [
    ('biaoti_text', '2027 新春年会 · 幸运大转盘'),
    ('biaoti_size', '40'),
    ('biaoti_color', str(0x37D7FF)),   # gold, stored as 0x00BBGGRR
    ('biaoti_left', '360'),
    ('biaoti_top', '10'),           # its 121-pixel box ends above the top prize picture
    ('zhizhen_left', str(POINTER[0])),
    ('zhizhen_top', str(POINTER[1])),
]
for k, deg in enumerate(SECTOR_MIDDLES, start=1):
    a = math.radians(deg)
    x = cx + PICTURE_RADIUS * math.sin(a) - PICTURE_SIZE / 2
    y = cy - PICTURE_RADIUS * math.cos(a) - PICTURE_SIZE / 2
    keys += [(f'pic{k}_left', str(round(x))), (f'pic{k}_top', str(round(y)))]
keys += [
    ('present_left', '250'),
    ('present_top', '300'),
    ('present_xianshi', '1'),
    ('zhongjiang_xianshi', '1'),
    ('kongzhimoshi', '1'),
    ('tingzhimoshi', '2'),
    ('zhongjiang_texiao', '1'),   # the celebration at every stop
    ('pingmu_kuan', str(SCREEN[0])),
    ('pingmu_gao', str(SCREEN[1])),
    ('shengyu_xianshi', '1'),     # the prizes left beside the names in quota mode
    ('zhuanpan_mingcheng', '1'),  # the wheel drawn with the prize names on it
]
assert len(keys) == 34
text = '[canshu]\r\n' + ''.join(f'{k}={v}\r\n' for k, v in keys)
out = sys.argv[1] if len(sys.argv) > 1 else 'assets/data/opt.ini'
open(out, 'wb').write(text.encode('gbk'))
