#!/usr/bin/env python3
"""Draws the program's pictures into OUTPUT_DIR:

  LOGO.bmp             the main window's logo, 237 x 189, 24-bit, on white
  CHECK_ACTIVE.bmp,    the main window's button glyphs, 32 x 32, 24-bit;
  CHECK_INACTIVE.bmp,  the bottom-left pixel is the colour the flat button
  UPDATE_INACTIVE.bmp, leaves transparent
  EXIT_ACTIVE.bmp,
  EXIT_INACTIVE.bmp
  QuorvexRemover.ico   the application icon, 16, 32 and 48 pixels, 32-bit

usage: make_artwork.py OUTPUT_DIR
"""
import os
import sys

sys.dont_write_bytecode = True  # runs from the source tree: leave no caches there
import image_files  # noqa: E402
import pictures  # noqa: E402

ICON_SIZES = (48, 32, 16)


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    files = {'LOGO.bmp': image_files.bmp24(pictures.logo())}
    for name, rows in pictures.glyphs().items():
        files[name + '.bmp'] = image_files.bmp24(rows)
    files['QuorvexRemover.ico'] = image_files.ico([pictures.icon(size) for size in ICON_SIZES])
    for name, data in files.items():
        with open(os.path.join(out, name), 'wb') as f:
            f.write(data)


if __name__ == '__main__':
    main()
