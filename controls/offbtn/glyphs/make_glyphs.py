#!/usr/bin/env python3
"""Draws the flat button's built-in glyphs OFFICE_1 ... OFFICE_24 as 8-bit
palette BMP files.

Every kind has a set of four pictures in the order active, disabled, down,
inactive: the disabled one is grey, the others differ in colour so that
hover and press show. The bottom-left pixel of every picture is the
background, which the button treats as transparent.

usage: make_glyphs.py OUTPUT_DIR
"""
import math
import os
import struct
import sys

BACKGROUND = (255, 0, 255)
BLACK = (0, 0, 0)
WHITE = (255, 255, 255)

# Colours of one picture, by role.
NAVY = (0, 36, 145)        # the application windows' text colour
DEEP = (0, 20, 90)
BRIGHT = (81, 124, 255)    # the flat buttons' active colour
PALE = (166, 188, 255)     # the flat buttons' inactive colour
FACE = (239, 243, 255)     # the application windows' button face


def grey(level):
    return (level, level, level)


def sets():
    """(first resource number, width, height, painter, four colour schemes)."""
    bullet = {
        'active': dict(rim=NAVY, fill=BRIGHT, glint=WHITE),
        'disabled': dict(rim=grey(128), fill=grey(176), glint=grey(236)),
        'down': dict(rim=BLACK, fill=DEEP, glint=PALE),
        'inactive': dict(rim=DEEP, fill=NAVY, glint=PALE),
    }
    radio = {
        'active': dict(rim=BRIGHT, inside=FACE, dot=BRIGHT),
        'disabled': dict(rim=grey(128), inside=grey(224), dot=grey(128)),
        'down': dict(rim=DEEP, inside=PALE, dot=DEEP),
        'inactive': dict(rim=NAVY, inside=WHITE, dot=NAVY),
    }
    arrow = {
        'active': dict(rim=NAVY, fill=BRIGHT),
        'disabled': dict(rim=grey(128), fill=grey(192)),
        'down': dict(rim=BLACK, fill=DEEP),
        'inactive': dict(rim=DEEP, fill=NAVY),
    }
    bulb = {
        'active': dict(rim=(160, 100, 0), glass=(255, 214, 0), shine=WHITE,
                       metal=(112, 112, 112), thread=(176, 176, 176)),
        'disabled': dict(rim=grey(128), glass=grey(208), shine=grey(240),
                         metal=grey(144), thread=grey(164)),
        'down': dict(rim=(96, 60, 0), glass=(230, 150, 0), shine=(255, 236, 140),
                     metal=(80, 80, 80), thread=(144, 144, 144)),
        'inactive': dict(rim=(128, 96, 0), glass=(255, 236, 140), shine=WHITE,
                         metal=(112, 112, 112), thread=(176, 176, 176)),
    }
    return [
        (1, 10, 10, paint_bullet, bullet),
        (5, 15, 15, paint_radio, radio),
        (9, 17, 9, paint_up, arrow),
        (13, 17, 9, paint_down, arrow),
        (17, 16, 16, paint_radio, radio),
        (21, 15, 15, paint_bulb, bulb),
    ]


def inside_circle(x, y, cx, cy, r):
    """The pixel (x, y), sampled at its centre, lies within the circle."""
    return math.hypot(x + 0.5 - cx, y + 0.5 - cy) <= r


def paint_bullet(w, h, c):
    cx, cy, r = w / 2, h / 2, w / 2 - 0.6
    def pixel(x, y):
        if not inside_circle(x, y, cx, cy, r):
            return BACKGROUND
        if not inside_circle(x, y, cx, cy, r - 1.2):
            return c['rim']
        if (x, y) in ((3, 3), (4, 3), (3, 4)):
            return c['glint']
        return c['fill']
    return pixel


def paint_radio(w, h, c):
    cx, cy, r = w / 2, h / 2, w / 2 - 0.9
    def pixel(x, y):
        if not inside_circle(x, y, cx, cy, r):
            return BACKGROUND
        if not inside_circle(x, y, cx, cy, r - 1.3):
            return c['rim']
        if inside_circle(x, y, cx, cy, w / 6):
            return c['dot']
        return c['inside']
    return pixel


def paint_triangle(w, h, c, upward):
    # Apex at the centre column, base two columns in from each side; one
    # row of background above and below keeps the bottom-left pixel free.
    top, bottom = 1, h - 2
    mid = w // 2
    def pixel(x, y):
        row = y - top if upward else bottom - y
        if y < top or y > bottom:
            return BACKGROUND
        half = row * (mid - 2) // (bottom - top)
        if abs(x - mid) > half:
            return BACKGROUND
        edge = abs(x - mid) == half or row == bottom - top
        return c['rim'] if edge else c['fill']
    return pixel


def paint_up(w, h, c):
    return paint_triangle(w, h, c, True)


def paint_down(w, h, c):
    return paint_triangle(w, h, c, False)


def paint_bulb(w, h, c):
    cx, cy, r = w / 2, 5.5, 5.2
    def pixel(x, y):
        if y <= 10 and inside_circle(x, y, cx, cy, r):
            if not inside_circle(x, y, cx, cy, r - 1.1):
                return c['rim']
            if (x, y) in ((5, 3), (5, 4), (6, 3)):
                return c['shine']
            return c['glass']
        if 11 <= y <= 13 and 5 <= x <= 9:
            return c['metal'] if y % 2 == 1 else c['thread']
        return BACKGROUND
    return pixel


def pictures():
    """Yields (resource number, width, height, rows of colours from the top)."""
    for first, w, h, painter, schemes in sets():
        for offset, role in enumerate(('active', 'disabled', 'down', 'inactive')):
            pixel = painter(w, h, schemes[role])
            yield first + offset, w, h, [[pixel(x, y) for x in range(w)] for y in range(h)]


def lookup_point(colour):
    """GDI finds the palette entry for a colour from the centre of its cell
    of 5 bits per channel, not from the colour itself."""
    return tuple((v & ~7) + 4 for v in colour)


def distance2(a, b):
    return sum((x - y) ** 2 for x, y in zip(a, b))


def make_palette(used):
    """256 entries: black first and white last, as in the system palette, so
    that masks made of black and white combine with the pixel values of a
    picture by plain bit operations; the colours used in between; the rest
    filler that no used colour is mapped to. Every used colour, black and
    white included, must come back as its own entry when GDI maps it into
    the palette, or drawing and restoring a glyph would change it."""
    wanted = [BLACK] + [c for c in used if c not in (BLACK, WHITE)] + [WHITE]

    def claims(candidate):
        return any(distance2(candidate, lookup_point(c)) <= distance2(c, lookup_point(c))
                   for c in wanted)

    levels = (0, 51, 102, 153, 204, 255)
    filler = [(r, g, b) for r in levels for g in levels for b in levels]
    filler = [f for f in filler if f not in wanted and not claims(f)]
    middle = (wanted[1:-1] + filler)[:254]
    while len(middle) < 254:
        middle.append(filler[-1])  # repeats are never the nearest entry of a used colour
    palette = [BLACK] + middle + [WHITE]

    for c in wanted:
        q = lookup_point(c)
        nearest = min(range(len(palette)), key=lambda i: distance2(palette[i], q))
        rivals = [p for p in palette if p != c and distance2(p, q) <= distance2(c, q)]
        if palette[nearest] != c or rivals:
            raise SystemExit('colour %s does not map back to itself (rivals %s)' % (c, rivals))
    return palette


def bmp(w, h, rows, palette):
    index = {colour: i for i, colour in enumerate(palette)}
    stride = (w + 3) // 4 * 4
    data = b''
    for row in reversed(rows):  # BMP rows run from the bottom up
        data += bytes(index[colour] for colour in row).ljust(stride, b'\0')
    table = b''.join(bytes((b, g, r, 0)) for r, g, b in palette)
    offset = 14 + 40 + len(table)
    info = struct.pack('<IiiHHIIiiII', 40, w, h, 1, 8, 0, len(data), 2835, 2835, 256, 0)
    head = struct.pack('<2sIHHI', b'BM', offset + len(data), 0, 0, offset)
    return head + info + table + data


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    drawn = list(pictures())
    used = []
    for _, _, _, rows in drawn:
        for row in rows:
            for colour in row:
                if colour not in used:
                    used.append(colour)
    palette = make_palette(used)
    for number, w, h, rows in drawn:
        with open(os.path.join(out, 'OFFICE_%d.bmp' % number), 'wb') as f:
            f.write(bmp(w, h, rows, palette))


if __name__ == '__main__':
    main()
