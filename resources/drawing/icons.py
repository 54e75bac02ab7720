"""The application icon, the tiles' category icons and the tool-bar glyphs, each drawn
afresh at every size it is written in."""

from .raster import *  # noqa: F401,F403  the drawing vocabulary


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


# Each tile's icon and each tool button's glyph, by its name in resources/Facts.txt.
TOOL_ICONS = {
    'ToolHelp': draw_tool_help,
    'ToolMail': draw_tool_mail,
    'ToolExit': draw_tool_exit,
}

TILE_ICONS = {
    'CategorySystemInfo': draw_category_system_info,
    'CategorySystemOptimise': draw_category_system_optimise,
    'CategoryNetwork': draw_category_network,
    'CategoryCleanup': draw_category_cleanup,
    'CategoryRepair': draw_category_repair,
}
