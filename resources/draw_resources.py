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

import math
import os
import struct
import subprocess
import sys
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))

ZEN_HEI = '/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc'
SANS_BOLD = '/usr/share/fonts/truetype/liberation/LiberationSans-Bold.ttf'
SANS_BOLD_ITALIC = '/usr/share/fonts/truetype/liberation/LiberationSans-BoldItalic.ttf'
SERIF = '/usr/share/fonts/truetype/liberation/LiberationSerif-Regular.ttf'  # previews only
FONT_PACKAGES = {ZEN_HEI: 'fonts-wqy-zenhei', SANS_BOLD: 'fonts-liberation',
                 SANS_BOLD_ITALIC: 'fonts-liberation', SERIF: 'fonts-liberation'}

# Surfaces the pictures sit on in the main window.
TILE_BLUE = (134, 216, 247)      # category tile fill
BUTTON_FACE = (212, 208, 200)    # a middle button-face grey (classic 192, XP 236/233/216)


# ---------------------------------------------------------------------------------------
# Small helpers

def clamp(v, lo=0.0, hi=1.0):
    return lo if v < lo else hi if v > hi else v


def lerp(a, b, t):
    return a + (b - a) * t


def mix(c0, c1, t):
    return tuple(lerp(a, b, t) for a, b in zip(c0, c1))


def smoothstep(t):
    t = clamp(t)
    return t * t * (3.0 - 2.0 * t)


def to_byte(v):
    return int(clamp(round(v), 0, 255))


# ---------------------------------------------------------------------------------------
# Text, rasterised by ImageMagick into an 8-bit coverage mask

def require_font(path):
    if not os.path.exists(path):
        sys.exit('draw_resources: font %s missing (Debian package %s)'
                 % (path, FONT_PACKAGES.get(path, '?')))


def text_mask(text, font, size, width, height, x, baseline, stroke=0.0):
    """Coverage 0..1 of `text` drawn at pixel size `size` with its origin at (x, baseline)."""
    require_font(font)
    cmd = ['convert', '-size', '%dx%d' % (width, height), 'xc:black',
           '-font', font, '-pointsize', '%.3f' % size, '-fill', 'white']
    if stroke:
        cmd += ['-stroke', 'white', '-strokewidth', '%.3f' % stroke]
    cmd += ['-annotate', '+%d+%d' % (x, baseline), text, '-depth', '8', 'gray:-']
    raw = subprocess.run(cmd, check=True, capture_output=True).stdout
    if len(raw) != width * height:
        sys.exit('draw_resources: convert returned %d bytes, expected %d' % (len(raw), width * height))
    return Mask(width, height, [b / 255.0 for b in raw])


class Mask:
    """A grey-level coverage map, 0..1, row-major."""

    def __init__(self, width, height, values=None):
        self.w, self.h = width, height
        self.v = values if values is not None else [0.0] * (width * height)

    def get(self, x, y):
        if 0 <= x < self.w and 0 <= y < self.h:
            return self.v[y * self.w + x]
        return 0.0

    def ink_box(self, threshold=0.02):
        """(left, top, right, bottom) of the pixels above threshold, inclusive."""
        xs, ys = [], []
        for y in range(self.h):
            row = self.v[y * self.w:(y + 1) * self.w]
            for x, c in enumerate(row):
                if c > threshold:
                    xs.append(x)
                    ys.append(y)
        if not xs:
            return None
        return min(xs), min(ys), max(xs), max(ys)

    def shear(self, slope, origin_y):
        """Leans the mask to the right by `slope` pixels per pixel above origin_y."""
        out = Mask(self.w, self.h)
        for y in range(self.h):
            shift = (origin_y - (y + 0.5)) * slope
            whole = math.floor(shift)
            frac = shift - whole
            for x in range(self.w):
                a = self.get(x - whole, y)
                b = self.get(x - whole - 1, y)
                out.v[y * self.w + x] = a * (1.0 - frac) + b * frac
        return out

    def paste(self, src, dx, dy):
        """Adds src, moved by (dx, dy), saturating at 1."""
        for y in range(src.h):
            ty = y + dy
            if not 0 <= ty < self.h:
                continue
            for x in range(src.w):
                tx = x + dx
                c = src.v[y * src.w + x]
                if c and 0 <= tx < self.w:
                    i = ty * self.w + tx
                    self.v[i] = min(1.0, self.v[i] + c)

    def downsample(self, factor):
        w, h = self.w // factor, self.h // factor
        out = Mask(w, h)
        n = float(factor * factor)
        for y in range(h):
            for x in range(w):
                s = 0.0
                for sy in range(factor):
                    base = (y * factor + sy) * self.w + x * factor
                    s += sum(self.v[base:base + factor])
                out.v[y * w + x] = s / n
        return out

    def blurred(self, radius):
        """Separable Gaussian blur."""
        sigma = radius / 2.0
        reach = int(math.ceil(radius * 1.5))
        kernel = [math.exp(-(i * i) / (2 * sigma * sigma)) for i in range(-reach, reach + 1)]
        total = sum(kernel)
        kernel = [k / total for k in kernel]
        tmp = Mask(self.w, self.h)
        for y in range(self.h):
            for x in range(self.w):
                s = 0.0
                for k, wgt in enumerate(kernel):
                    s += self.get(x + k - reach, y) * wgt
                tmp.v[y * self.w + x] = s
        out = Mask(self.w, self.h)
        for y in range(self.h):
            for x in range(self.w):
                s = 0.0
                for k, wgt in enumerate(kernel):
                    s += tmp.get(x, y + k - reach) * wgt
                out.v[y * self.w + x] = s
        return out


# ---------------------------------------------------------------------------------------
# Vector shapes as signed distance functions (negative inside), in pixel units

class Shape:
    def __init__(self, dist, box):
        self.dist = dist
        self.box = box  # (x0, y0, x1, y1) outside which dist > 0

    def __or__(self, other):
        a, b = self.dist, other.dist
        return Shape(lambda x, y: min(a(x, y), b(x, y)),
                     (min(self.box[0], other.box[0]), min(self.box[1], other.box[1]),
                      max(self.box[2], other.box[2]), max(self.box[3], other.box[3])))

    def __and__(self, other):
        a, b = self.dist, other.dist
        return Shape(lambda x, y: max(a(x, y), b(x, y)),
                     (max(self.box[0], other.box[0]), max(self.box[1], other.box[1]),
                      min(self.box[2], other.box[2]), min(self.box[3], other.box[3])))

    def __sub__(self, other):
        a, b = self.dist, other.dist
        return Shape(lambda x, y: max(a(x, y), -b(x, y)), self.box)

    def grow(self, d):
        a = self.dist
        x0, y0, x1, y1 = self.box
        return Shape(lambda x, y: a(x, y) - d, (x0 - d, y0 - d, x1 + d, y1 + d))

    def shrink(self, d):
        return self.grow(-d)

    def rim(self, width):
        """The band of the given width just inside the outline."""
        return self - self.shrink(width)


def circle(cx, cy, r):
    return Shape(lambda x, y: math.hypot(x - cx, y - cy) - r, (cx - r, cy - r, cx + r, cy + r))


def ellipse(cx, cy, rx, ry):
    m = min(rx, ry)
    return Shape(lambda x, y: (math.hypot((x - cx) / rx, (y - cy) / ry) - 1.0) * m,
                 (cx - rx, cy - ry, cx + rx, cy + ry))


def rect(x0, y0, x1, y1, r=0.0):
    cx, cy = (x0 + x1) / 2.0, (y0 + y1) / 2.0
    hx, hy = (x1 - x0) / 2.0 - r, (y1 - y0) / 2.0 - r

    def dist(x, y):
        qx, qy = abs(x - cx) - hx, abs(y - cy) - hy
        return math.hypot(max(qx, 0.0), max(qy, 0.0)) + min(max(qx, qy), 0.0) - r
    return Shape(dist, (x0, y0, x1, y1))


def _segment_distance(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    ll = dx * dx + dy * dy
    t = 0.0 if ll == 0 else clamp(((px - ax) * dx + (py - ay) * dy) / ll)
    return math.hypot(px - ax - dx * t, py - ay - dy * t)


def capsule(ax, ay, bx, by, width):
    r = width / 2.0
    return Shape(lambda x, y: _segment_distance(x, y, ax, ay, bx, by) - r,
                 (min(ax, bx) - r, min(ay, by) - r, max(ax, bx) + r, max(ay, by) + r))


def polygon(points):
    pts = list(points)
    n = len(pts)

    def dist(x, y):
        d = min(_segment_distance(x, y, *pts[i], *pts[(i + 1) % n]) for i in range(n))
        inside = False
        j = n - 1
        for i in range(n):
            xi, yi = pts[i]
            xj, yj = pts[j]
            if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                inside = not inside
            j = i
        return -d if inside else d
    xs = [p[0] for p in pts]
    ys = [p[1] for p in pts]
    return Shape(dist, (min(xs), min(ys), max(xs), max(ys)))


def rotated_points(points, angle_deg, cx, cy):
    a = math.radians(angle_deg)
    ca, sa = math.cos(a), math.sin(a)
    return [(cx + (x - cx) * ca - (y - cy) * sa, cy + (x - cx) * sa + (y - cy) * ca)
            for x, y in points]


def gear(cx, cy, r_outer, r_root, teeth, tooth_top, tooth_base, phase=0.0):
    """A spur gear: a disc of radius r_root with trapezoid teeth reaching r_outer."""
    shape = circle(cx, cy, r_root)
    for k in range(teeth):
        ang = phase + 360.0 * k / teeth
        tooth = [(cx - tooth_base / 2, cy - r_root + 0.6), (cx - tooth_top / 2, cy - r_outer),
                 (cx + tooth_top / 2, cy - r_outer), (cx + tooth_base / 2, cy - r_root + 0.6)]
        shape = shape | polygon(rotated_points(tooth, ang, cx, cy))
    return shape


# Paints: a colour (r, g, b) or (r, g, b, alpha 0..1), or a function of (x, y) giving one.

def linear(x0, y0, c0, x1, y1, c1):
    dx, dy = x1 - x0, y1 - y0
    ll = dx * dx + dy * dy

    def paint(x, y):
        return mix(c0, c1, clamp(((x - x0) * dx + (y - y0) * dy) / ll))
    return paint


def radial(cx, cy, r, c0, c1):
    def paint(x, y):
        return mix(c0, c1, clamp(math.hypot(x - cx, y - cy) / r))
    return paint


class Canvas:
    """A square RGBA picture of `px` pixels (default `size`), drawn in design units of a
    `size`-pixel square with `ss` x `ss` samples per pixel. A drawing made for 16 pixels
    comes out at 20, 24 or 32 with the same composition, sharp at each size."""

    def __init__(self, size, px=None, ss=None):
        px = px or size
        ss = ss or max(4, 128 // px)
        self.size, self.ss = px, ss
        self.unit = px / float(size)     # pixels per design unit
        n = px * ss
        self.n = n
        self.r = [0.0] * (n * n)
        self.g = [0.0] * (n * n)
        self.b = [0.0] * (n * n)
        self.a = [0.0] * (n * n)

    def fill(self, shape, paint, opacity=1.0):
        n = self.n
        ss = self.ss * self.unit          # samples per design unit
        x0, y0, x1, y1 = shape.box
        i0 = max(0, int(math.floor(x0 * ss)) - 1)
        i1 = min(n, int(math.ceil(x1 * ss)) + 1)
        j0 = max(0, int(math.floor(y0 * ss)) - 1)
        j1 = min(n, int(math.ceil(y1 * ss)) + 1)
        dist = shape.dist
        fixed = None if callable(paint) else paint
        for j in range(j0, j1):
            y = (j + 0.5) / ss
            for i in range(i0, i1):
                x = (i + 0.5) / ss
                if dist(x, y) >= 0:
                    continue
                c = fixed if fixed is not None else paint(x, y)
                a = (c[3] if len(c) > 3 else 1.0) * opacity
                k = j * n + i
                keep = 1.0 - a
                self.r[k] = c[0] * a + self.r[k] * keep
                self.g[k] = c[1] * a + self.g[k] * keep
                self.b[k] = c[2] * a + self.b[k] * keep
                self.a[k] = a + self.a[k] * keep

    def pixels(self):
        """Per pixel (r, g, b, alpha): colour un-premultiplied 0..255, alpha 0..1."""
        ss, n, size = self.ss, self.n, self.size
        out = []
        for y in range(size):
            for x in range(size):
                sr = sg = sb = sa = 0.0
                for j in range(y * ss, (y + 1) * ss):
                    base = j * n + x * ss
                    sr += sum(self.r[base:base + ss])
                    sg += sum(self.g[base:base + ss])
                    sb += sum(self.b[base:base + ss])
                    sa += sum(self.a[base:base + ss])
                cnt = float(ss * ss)
                a = sa / cnt
                if a <= 0:
                    out.append((0.0, 0.0, 0.0, 0.0))
                else:
                    out.append((sr / sa, sg / sa, sb / sa, a))
        return out


def harden(pixels, matte=None, threshold=0.5):
    """Turns soft-edged pixels into opaque colours or None (transparent).

    Without a matte a pixel is kept at its own colour when at least half covered. With a
    matte (the surface the icon is made for) edge pixels from `threshold` up are blended
    into that surface, which gives smooth outlines there without partial transparency."""
    out = []
    for r, g, b, a in pixels:
        if a < threshold:
            out.append(None)
        elif matte is None:
            out.append((to_byte(r), to_byte(g), to_byte(b)))
        else:
            out.append(tuple(to_byte(c * a + m * (1.0 - a)) for c, m in zip((r, g, b), matte)))
    return out


# ---------------------------------------------------------------------------------------
# File formats

def quantise(colours, limit):
    """At most `limit` colours for the given list (median cut, deterministic)."""
    counts = {}
    for c in colours:
        counts[c] = counts.get(c, 0) + 1
    if len(counts) <= limit:
        return sorted(counts)
    boxes = [sorted(counts.items())]
    while len(boxes) < limit:
        # split the box with the widest channel range (ties: most pixels, then first)
        best, best_key = None, None
        for idx, box in enumerate(boxes):
            if len(box) < 2:
                continue
            spans = [max(c[0][ch] for c in box) - min(c[0][ch] for c in box) for ch in range(3)]
            weight = sum(n for _, n in box)
            key = (max(spans), weight, -idx)
            if best_key is None or key > best_key:
                best, best_key = idx, key
        if best is None:
            break
        box = boxes.pop(best)
        spans = [max(c[0][ch] for c in box) - min(c[0][ch] for c in box) for ch in range(3)]
        ch = spans.index(max(spans))
        box.sort(key=lambda item: (item[0][ch], item[0]))
        total = sum(n for _, n in box)
        acc, cut = 0, 1
        for k, (_, n) in enumerate(box):
            acc += n
            if acc * 2 >= total:
                cut = min(max(k + 1, 1), len(box) - 1)
                break
        boxes.insert(best, box[cut:])
        boxes.insert(best, box[:cut])
    palette = []
    for box in boxes:
        total = sum(n for _, n in box)
        palette.append(tuple(int(round(sum(c[ch] * n for c, n in box) / total)) for ch in range(3)))
    return sorted(set(palette))


def encode_icon_image(size, pixels):
    """One 8-bpp icon image (BITMAPINFOHEADER, palette, XOR bits, AND mask). The palette
    holds only the colours used (biClrUsed), which keeps four sizes of an icon small."""
    opaque = [p for p in pixels if p is not None]
    palette = [(0, 0, 0)] + [c for c in quantise(opaque, 255) if c != (0, 0, 0)]
    palette = palette[:256]
    index = {}

    def nearest(c):
        if c not in index:
            index[c] = min(range(len(palette)),
                           key=lambda i: (sum((a - b) ** 2 for a, b in zip(c, palette[i])), i))
        return index[c]
    xor = bytearray()
    mask = bytearray()
    mask_stride = ((size + 31) // 32) * 4
    for y in range(size - 1, -1, -1):
        bits = 0
        row_mask = bytearray(mask_stride)
        for x in range(size):
            p = pixels[y * size + x]
            if p is None:
                xor.append(0)
                row_mask[x // 8] |= 0x80 >> (x % 8)
            else:
                xor.append(nearest(p))
        xor += bytes((-size) % 4)
        mask += row_mask
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 8, 0, len(xor) + len(mask),
                         0, 0, len(palette), 0)
    pal = b''.join(struct.pack('<BBBB', b, g, r, 0) for r, g, b in palette)
    return header + pal + bytes(xor) + bytes(mask)


def encode_icon(images):
    """An .ico file from [(size, pixels)], pixels a row-major list of (r, g, b) or None."""
    blobs = [(size, encode_icon_image(size, pixels)) for size, pixels in images]
    out = struct.pack('<HHH', 0, 1, len(blobs))
    offset = 6 + 16 * len(blobs)
    for size, blob in blobs:
        out += struct.pack('<BBBBHHII', size % 256, size % 256, 0, 0, 1, 8, len(blob), offset)
        offset += len(blob)
    return out + b''.join(blob for _, blob in blobs)


def decode_icon(data):
    """[(size, pixels)] back from an .ico written by encode_icon (for the previews)."""
    _, _, count = struct.unpack_from('<HHH', data, 0)
    images = []
    for k in range(count):
        w, _, _, _, _, bpp, length, offset = struct.unpack_from('<BBBBHHII', data, 6 + 16 * k)
        size = w or 256
        hdr = struct.unpack_from('<IiiHHIIiiII', data, offset)
        assert hdr[0] == 40 and hdr[1] == size and hdr[2] == 2 * size and hdr[4] == 8 == bpp
        pal_at = offset + 40
        colours = hdr[9] or 256
        palette = [struct.unpack_from('<BBBB', data, pal_at + 4 * i)[2::-1] for i in range(colours)]
        xor_at = pal_at + 4 * colours
        mask_at = xor_at + size * size
        stride = ((size + 31) // 32) * 4
        pixels = [None] * (size * size)
        for row in range(size):
            y = size - 1 - row
            for x in range(size):
                transparent = data[mask_at + row * stride + x // 8] & (0x80 >> (x % 8))
                if not transparent:
                    pixels[y * size + x] = palette[data[xor_at + row * size + x]]
        images.append((size, pixels))
    return images


def encode_bmp24(width, height, rows):
    """A 24-bit BI_RGB bottom-up .bmp from top-down rows of (r, g, b)."""
    stride = (width * 3 + 3) & ~3
    body = bytearray()
    for y in range(height - 1, -1, -1):
        line = bytearray()
        for r, g, b in rows[y]:
            line += bytes((b, g, r))
        line += bytes(stride - len(line))
        body += line
    info = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 24, 0, len(body), 3780, 3780, 0, 0)
    head = struct.pack('<2sIHHI', b'BM', 14 + len(info) + len(body), 0, 0, 14 + len(info))
    return head + info + bytes(body)


def encode_bmp8_rle(width, height, rows, keep=()):
    """An 8-bit BI_RLE8 bottom-up .bmp from top-down rows of (r, g, b): at most 256 colours,
    the colours in `keep` exactly among them, runs of one colour stored once."""
    palette = sorted(set(quantise([c for row in rows for c in row], 256 - len(keep))) | set(keep))
    nearest = {}

    def index(c):
        if c not in nearest:
            nearest[c] = min(range(len(palette)),
                             key=lambda i: (sum((a - b) ** 2 for a, b in zip(c, palette[i])), i))
        return nearest[c]
    body = bytearray()
    for y in range(height - 1, -1, -1):
        line = [index(c) for c in rows[y]]
        x = 0
        while x < width:
            run = 1
            while x + run < width and run < 255 and line[x + run] == line[x]:
                run += 1
            if run >= 3:
                body += bytes((run, line[x]))
                x += run
                continue
            # a stretch of short runs is stored as it is (absolute mode, at least 3 pixels)
            end = x
            while end < width and end - x < 255:
                if end + 2 < width and line[end] == line[end + 1] == line[end + 2]:
                    break
                end += 1
            if end - x < 3:
                for k in range(x, end):
                    body += bytes((1, line[k]))
            else:
                body += bytes((0, end - x)) + bytes(line[x:end]) + bytes((end - x) % 2)
            x = end
        body += bytes((0, 0))
    body[-2:] = bytes((0, 1))
    info = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 8, 1, len(body), 3780, 3780,
                       len(palette), 0)
    pal = b''.join(struct.pack('<BBBB', b, g, r, 0) for r, g, b in palette)
    head = struct.pack('<2sIHHI', b'BM', 14 + len(info) + len(pal) + len(body), 0, 0,
                       14 + len(info) + len(pal))
    return head + info + pal + bytes(body)


def decode_bmp8_rle(data):
    """Top-down rows of (r, g, b) back from a .bmp written by encode_bmp8_rle (previews)."""
    offset, = struct.unpack_from('<I', data, 10)
    _, width, height, _, _, _, _, _, _, colours, _ = struct.unpack_from('<IiiHHIIiiII', data, 14)
    palette = [struct.unpack_from('<BBBB', data, 54 + 4 * i)[2::-1] for i in range(colours)]
    rows, line, at = [], [], offset
    while True:
        count, value = data[at], data[at + 1]
        at += 2
        if count:
            line += [palette[value]] * count
        elif value > 2:
            line += [palette[i] for i in data[at:at + value]]
            at += value + value % 2
        else:
            rows.insert(0, line + [palette[0]] * (width - len(line)))
            line = []
            if value == 1:
                return rows + [[palette[0]] * width] * (height - len(rows))


def encode_png(width, height, rows):
    """A .png from top-down rows of (r, g, b) (RGB) or of (r, g, b, a) (RGBA), 8 bits each."""
    channels = len(rows[0][0])
    raw = bytearray()
    for row in rows:
        raw.append(0)
        for pixel in row:
            raw += bytes(pixel)

    def chunk(kind, data):
        return (struct.pack('>I', len(data)) + kind + data
                + struct.pack('>I', zlib.crc32(kind + data) & 0xFFFFFFFF))
    colour_type = {3: 2, 4: 6}[channels]
    return (b'\x89PNG\r\n\x1a\n'
            + chunk(b'IHDR', struct.pack('>IIBBBBB', width, height, 8, colour_type, 0, 0, 0))
            + chunk(b'IDAT', zlib.compress(bytes(raw), 9)) + chunk(b'IEND', b''))


def rgba_rows(size, pixels):
    """Top-down rows of 8-bit (r, g, b, a) from Canvas.pixels(); fully clear pixels are
    written as transparent black, so that nothing invisible varies."""
    rows = []
    for y in range(size):
        row = []
        for r, g, b, a in pixels[y * size:(y + 1) * size]:
            alpha = to_byte(a * 255.0)
            row.append((to_byte(r), to_byte(g), to_byte(b), alpha) if alpha else (0, 0, 0, 0))
        rows.append(row)
    return rows


# ---------------------------------------------------------------------------------------
# The banner

BANNER_W, BANNER_H = 469, 50
BAND_BLUE = (126, 178, 229)       # top edge of the band
BAND_LOW = (158, 199, 239)        # the band just before it fades out
WHITE = (255, 255, 255)
TITLE_BLUE = (51, 102, 153)
TAGLINE_RED = (204, 0, 0)
FADE_FROM = 40                    # first row of the fade to white
TEXT_BOTTOM = 35                  # last row of the letters, level with the "V2.6" label's digits
TITLE_LEFT, TITLE_RIGHT = 26, 269
TAGLINE_LEFT, TAGLINE_RIGHT = 361, 438
HI = 4                            # the title is drawn at 4x and reduced
ITALIC_SLOPE = math.tan(math.radians(12))


def band_colour(y):
    if y < FADE_FROM:
        return mix(BAND_BLUE, BAND_LOW, y / float(FADE_FROM - 1))
    t = (y - (FADE_FROM - 1)) / float(BANNER_H - FADE_FROM)
    return mix(BAND_LOW, WHITE, smoothstep(t))


def fit_runs(runs, left, right, bottom_row, scale, gap_em):
    """Sets runs of text side by side so that their ink spans columns left..right exactly.

    runs: [Run]. Columns and rows are those of the 1x banner; `scale` samples each of them.
    The sizes are scaled together until the ink is as wide as asked; the gaps between runs
    take up the last few sub-pixels. Chinese runs put their lowest ink on bottom_row, Latin
    runs their baseline just below it."""
    width, height = BANNER_W * scale, BANNER_H * scale
    baseline = (bottom_row + 1) * scale
    target = (right - left + 1) * scale
    em = 30.0

    def render(em):
        pieces = []
        for run in runs:
            size = em * run.rel * scale
            m = text_mask(run.text, run.font, size, width, height, 4 * scale, baseline,
                          run.stroke * size)
            if run.slant:
                m = m.shear(ITALIC_SLOPE, baseline)
            pieces.append((m, m.ink_box()))
        return pieces

    for _ in range(8):
        pieces = render(em)
        inked = sum(box[2] - box[0] + 1 for _, box in pieces)
        gaps = gap_em * em * scale * (len(runs) - 1)
        if abs(inked + gaps - target) <= scale // 2:
            break
        em *= target / float(inked + gaps)
    spare = target - inked
    out = Mask(width, height)
    x = left * scale
    for k, (m, box) in enumerate(pieces):
        dy = baseline - 1 - box[3] if runs[k].cjk else 0
        out.paste(m, x - box[0], dy)
        x += box[2] - box[0] + 1
        if k < len(pieces) - 1:
            share = spare // (len(pieces) - 1 - k)
            spare -= share
            x += share
    return out, em


class Run:
    def __init__(self, text, font, rel=1.0, stroke=0.0, slant=False, cjk=False):
        self.text, self.font, self.rel, self.stroke = text, font, rel, stroke
        self.slant, self.cjk = slant, cjk


def light_spot(x, y):
    """A soft brightening behind the tagline; nothing on the top rows."""
    d = math.hypot((x - 420) / 150.0, (y - 30) / 40.0)
    return 0.30 * (1.0 - smoothstep(d)) * smoothstep(y / 14.0)


def draw_banner(s=1):
    """The banner at `s` times its design size: the same composition, drawn afresh."""
    title_hi, title_em = fit_runs(
        [Run('系统优化', ZEN_HEI, 1.0, 0.045, slant=True, cjk=True),
         Run('Kelvane', SANS_BOLD_ITALIC, 1.1)],
        TITLE_LEFT, TITLE_RIGHT, TEXT_BOTTOM, HI * s, 0.18)
    title = title_hi.downsample(HI)
    tag_hi, tag_em = fit_runs(
        [Run('Tavrin', SANS_BOLD, 1.0), Run('软件', ZEN_HEI, 1.0, 0.04, cjk=True)],
        TAGLINE_LEFT, TAGLINE_RIGHT, TEXT_BOTTOM, HI * s, 0.12)
    tag = tag_hi.downsample(HI)
    width, height = BANNER_W * s, BANNER_H * s
    glow = Mask(width, height, [max(a, b) for a, b in zip(title.v, tag.v)]).blurred(4.0 * s)
    rows = []
    for y in range(height):
        row = []
        yy = max(0.0, (y + 0.5) / s - 0.5)  # the row in 1x units
        for x in range(width):
            c = band_colour(yy)
            i = y * width + x
            c = mix(c, WHITE, light_spot((x + 0.5) / s - 0.5, yy))
            c = mix(c, WHITE, clamp(glow.v[i] * 2.0) * 0.7)
            c = mix(c, TITLE_BLUE, title.v[i])
            c = mix(c, TAGLINE_RED, tag.v[i])
            row.append(tuple(to_byte(v) for v in c))
        rows.append(row)
    return rows, (title_em, tag_em), (title, tag)


# ---------------------------------------------------------------------------------------
# Icons

def centred_glyph(text, font, size, cx, cy, canvas_px, ss, stroke=0.0):
    """A letter as a shape with its ink centred on (cx, cy)."""
    res = int(math.ceil(canvas_px * ss))
    m = text_mask(text, font, size * ss, res, res, res // 4, res * 3 // 4, stroke * size * ss)
    box = m.ink_box(0.5)
    dx = int(round(cx * ss - (box[0] + box[2] + 1) / 2.0))
    dy = int(round(cy * ss - (box[1] + box[3] + 1) / 2.0))

    def dist(px, py):
        return -1.0 if m.get(int(math.floor(px * ss)) - dx, int(math.floor(py * ss)) - dy) >= 0.5 else 1.0
    return Shape(dist, ((box[0] + dx) / ss, (box[1] + dy) / ss,
                        (box[2] + 1 + dx) / ss, (box[3] + 1 + dy) / ss))


def button_disc(cv, cx, cy, r, rim, light, dark):
    """A round, lit button face: dark rim, radial body, sheen on the upper half."""
    cv.fill(circle(cx, cy, r), rim)
    body = circle(cx, cy, r - 1.0)
    cv.fill(body, radial(cx - r * 0.35, cy - r * 0.45, r * 1.6, light, dark))
    cv.fill(ellipse(cx, cy - r * 0.45, r * 0.7, r * 0.42) & body,
            linear(0, cy - r, (255, 255, 255, 0.42), 0, cy, (255, 255, 255, 0.04)))


def draw_tool_help(px=16):
    cv = Canvas(16, px)
    button_disc(cv, 8, 8, 7.25, (18, 58, 130), (110, 172, 240), (22, 80, 178))
    q = centred_glyph('?', SANS_BOLD, 12.5, 8.0, 8.0, 16, cv.ss * cv.unit, stroke=0.04)
    cv.fill(q.grow(0.6), (10, 40, 100, 0.35))
    cv.fill(q, (255, 255, 255))
    return cv


def power_symbol(cx, cy, r, width, gap_deg):
    ring = circle(cx, cy, r + width / 2.0) - circle(cx, cy, r - width / 2.0)
    half = math.radians(gap_deg)
    # wedge around "up" removed from the ring
    reach = r * 3
    wedge = polygon([(cx, cy), (cx - reach * math.sin(half), cy - reach * math.cos(half)),
                     (cx + reach * math.sin(half), cy - reach * math.cos(half))])
    arc = ring - wedge
    # round the ends of the arc
    ends = [circle(cx + s * r * math.sin(half), cy - r * math.cos(half), width / 2.0) for s in (-1, 1)]
    bar = rect(cx - width / 2.0, cy - r - width * 0.6, cx + width / 2.0, cy - r * 0.1, width * 0.3)
    return arc | ends[0] | ends[1] | bar


def draw_tool_exit(px=16):
    cv = Canvas(16, px)
    button_disc(cv, 8, 8, 7.25, (120, 12, 12), (255, 120, 100), (188, 20, 20))
    sym = power_symbol(8, 8.5, 3.6, 1.9, 50)
    cv.fill(sym.grow(0.6), (90, 0, 0, 0.35))
    cv.fill(sym, (255, 255, 255))
    return cv


def draw_tool_mail(px=16):
    cv = Canvas(16, px)
    body = rect(0, 3, 16, 14, 0.8)
    cv.fill(body, (64, 72, 92))
    inner = body.shrink(1.0)
    cv.fill(inner, linear(0, 4, (255, 255, 255), 0, 13, (210, 218, 232)))
    # the folds of the back, light
    for a, b in (((1.6, 13.0), (6.4, 8.8)), ((14.4, 13.0), (9.6, 8.8))):
        cv.fill(capsule(a[0], a[1], b[0], b[1], 0.9) & inner, (150, 160, 182))
    # the flap, a shade darker, with a crisp edge
    flap = polygon([(1.0, 4.0), (15.0, 4.0), (8.0, 10.0)]) & inner
    cv.fill(flap, linear(0, 4, (236, 240, 248), 0, 9.5, (206, 214, 230)))
    for a, b in (((1.6, 4.4), (8.0, 9.8)), ((14.4, 4.4), (8.0, 9.8))):
        cv.fill(capsule(a[0], a[1], b[0], b[1], 1.0) & inner, (88, 98, 124))
    return cv


def monitor(cv, x0, y0, x1, y1, bezel, screen_inset, rim=(26, 40, 72),
            screen_top=(126, 178, 229), screen_bottom=(40, 88, 160)):
    """A flat-panel monitor; returns the screen shape."""
    frame = rect(x0, y0, x1, y1, bezel)
    cv.fill(frame, rim)
    cv.fill(frame.shrink(1.0), linear(0, y0, (250, 251, 253), 0, y1, (170, 180, 198)))
    s = screen_inset
    screen = rect(x0 + s, y0 + s, x1 - s, y1 - s)
    cv.fill(screen, linear(0, y0 + s, screen_top, 0, y1 - s, screen_bottom))
    return screen


def draw_category_system_info(px=16):
    cv = Canvas(16, px)
    # stand first, the monitor hides its top
    cv.fill(rect(6, 11, 10, 13.5), (26, 40, 72))
    cv.fill(rect(3, 13, 13, 15, 0.9), (26, 40, 72))
    cv.fill(rect(4, 13.6, 12, 14.2), (150, 160, 180))
    screen = monitor(cv, 1, 0, 15, 12, 1.2, 2, screen_top=(70, 132, 214),
                     screen_bottom=(24, 62, 144))
    cv.fill(polygon([(3, 2), (6, 2), (3, 6)]) & screen, (255, 255, 255, 0.22))
    # a serif "i", pixel-aligned
    white = (255, 255, 255)
    cv.fill(rect(7, 3, 9, 4), white)
    cv.fill(rect(7, 5, 9, 9), white)
    cv.fill(rect(6, 5, 7, 6), white)
    cv.fill(rect(6, 8, 10, 9), white)
    return cv


def draw_category_system_optimise(px=16):
    cv = Canvas(16, px)
    g = gear(8, 8, 7.8, 5.4, 8, 3.0, 4.2, 0) - circle(8, 8, 2.3)
    cv.fill(g, (112, 56, 0))
    cv.fill(g.shrink(1.0), radial(6, 5, 9, (255, 226, 128), (230, 132, 16)))
    cv.fill(circle(8, 8, 3.3) - circle(8, 8, 2.3), (160, 84, 6, 0.6))
    return cv


def draw_category_network(px=16):
    cv = Canvas(16, px)
    cx, cy, r = 10.5, 8.5, 5.5
    ball = circle(cx, cy, r)
    cv.fill(ball, (14, 44, 104))
    inner = ball.shrink(1.0)
    cv.fill(inner, radial(cx - 2, cy - 2.5, 7.5, (96, 178, 250), (16, 78, 176)))
    grid = (226, 244, 255, 0.6)
    cv.fill((ellipse(cx, cy, 2.5, r - 0.5) - ellipse(cx, cy, 1.5, r - 1.5)) & inner, grid)
    cv.fill(rect(cx - r, cy - 0.5, cx + r, cy + 0.5) & inner, grid)
    cv.fill(rect(cx - r, cy - 3.5, cx + r, cy - 2.5) & inner, grid)
    cv.fill(rect(cx - r, cy + 2.5, cx + r, cy + 3.5) & inner, grid)
    # speed lines trailing to the left
    navy = (20, 52, 120)
    for y, x0, x1 in ((5.5, 1.0, 4.0), (8.5, 0.0, 4.0), (11.5, 1.0, 4.0)):
        cv.fill(rect(x0, y - 0.5, x1, y + 0.5), navy)
    return cv


def along(base, u, v, a, b):
    """The point base + a*u + b*v."""
    return (base[0] + a * u[0] + b * v[0], base[1] + a * u[1] + b * v[1])


def draw_category_cleanup(px=16):
    cv = Canvas(16, px)
    k = math.sqrt(0.5)
    u, v = (-k, k), (k, k)            # down the broom, and across it
    tie = (8.6, 7.4)
    handle = capsule(15.0, 1.0, tie[0], tie[1], 2.2)
    cv.fill(handle, (84, 44, 12))
    cv.fill(handle.shrink(0.8), linear(11, 4, (240, 188, 110), 13, 6, (176, 108, 40)))
    # the bristles splay out and end in a ragged edge
    outline = [along(tie, u, v, 0.6, -1.5), along(tie, u, v, 0.6, 1.5), along(tie, u, v, 7.8, 4.6)]
    for k, b in enumerate((3.3, 2.2, 1.1, 0.0, -1.1, -2.2, -3.3)):
        outline.append(along(tie, u, v, 8.4 if k % 2 else 9.4, b))
    outline.append(along(tie, u, v, 7.8, -4.6))
    head = polygon(outline)
    cv.fill(head, (118, 74, 8))
    body = head.shrink(1.0)
    cv.fill(body, linear(tie[0], tie[1], (255, 234, 140), tie[0] - 6, tie[1] + 6, (230, 170, 44)))
    for b in (-2.2, 0.0, 2.2):
        p, q = along(tie, u, v, 2.2, b * 0.4), along(tie, u, v, 9.4, b * 1.2)
        cv.fill(capsule(p[0], p[1], q[0], q[1], 0.9) & body, (178, 116, 18))
    band = polygon([along(tie, u, v, -0.6, -2.6), along(tie, u, v, -0.6, 2.6),
                    along(tie, u, v, 1.6, 2.6), along(tie, u, v, 1.6, -2.6)])
    cv.fill(band, (30, 50, 110))
    cv.fill(band.shrink(0.8), (70, 120, 210))
    return cv


def draw_category_repair(px=16):
    cv = Canvas(16, px)
    k = math.sqrt(0.5)
    u, v = (k, -k), (k, k)            # up the wrench, and across it
    centre = (11.0, 5.0)
    head = circle(centre[0], centre[1], 4.7)
    slot = polygon([along(centre, u, v, 0.9, -1.25), along(centre, u, v, 0.9, 1.25),
                    along(centre, u, v, 6.0, 1.25), along(centre, u, v, 6.0, -1.25)])
    slot = slot | circle(*along(centre, u, v, 0.9, 0), 1.25)
    tail = along(centre, u, v, -10.6, 0)
    wrench = (capsule(tail[0], tail[1], centre[0], centre[1], 3.8) | head) - slot
    cv.fill(wrench, (34, 42, 60))
    cv.fill(wrench.shrink(1.0), linear(6, 6, (248, 250, 253), 10, 10, (144, 154, 176)))
    hole = circle(*along(centre, u, v, -9.0, 0), 0.8)
    cv.fill(hole.grow(0.2), (60, 70, 92))
    return cv


def draw_app_icon_32(px=32):
    cv = Canvas(32, px, ss=max(3, 192 // px))
    rim = (22, 38, 74)
    # stand
    cv.fill(rect(13, 22, 19, 27.5), rim)
    cv.fill(rect(14, 22, 18, 27), linear(14, 0, (200, 208, 222), 18, 0, (140, 150, 170)))
    base = rect(7, 26.5, 25, 30.5, 1.8)
    cv.fill(base, rim)
    cv.fill(base.shrink(1.0), linear(0, 27, (236, 240, 246), 0, 30, (160, 170, 188)))
    frame = rect(1, 2, 31, 24, 2.4)
    screen = monitor(cv, 1, 2, 31, 24, 2.4, 3, rim)
    # performance bars rising on the screen
    for k, (h, c) in enumerate(((5, (190, 232, 255)), (8, (222, 244, 255)), (11, (255, 255, 255)))):
        x = 7 + k * 5
        cv.fill(rect(x, 20 - h, x + 3, 20), (c[0], c[1], c[2], 0.92))
    cv.fill(polygon([(4, 5), (15, 5), (8, 21), (4, 21)]) & screen, (255, 255, 255, 0.13))
    # the tune-up gear over the lower right corner
    gx, gy = 23.5, 23.5
    hole = circle(gx, gy, 2.2)
    solid = gear(gx, gy, 7.7, 5.6, 8, 3.2, 4.4, 0)
    cv.fill((solid.grow(1.0) - hole) & frame, (255, 255, 255))
    g = solid - hole
    cv.fill(g, (128, 58, 0))
    cv.fill(g.shrink(1.0), radial(gx - 2, gy - 3, 9, (255, 236, 150), (244, 148, 22)))
    cv.fill(circle(gx, gy, 3.4) - hole, (176, 90, 6, 0.5))
    return cv


def draw_app_icon_16(px=16):
    cv = Canvas(16, px)
    rim = (22, 38, 74)
    cv.fill(rect(3, 13, 11, 15, 0.8), rim)
    cv.fill(rect(6, 11, 8, 13.5), rim)
    frame = rect(0, 1, 15, 12, 1.2)
    screen = monitor(cv, 0, 1, 15, 12, 1.2, 2, rim)
    for k, h in enumerate((3, 5)):
        x = 3 + k * 3
        cv.fill(rect(x, 10 - h, x + 2, 10), (255, 255, 255, 0.9))
    gx, gy = 10.5, 10.5
    hole = circle(gx, gy, 1.2)
    solid = gear(gx, gy, 5.5, 3.9, 6, 2.8, 3.6, 0)
    cv.fill((solid.grow(0.8) - hole) & frame, (255, 255, 255))
    g = solid - hole
    cv.fill(g, (150, 70, 0))
    cv.fill(g.shrink(0.8), radial(gx - 1.5, gy - 2, 6, (255, 236, 150), (250, 160, 30)))
    return cv


# ---------------------------------------------------------------------------------------
# What gets written

# Every icon in the sizes the windows ask for at 100, 125, 150 and 200 % (Windows picks the
# size it needs from the file); the application icon also at 48, its large size at 150 %.
ICON_SIZES = (16, 20, 24, 32)

ICONS = [
    # file, [(size, drawing)], surface the edges are blended into, coverage kept
    ('Kelvane.ico', [(32, draw_app_icon_32), (16, draw_app_icon_16), (20, draw_app_icon_16),
                     (24, draw_app_icon_32), (48, draw_app_icon_32)], None, 0.5),
    ('CategorySystemInfo.ico', draw_category_system_info, TILE_BLUE, 0.3),
    ('CategorySystemOptimise.ico', draw_category_system_optimise, TILE_BLUE, 0.3),
    ('CategoryNetwork.ico', draw_category_network, TILE_BLUE, 0.3),
    ('CategoryCleanup.ico', draw_category_cleanup, TILE_BLUE, 0.3),
    ('CategoryRepair.ico', draw_category_repair, TILE_BLUE, 0.3),
    ('ToolMail.ico', draw_tool_mail, BUTTON_FACE, 0.3),
    ('ToolHelp.ico', draw_tool_help, BUTTON_FACE, 0.3),
    ('ToolExit.ico', draw_tool_exit, BUTTON_FACE, 0.3),
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
    for name, _, _, _ in ICONS[1:6]:
        cells.append([(size, pixels, bg) for size, pixels in decode_icon(files[name])
                      for bg in (TILE_BLUE, (255, 255, 255))])
    sheet(cells, os.path.join(folder, 'category-icons.png'))
    cells = []
    for name, _, _, _ in ICONS[6:]:
        cells.append([(size, pixels, bg) for size, pixels in decode_icon(files[name])
                      for bg in ((192, 192, 192), BUTTON_FACE)])
    sheet(cells, os.path.join(folder, 'tool-glyphs.png'))

    # the banner as the window shows it, with the version label the program draws over it
    rows = decode_bmp8_rle(files['Banner.bmp'])
    label = text_mask('V2.6', SERIF, 21, BANNER_W, BANNER_H, 293, 36)
    shown = [[tuple(to_byte(c) for c in mix(rows[y][x], (128, 0, 0), label.get(x, y)))
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
