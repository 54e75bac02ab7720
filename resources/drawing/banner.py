"""The banner: a light-blue band fading to white, the product title and the tagline."""

from .raster import *  # noqa: F401,F403  the drawing vocabulary


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
