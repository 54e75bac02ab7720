#!/usr/bin/env python3
"""Draws every picture Kelvane ships: the application icon, the banner, the five
category icons and the three tool-bar glyphs.

    python3 resources/draw_resources.py              # rewrite the files next to this script
    python3 resources/draw_resources.py --preview DIR  # also write 4x PNG previews into DIR

Only the Python standard library is used, plus ImageMagick's `convert` to rasterise
text. The output is deterministic: the same fonts and ImageMagick give the same bytes.

Fonts (Debian packages):
    fonts-wqy-zenhei   WenQuanYi Zen Hei, the Chinese letters
    fonts-liberation   Liberation Sans / Serif, the Latin letters (Wine depends on it)

Formats:
    *.ico       16, 20, 24 and 32 pixels (the application icon also 48), each drawn afresh
                at its size from the same design, so every display scale gets a sharp
                picture. 8 bits per pixel, a palette of the colours used, 1-bit AND mask.
                Windows 95 onwards, XP's image lists with or without a manifest, and Wine
                all draw these alike. Edges are hard (the mask has no partial
                transparency); the shapes carry a dark rim so they read on any background,
                and the small pictures blend their rim into the colour of the surface they
                are made for.
    Banner.bmp    469 x 50, and Banner2x.bmp, 938 x 100: 8 bits per pixel, BI_RLE8,
                bottom-up. 256 colours keep the picture faithful, and the runs keep the
                program small.
    hicolor/NxN/apps/kelvane.png
                the application icon for Linux desktops' menus (make install), laid out as
                the hicolor icon theme is: 16 to 256 pixels, 8-bit RGBA with soft edges,
                the 16-pixel design up to 22 pixels and the 32-pixel design above.
"""

import os
import sys

from drawing import design
from drawing.banner import BANNER_W, BANNER_H, BAND_BLUE, draw_banner
from drawing.formats import decode_bmp8_rle, decode_icon, encode_bmp8_rle, encode_icon, encode_png, rgba_rows
from drawing.icons import TILE_ICONS, TOOL_ICONS, draw_app_icon_16, draw_app_icon_32
from drawing.raster import SERIF, harden, mix, text_mask, to_byte

HERE = os.path.dirname(os.path.abspath(__file__))

# Surfaces the pictures sit on in the main window.
TILE_BLUE = design.colour('TileFill')   # category tile fill
BUTTON_FACE = (212, 208, 200)           # a middle button-face grey (classic 192, XP 236/233/216)

def icon_drawing(drawings, name, table):
    if name not in drawings:
        sys.exit('draw_resources: no drawing for the icon %s (add it to %s in drawing/icons.py)' % (name, table))
    return drawings[name]


# ---------------------------------------------------------------------------------------
# What gets written

# Every icon in the sizes the windows ask for at 100, 125, 150 and 200 % (Windows picks the
# size it needs from the file); the application icon also at 48, its large size at 150 %.
ICON_SIZES = (16, 20, 24, 32)

ICONS = [
    # file, [(size, drawing)], surface the edges are blended into, coverage kept
    ('Kelvane.ico', [(32, draw_app_icon_32), (16, draw_app_icon_16), (20, draw_app_icon_16),
                     (24, draw_app_icon_32), (48, draw_app_icon_32)], None, 0.5),
] + [
    (name + '.ico', icon_drawing(TILE_ICONS, name, 'TILE_ICONS'), TILE_BLUE, 0.3) for name in design.tile_icons()
] + [
    (name + '.ico', icon_drawing(TOOL_ICONS, name, 'TOOL_ICONS'), BUTTON_FACE, 0.3) for name in design.tool_icons()
]

# The banner at 1x and 2x; the program scales the nearest larger one down for 125 and 150 %.
BANNERS = [('Banner.bmp', 1), ('Banner2x.bmp', 2)]

# The application icon for the desktop's menu, at the hicolor theme's usual sizes.
DESKTOP_ICON_SIZES = (16, 22, 24, 32, 48, 64, 128, 256)


def desktop_icon_name(px):
    return os.path.join('hicolor', '%dx%d' % (px, px), 'apps', 'kelvane.png')


def build():
    """{file name: bytes} for every picture."""
    files = {}
    for name, drawings, matte, keep in ICONS:
        if callable(drawings):
            drawings = [(px, drawings) for px in ICON_SIZES]
        files[name] = encode_icon([(px, harden(draw(px).pixels(), matte, keep))
                                   for px, draw in drawings])
    for name, s in BANNERS:
        rows, _, _ = draw_banner(s)
        files[name] = encode_bmp8_rle(BANNER_W * s, BANNER_H * s, rows, keep=[BAND_BLUE])
    for px in DESKTOP_ICON_SIZES:
        draw = draw_app_icon_16 if px < 24 else draw_app_icon_32
        files[desktop_icon_name(px)] = encode_png(px, px, rgba_rows(px, draw(px).pixels()))
    return files


def write_previews(files, folder):
    os.makedirs(folder, exist_ok=True)
    zoom = 4

    def sheet(cells, path):
        """cells: rows of (size, pixels, background); drawn at zoom and at 1x."""
        pad = 8
        width = max(sum(s * zoom + s + 3 * pad for s, _, _ in row) for row in cells) + pad
        height = sum(max(s for s, _, _ in row) * zoom + pad for row in cells) + pad
        canvas = [[(255, 255, 255)] * width for _ in range(height)]
        top = pad
        for row in cells:
            left = pad
            for size, pixels, bg in row:
                for big, z in ((True, zoom), (False, 1)):
                    for y in range(size * z + 2 * (z > 1)):
                        for x in range(size * z + 2 * (z > 1)):
                            canvas[top + y][left + x] = (0, 0, 0)
                    o = 1 if z > 1 else 0
                    for y in range(size * z):
                        for x in range(size * z):
                            p = pixels[(y // z) * size + x // z]
                            canvas[top + o + y][left + o + x] = bg if p is None else p
                    left += size * z + 2 * o + pad
                left += pad
            top += max(s for s, _, _ in row) * zoom + pad
        with open(path, 'wb') as f:
            f.write(encode_png(width, height, canvas))

    surfaces_app = [(255, 255, 255), (0, 84, 227), (192, 192, 192), (40, 40, 40)]
    cells = []
    for size, pixels in decode_icon(files['Kelvane.ico']):
        cells.append([(size, pixels, bg) for bg in surfaces_app])
    sheet(cells, os.path.join(folder, 'app-icon.png'))
    cells = []
    tiles = len(design.tile_icons())
    for name, _, _, _ in ICONS[1:1 + tiles]:
        cells.append([(size, pixels, bg) for size, pixels in decode_icon(files[name])
                      for bg in (TILE_BLUE, (255, 255, 255))])
    sheet(cells, os.path.join(folder, 'category-icons.png'))
    cells = []
    for name, _, _, _ in ICONS[1 + tiles:]:
        cells.append([(size, pixels, bg) for size, pixels in decode_icon(files[name])
                      for bg in ((192, 192, 192), BUTTON_FACE)])
    sheet(cells, os.path.join(folder, 'tool-glyphs.png'))

    # the banner as the window shows it, with the version label the program draws over it
    rows = decode_bmp8_rle(files['Banner.bmp'])
    label = text_mask(design.version_label(), SERIF, 21, BANNER_W, BANNER_H, 293, 36)
    shown = [[tuple(to_byte(c) for c in mix(rows[y][x], design.colour('VersionColour'), label.get(x, y)))
              for x in range(BANNER_W - 1)] for y in range(BANNER_H - 1)]
    with open(os.path.join(folder, 'banner-1x.png'), 'wb') as f:
        f.write(encode_png(BANNER_W - 1, BANNER_H - 1, shown))
    for part, (a, b) in (('left', (0, 235)), ('right', (234, BANNER_W - 1))):
        big = [[p for p in row[a:b] for _ in range(zoom)] for row in shown for _ in range(zoom)]
        with open(os.path.join(folder, 'banner-4x-%s.png' % part), 'wb') as f:
            f.write(encode_png(len(big[0]), len(big), big))


def main(argv):
    preview = None
    if len(argv) == 3 and argv[1] == '--preview':
        preview = argv[2]
    elif len(argv) != 1:
        sys.exit(__doc__)
    files = build()
    for name in sorted(files):
        os.makedirs(os.path.dirname(os.path.join(HERE, name)), exist_ok=True)
        with open(os.path.join(HERE, name), 'wb') as f:
            f.write(files[name])
        print('%-28s %6d bytes' % (name, len(files[name])))
    if preview:
        write_previews(files, preview)
        print('previews in', preview)


if __name__ == '__main__':
    main(sys.argv)
