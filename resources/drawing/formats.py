"""The file formats the pictures are written in: icons, run-length coded bitmaps and PNG."""

import struct
import zlib

from .raster import to_byte


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
