#!/usr/bin/env python3
"""Writes the icon shown for blocked shortcuts: a red stop sign with a
white bar, in the nine formats the shell picks from.

usage: make_icon.py OUTPUT.ico
"""
import struct
import sys

# (size, bits per pixel), in the order the icon group lists them.
FORMATS = [(48, 4), (48, 8), (48, 32), (32, 4), (32, 8), (32, 24),
           (16, 4), (16, 8), (16, 24)]

TRANSPARENT, DARK_RED, RED, WHITE = 0, 1, 2, 3
PALETTE = [(0, 0, 0), (0x80, 0, 0), (0xE0, 0x10, 0x10), (0xFF, 0xFF, 0xFF)]


def pixel(x, y, size):
    """Colour index of pixel (x, y), y counted from the top."""
    c = (size - 1) / 2.0
    dx, dy = abs(x - c), abs(y - c)
    radius = size / 2.0
    corner = radius * 1.4142  # octagon: |dx| + |dy| bounded by the corners
    if dx >= radius or dy >= radius or dx + dy >= corner:
        return TRANSPARENT
    edge = max(1.0, size / 16.0)
    if dx >= radius - edge or dy >= radius - edge or dx + dy >= corner - edge * 1.4142:
        return DARK_RED
    if dy < size / 10.0 and dx < radius * 0.6:
        return WHITE
    return RED


def row_bytes(bits):
    return (bits + 31) // 32 * 4


def image(size, bpp):
    colours = 1 << bpp if bpp <= 8 else 0
    xor_stride, and_stride = row_bytes(size * bpp), row_bytes(size)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, bpp, 0,
                         (xor_stride + and_stride) * size, 0, 0, colours, 0)
    palette = b''
    for i in range(colours):
        r, g, b = PALETTE[i] if i < len(PALETTE) else (0, 0, 0)
        palette += bytes((b, g, r, 0))
    xor, mask = b'', b''
    for y in reversed(range(size)):  # bottom-up rows
        indices = [pixel(x, y, size) for x in range(size)]
        if bpp == 4:
            row = bytes((indices[x] << 4) | indices[x + 1] for x in range(0, size, 2))
        elif bpp == 8:
            row = bytes(indices)
        else:
            row = b''
            for i in indices:
                r, g, b = PALETTE[i]
                row += bytes((b, g, r)) + (bytes((0 if i == TRANSPARENT else 255,)) if bpp == 32 else b'')
        xor += row.ljust(xor_stride, b'\0')
        bits = 0
        for x, i in enumerate(indices):
            if i == TRANSPARENT:
                bits |= 1 << (size - 1 - x)
        mask += bits.to_bytes(size // 8, 'big').ljust(and_stride, b'\0')
    return header + palette + xor + mask


def main():
    images = [image(size, bpp) for size, bpp in FORMATS]
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for (size, bpp), data in zip(FORMATS, images):
        out += struct.pack('<BBBBHHII', size, size, 16 if bpp == 4 else 0, 0, 1, bpp,
                           len(data), offset)
        offset += len(data)
    out += b''.join(images)
    with open(sys.argv[1], 'wb') as f:
        f.write(out)


if __name__ == '__main__':
    main()
