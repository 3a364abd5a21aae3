"""Writes pictures in the two file formats the resource compiler takes:
24-bit BMP and icons with 32-bit images."""
import struct


def _stride(row_bits):
    return (row_bits + 31) // 32 * 4


def bmp24(rows):
    """A 24-bit BMP of rows of (r, g, b), the top row first."""
    h, w = len(rows), len(rows[0])
    stride = _stride(w * 24)
    data = b''.join(b''.join(bytes((b, g, r)) for r, g, b in row).ljust(stride, b'\0')
                    for row in reversed(rows))  # BMP rows run from the bottom up
    offset = 14 + 40
    info = struct.pack('<IiiHHIIiiII', 40, w, h, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    head = struct.pack('<2sIHHI', b'BM', offset + len(data), 0, 0, offset)
    return head + info + data


def _icon_image(rows):
    """One icon image: the colour bitmap (twice the height, as icons count
    the mask in) with alpha, then the one-bit mask, set where nothing shows
    (for systems that ignore the alpha)."""
    size = len(rows)
    mask_stride = _stride(size)
    colour = b''
    mask = b''
    for row in reversed(rows):
        colour += b''.join(bytes((b, g, r, a)) for r, g, b, a in row)
        bits = 0
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                bits |= 1 << (size - 1 - x)
        mask += bits.to_bytes((size + 7) // 8, 'big').ljust(mask_stride, b'\0')
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0,
                         len(colour) + len(mask), 0, 0, 0, 0)
    return header + colour + mask


def ico(images):
    """An icon file of square images, each rows of (r, g, b, a)."""
    data = [_icon_image(rows) for rows in images]
    out = struct.pack('<HHH', 0, 1, len(data))
    offset = 6 + 16 * len(data)
    for rows, image in zip(images, data):
        size = len(rows)
        out += struct.pack('<BBBBHHII', size % 256, size % 256, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    return out + b''.join(data)
