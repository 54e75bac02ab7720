"""Drawing on a pixel grid: shapes as signed distance functions, paints, text rasterised
by ImageMagick, and the hardening of soft edges into an icon's 1-bit mask."""

import math
import os
import subprocess
import sys

ZEN_HEI = '/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc'
SANS_BOLD = '/usr/share/fonts/truetype/liberation/LiberationSans-Bold.ttf'
SANS_BOLD_ITALIC = '/usr/share/fonts/truetype/liberation/LiberationSans-BoldItalic.ttf'
SERIF = '/usr/share/fonts/truetype/liberation/LiberationSerif-Regular.ttf'  # previews only
FONT_PACKAGES = {ZEN_HEI: 'fonts-wqy-zenhei', SANS_BOLD: 'fonts-liberation',
                 SANS_BOLD_ITALIC: 'fonts-liberation', SERIF: 'fonts-liberation'}


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
