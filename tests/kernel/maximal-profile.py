"""Turns a fresh profile into the largest the keyboard takes: every key on both layers a macro
at the step limit, with delays, and every key a colour of its own.
usage: maximal-profile.py FRESH OUT"""
import re
import sys

STEPS = 799  # the limit of a macro with recorded delays: keys with a delay between each two
KEYS = ['LSHIFT Down', 'A Down', 'A UP', 'LSHIFT UP']


def step_list(key, layer):
    lines = []
    for i in range(STEPS):
        text = KEYS[i // 2 % 4] if i % 2 == 0 else f'<{10 + (key * 7 + layer * 3 + i) % 990} ms>'
        lines.append(f'<x ID="{i}" t1="{text}">\r\n'
                     '<List SizeOfView="9" ViewStartAt="0" CursorPos="0" Cycles="1" '
                     'IsAutoInterval="0" Delay="30" PlayMode="0"/>\r\n</x>')
    head = (f'<List SizeOfView="9" ViewStartAt="0" CursorPos="0" Cycles="{1 + (key + layer) % 9}" '
            'IsAutoInterval="0" Delay="30" PlayMode="0">')
    return head + '\r\n' + '\r\n'.join(lines) + '\r\n</List>'


text = open(sys.argv[1], newline='').read()


def key(match):
    number, layer = int(match.group(1)), int(match.group(2))
    return (f'<KEY ID="{number}" Level="{layer}" Mode="3" HWCode="0">\r\n<ComboKey>\r\n'
            f'{step_list(number, layer)}\r\n</ComboKey>\r\n</KEY>')


text, keys = re.subn(r'<KEY ID="(\d+)" Level="(\d)"[^>]*>\r\n<ComboKey>\r\n<List [^>]*/>\r\n'
                     r'</ComboKey>\r\n</KEY>', key, text)
text, areas = re.subn(
    r'<AREA ID="(\d+)" Red="0" Green="0" Blue="0"/>',
    lambda m: '<AREA ID="{0}" Red="{1}" Green="{2}" Blue="{3}"/>'.format(
        m.group(1), int(m.group(1)) * 2 % 256, 255 - int(m.group(1)), (int(m.group(1)) * 37) % 256),
    text)
if keys != 216 or areas != 108:
    sys.exit(f'{sys.argv[1]}: expected a fresh profile (216 keys, 108 lights), found {keys}, {areas}')
open(sys.argv[2], 'w', newline='').write(text)
