"""Full-screen pictures: play backgrounds, title, loading picture, stage-select sheets and the overlays."""
import numpy as np

from pixel import (PAL, Canvas, dither_bands, draw_text, flip, flipv, jp_size, jp_text, mix, outline, pad, rgba,
                   scale, sprite, text_mask, text_width)
import sprites

W, H = 640, 480


def rng(seed):
    return np.random.default_rng(seed)


def smooth_noise(n, seed, octaves=((0.006, 1.0), (0.015, 0.45), (0.037, 0.12))):
    """A 1-D wavy line (sum of sines with random phases), for hill and tree-line silhouettes."""
    r = rng(seed)
    x = np.arange(n)
    y = np.zeros(n)
    for f, a in octaves:
        y += a * np.sin(2 * np.pi * f * x + r.uniform(0, 2 * np.pi))
    return y


def fill_below(cv, top, col, y_limit=H):
    for x in range(cv.w):
        t = int(round(top[x]))
        if t < y_limit:
            cv.rect(x, max(t, 0), 1, y_limit - max(t, 0), col)


def ridge_edge(cv, top, col):
    for x in range(cv.w):
        cv.px(x, int(round(top[x])), col)


def cloud(cv, x, y, w, body, shade):
    """A puffy pixel cloud: overlapping discs cut flat at the bottom, with a shaded underside."""
    r = rng(x * 7 + y)
    hgt = 44
    c = Canvas(w + 40, hgt)
    base = hgt - 4
    n = max(w // 18, 3)
    for i in range(n):
        t = i / (n - 1)
        cx = 20 + t * w
        rad = 8 + 10 * np.sin(np.pi * t) + r.uniform(-2, 2)
        c.disc(cx, base - rad * 0.55, rad, body)
    c.a[base:] = 0
    solid = c.a[..., 3] > 0
    under = np.zeros_like(solid)
    under[:-3] = solid[:-3] & ~solid[3:]
    under[base - 3 : base] |= solid[base - 3 : base]
    c.a[under & solid] = shade
    cv.blit(c, x, y)


# ---------------------------------------------------------------------------------------------------------
# Play backgrounds: five calm places, pale enough that the inked blocks and spikes stand out.

def bg_meadow():
    cv = Canvas(W, H, rgba("white"))
    dither_bands(cv, 0, 0, W, H, [mix("sky", "white", 0.35), mix("sky", "white", 0.55),
                                    mix("sky", "white", 0.72), mix("cyan", "white", 0.7)])
    for (x, y, w) in ((30, 40, 120), (290, 70, 160), (530, 20, 90), (170, 150, 80), (440, 170, 110)):
        cloud(cv, x, y, w, (*PAL["white"], 255), (*mix("sky", "white", 0.8), 255))
    far = 300 + 18 * smooth_noise(W, 1)
    fill_below(cv, far, (*mix("green", "white", 0.62), 255))
    mid = 350 + 22 * smooth_noise(W, 2)
    fill_below(cv, mid, (*mix("green", "white", 0.45), 255))
    ridge_edge(cv, mid, (*mix("lime", "white", 0.5), 255))
    near = 410 + 14 * smooth_noise(W, 3)
    fill_below(cv, near, (*mix("green", "white", 0.3), 255))
    ridge_edge(cv, near, (*mix("lime", "white", 0.35), 255))
    r = rng(4)
    for _ in range(60):  # small flowers in the nearest field
        x, y = int(r.uniform(0, W)), int(r.uniform(425, 478))
        cv.px(x, y, (*mix(["pink", "yellow", "white"][r.integers(3)], "white", 0.3), 255))
    return cv


def bg_forest():
    cv = Canvas(W, H)
    dither_bands(cv, 0, 0, W, H, [mix("lime", "white", 0.55), mix("green", "white", 0.55),
                                  mix("teal", "white", 0.5), mix("teal", "white", 0.4)])
    r = rng(11)
    layers = [(0.62, 26, 22), (0.48, 34, 15), (0.36, 44, 9)]
    for li, (lift, width, count) in enumerate(layers):
        col = (*mix("teal", "white", lift), 255)
        hi = (*mix("teal", "white", lift + 0.08), 255)
        bark = (*mix("teal", "white", lift - 0.05), 255)
        for _ in range(count):
            x = int(r.uniform(-20, W))
            w = int(width * r.uniform(0.6, 1.1))
            cv.rect(x, 0, w, H, col)
            cv.rect(x + 2, 0, 2, H, hi)
            for _k in range(w // 8):  # bark: short dark grooves
                bx = x + int(r.uniform(5, max(w - 2, 6)))
                for y0 in range(int(r.uniform(0, 40)), H, int(r.uniform(50, 90))):
                    cv.rect(bx, y0, 1, int(r.uniform(12, 30)), bark)
        # the canopy: a scalloped band of leaves
        canopy = 40 + 25 * li + 14 * smooth_noise(W, 12 + li)
        leaf = (*mix("green", "white", lift), 255)
        for x in range(W):
            cv.rect(x, 0, 1, int(canopy[x]), leaf)
        for x in range(0, W, 14):
            cv.disc(x + r.uniform(-3, 3), canopy[min(x, W - 1)], 9, leaf)
    # leaf clumps in the canopy: a shade darker, with a lit top edge
    clump = (*mix(mix("green", "teal", 0.5), "white", 0.3), 255)
    clump_lit = (*mix("green", "white", 0.45), 255)
    for _ in range(110):
        x, y = r.uniform(0, W), r.uniform(-4, 70)
        rad = r.uniform(7, 11)
        c = Canvas(24, 24)
        c.disc(12, 12, rad, clump)
        c.disc(12 - rad * 0.3, 12 - rad * 0.35, rad * 0.55, clump_lit)
        c.disc(12 - rad * 0.2, 12 - rad * 0.2, rad * 0.45, (*mix(clump[:3], clump_lit[:3], 0.5), 255))
        cv.blit(c, int(x) - 12, int(y) - 12)
    # light shafts: wide, faint, dithered bands falling from the canopy
    ys, xs = np.mgrid[0:H, 0:W]
    for x0 in (90, 320, 510):
        d = np.abs((xs - x0) - ys * 0.35)
        band_m = (d < 22) & ((xs + ys) % 2 == 0) & (ys > 80)
        cv.a[band_m] = (*mix("lime", "white", 0.75), 255)
    ground = 440 + 8 * smooth_noise(W, 15)
    for x in range(0, W, 22):  # bushes
        cv.disc(x + r.uniform(-6, 6), ground[min(x, W - 1)] + 2, r.uniform(10, 18),
                (*mix("green", "white", 0.42), 255))
    fill_below(cv, ground, (*mix("green", "white", 0.35), 255))
    ridge_edge(cv, ground, (*mix("lime", "white", 0.4), 255))
    return cv


def crystal(cv, x, y, w, h, col):
    """A standing crystal: a tall six-sided gem with a lit left face."""
    body = (*mix(col, "night", 0.35), 255)
    lit = (*mix(col, "white", 0.1), 255)
    dark = (*mix(col, "night", 0.6), 255)
    for k in range(h):
        t = k / max(h - 1, 1)
        half = w / 2 * (t / 0.25 if t < 0.25 else 1.0)
        x0, x1 = int(round(x - half)), int(round(x + half))
        cv.rect(x0, y - h + k, max(x1 - x0, 1), 1, body)
        cv.rect(x0, y - h + k, max((x1 - x0) // 3, 1), 1, lit)
        cv.px(x1, y - h + k, dark)


def bg_cave():
    cv = Canvas(W, H)
    dither_bands(cv, 0, 0, W, H, [mix("navy", "plum", 0.3), mix("night", "plum", 0.25),
                                  mix("night", "teal", 0.35), mix("navy", "teal", 0.3)])
    r = rng(21)
    far_rock = (*mix("night", "plum", 0.45), 255)
    rock = (*mix("night", "slate", 0.35), 255)
    edge = (*mix("slate", "silver", 0.2), 255)
    # far stalagmites rising from the floor, then the near floor
    for _ in range(9):
        x, w, h = int(r.uniform(0, W)), int(r.uniform(30, 70)), int(r.uniform(80, 200))
        for k in range(h):
            hw = w * (k / h) ** 0.7 / 2
            cv.rect(int(x - hw), 460 - h + k, max(int(2 * hw), 1), 1, far_rock)
    for _ in range(18):  # stalactites
        x, w, h = int(r.uniform(0, W)), int(r.uniform(12, 34)), int(r.uniform(40, 130))
        for y in range(h):
            hw = w * (1 - y / h) / 2
            cv.rect(int(x - hw), y, max(int(2 * hw), 1), 1, rock)
            cv.px(int(x - hw), y, edge)
    floor = 430 + 14 * smooth_noise(W, 22)
    fill_below(cv, floor, rock)
    ridge_edge(cv, floor, edge)
    for _ in range(7):  # crystal clusters on the floor
        x = int(r.uniform(20, W - 20))
        col = ["cyan", "pink", "lime"][r.integers(3)]
        base = int(floor[x]) + 2
        for dx, w, h in ((-7, 6, 14), (0, 8, 24), (7, 6, 16)):
            crystal(cv, x + dx, base, w, h + int(r.uniform(-3, 3)), col)
    for _ in range(120):  # dust motes
        cv.px(int(r.uniform(0, W)), int(r.uniform(0, H)), (*mix("cyan", "night", 0.6), 255))
    return cv


def bg_castle():
    cv = Canvas(W, H)
    base = mix("slate", "night", 0.35)
    mortar = mix("slate", "night", 0.6)
    hi = mix("slate", "silver", 0.25)
    cv.rect(0, 0, W, H, (*mortar, 255))
    for row in range(H // 16 + 1):
        off = 0 if row % 2 == 0 else 16
        for bx in range(-32 + off, W, 32):
            cv.rect(bx + 1, row * 16 + 1, 30, 14, (*base, 255))
            cv.hline(bx + 1, bx + 30, row * 16 + 1, (*mix(base, hi, 0.35), 255))
    # windows with a night sky, and banners between them
    for wx in (70, 270, 470):
        cv.rect(wx - 4, 76, 108, 156, (*mix("slate", "night", 0.5), 255))
        cv.rect(wx, 80, 100, 150, (*mix("navy", "blue", 0.4), 255))
        cv.disc(wx + 50, 80, 50, (*mix("navy", "blue", 0.4), 255))
        cv.rect(wx + 48, 40, 4, 190, (*mix("slate", "night", 0.5), 255))
        cv.rect(wx, 150, 100, 4, (*mix("slate", "night", 0.5), 255))
        r = rng(wx)
        for _ in range(14):
            cv.px(int(wx + r.uniform(2, 98)), int(r.uniform(50, 226)), (*mix("yellow", "white", 0.4), 255))
        cv.rect(wx - 8, 232, 116, 6, (*mix(base, hi, 0.4), 255))
    for bxp in (205, 405):
        cv.rect(bxp, 60, 30, 120, (*mix("red", "silver", 0.35), 255))
        for k in range(8):
            cv.rect(bxp + k * 2, 180 + k, 30 - 4 * k, 1, (*mix("red", "silver", 0.35), 255))
        cv.rect(bxp + 10, 90, 10, 10, (*mix("yellow", "silver", 0.3), 255))
    cv.rect(0, 420, W, 60, (*mix("slate", "night", 0.3), 255))
    cv.hline(0, W - 1, 420, (*hi, 255))
    return cv


def bg_night():
    cv = Canvas(W, H)
    dither_bands(cv, 0, 0, W, H, [mix("navy", "night", 0.3), mix("navy", "plum", 0.35),
                                  mix("plum", "red", 0.35), mix("orange", "plum", 0.35)])
    r = rng(41)
    for _ in range(160):
        x, y = int(r.uniform(0, W)), int(r.uniform(0, 300))
        cv.px(x, y, (*mix("white", "navy", r.uniform(0.1, 0.6)), 255))
    for _ in range(10):
        x, y = int(r.uniform(0, W)), int(r.uniform(0, 220))
        for dx, dy in ((0, 0), (1, 0), (-1, 0), (0, 1), (0, -1)):
            cv.px(x + dx, y + dy, (*mix("yellow", "white", 0.5), 255))
    moon = Canvas(80, 80)
    moon.disc(40, 40, 34, (*mix("yellow", "white", 0.55), 255))
    cut = Canvas(80, 80)
    cut.disc(54, 30, 30, (255, 255, 255, 255))
    moon.a[cut.a[..., 3] > 0] = 0
    cv.blit(moon, 480, 50)
    far = 360 + 25 * smooth_noise(W, 42)
    fill_below(cv, far, (*mix("plum", "night", 0.55), 255))
    near = 420 + 16 * smooth_noise(W, 43)
    fill_below(cv, near, (*mix("navy", "night", 0.6), 255))
    return cv


# ---------------------------------------------------------------------------------------------------------
# Title picture: logo on top of an evening sky. Everything behind the menus (y 120..400) is dark and quiet,
# so white, the chosen item's green and the dim green of a switched-off option all read; the runners run on
# dark grass with its edge at y 384.

LOGO = "Pelvoro!!"


def logo(f=7):
    """The title logo: pixel letters as bevelled blocks, sunny gradient, thick ink outline."""
    m = text_mask(LOGO, 1, bold=True)
    h, w = m.shape
    c = Canvas(w * f, h * f)
    ramp = ["yellow", "yellow", "gold", "gold", "orange", "orange", "red"]
    for y in range(h):
        for x in range(w):
            if not m[y, x]:
                continue
            excl = x >= text_width("Pelvoro", 1, bold=True) + 1
            col = ["pink", "pink", "crimson", "crimson", "crimson", "darkred", "darkred"][y] if excl else ramp[y]
            c.rect(x * f, y * f, f, f, rgba(col))
            c.rect(x * f, y * f, f, 1, rgba("white") if y == 0 or not m[y - 1, x] else rgba(col))
            if y == h - 1 or not m[y + 1, x]:
                c.rect(x * f, y * f + f - 2, f, 2, rgba("darkred" if excl else "red"))
    c = pad(c, 4)
    for _ in range(3):
        c = outline(c, rgba("ink"), diagonal=True)
    shadow = Canvas(c.w + 6, c.h + 6)
    sh = c.a[..., 3] > 0
    shadow.a[6:, 6:][sh] = (*PAL["navy"], 255)
    shadow.blit(c, 0, 0)
    return shadow


def sparkle(cv, x, y):
    for dx, dy, c in ((0, 0, "white"), (1, 0, "yellow"), (-1, 0, "yellow"), (0, 1, "yellow"), (0, -1, "yellow"),
                      (2, 0, "gold"), (-2, 0, "gold"), (0, 2, "gold"), (0, -2, "gold")):
        cv.px(x + dx, y + dy, rgba(c))


def make_titlescreen():
    cv = Canvas(W, H)
    dither_bands(cv, 0, 0, W, 384, [mix("ink", "night", 0.2), mix("ink", "navy", 0.3), mix("ink", "navy", 0.3),
                                    mix("ink", "navy", 0.35), mix("navy", "teal", 0.3)])
    r = rng(51)
    for _ in range(140):  # stars, fainter toward the horizon
        x, y = int(r.uniform(0, W)), int(r.uniform(0, 340))
        cv.px(x, y, (*mix("white", "navy", 0.2 + 0.6 * y / 340 + r.uniform(0, 0.2)), 255))
    for (x, y) in ((40, 150), (600, 190), (70, 300), (580, 260), (18, 230)):
        for dx, dy in ((0, 0), (1, 0), (-1, 0), (0, 1), (0, -1)):
            cv.px(x + dx, y + dy, (*mix("yellow", "white", 0.5), 255))
    moon = Canvas(48, 48)
    moon.disc(24, 24, 20, (*mix("yellow", "white", 0.55), 255))
    cut = Canvas(48, 48)
    cut.disc(33, 18, 18, (255, 255, 255, 255))
    moon.a[cut.a[..., 3] > 0] = 0
    cv.blit(moon, 18, 40)
    # dim clouds at the sides, barely lighter than the sky
    for (x, y, w) in ((-20, 170, 120), (530, 140, 130), (-10, 310, 90), (520, 300, 110)):
        cloud(cv, x, y, w, (*mix("navy", "slate", 0.35), 255), (*mix("navy", "ink", 0.2), 255))
    # a little castle far away on the right, where the stages lead, its windows lit
    castle = (*mix("ink", "navy", 0.4), 255)
    for (x, y, w, h) in ((560, 338, 40, 46), (554, 326, 10, 58), (596, 326, 10, 58), (572, 318, 16, 20)):
        cv.rect(x, y, w, h, castle)
    for x in range(554, 606, 4):
        cv.rect(x, 322, 2, 4, castle)
    cv.rect(579, 306, 2, 12, castle)
    cv.rect(581, 306, 6, 4, (*mix("red", "navy", 0.2), 255))
    for (x, y) in ((557, 336), (599, 336), (576, 326), (566, 350), (590, 350), (578, 362)):
        cv.rect(x, y, 2, 3, rgba("gold"))
    hills = 370 + 8 * smooth_noise(W, 52)
    fill_below(cv, hills, (*mix("night", "teal", 0.35), 255))
    # the ground the runners run on: feet at y 384, dark grass so the texts over it read
    cv.rect(0, 384, W, H - 384, (*mix("teal", "navy", 0.55), 255))
    cv.hline(0, W - 1, 384, (*mix("green", "teal", 0.35), 255))
    cv.hline(0, W - 1, 385, (*mix("green", "navy", 0.55), 255))
    dither_bands(cv, 0, 396, W, 84, [mix("teal", "navy", 0.55), mix("navy", "ink", 0.5), mix("ink", "navy", 0.2)])
    for _ in range(60):
        x, y = int(r.uniform(0, W)), int(r.uniform(388, 470))
        cv.px(x, y, (*mix("teal", "green", 0.3), 255))
    lg = logo(7)
    lx, ly = 320 - lg.w // 2, 22
    cv.blit(lg, lx, ly)
    # the spike ball peeks over the last "!", grinning
    ball = sprites.make_spike_ball(32)
    cv.blit(ball, lx + lg.w - 4, ly + 16)
    for (sx, sy) in ((lx - 18, ly + 10), (lx + lg.w + 6, ly + 44), (lx + 40, ly + 76), (lx + lg.w - 90, ly + 80)):
        sparkle(cv, sx, sy)
    return cv


# ---------------------------------------------------------------------------------------------------------
# Loading picture (200 x 120), drawn over black above the running girl.

def make_wait():
    cv = Canvas(200, 120)
    cv.rect(4, 4, 192, 112, rgba("ink"))
    cv.rect(6, 6, 188, 108, rgba("navy"))
    cv.frame(8, 8, 184, 104, rgba("blue"))
    draw_text(cv, 100 - text_width("NOW", 3) // 2, 22, "NOW", rgba("yellow"), 3, shadow=rgba("plum"))
    draw_text(cv, 100 - text_width("LOADING", 3) // 2, 52, "LOADING", rgba("yellow"), 3, shadow=rgba("plum"))
    for i in range(3):
        cv.rect(82 + 14 * i, 88, 8, 8, rgba(["pink", "orange", "yellow"][i]))
        cv.frame(82 + 14 * i, 88, 8, 8, rgba("ink"))
    # rounded corners
    for x, y in ((4, 4), (195, 4), (4, 115), (195, 115)):
        cv.px(x, y, (0, 0, 0, 0))
    return cv


# ---------------------------------------------------------------------------------------------------------
# Stage select.

def make_stageselectbg():
    cv = Canvas(W, H)
    a, b = mix("sky", "white", 0.55), mix("sky", "white", 0.45)
    ys, xs = np.mgrid[0:H, 0:W]
    stripe = ((xs + ys) // 24) % 2 == 0
    cv.a[stripe] = (*a, 255)
    cv.a[~stripe] = (*b, 255)
    # banner with the title
    cv.rect(0, 24, W, 84, (*mix("navy", "blue", 0.3), 255))
    cv.hline(0, W - 1, 24, rgba("ink"))
    cv.hline(0, W - 1, 107, rgba("ink"))
    cv.hline(0, W - 1, 26, rgba("sky"))
    cv.hline(0, W - 1, 105, rgba("sky"))
    t = "STAGE SELECT"
    draw_text(cv, 320 - text_width(t, 5) // 2, 40, t, rgba("yellow"), 5, shadow=rgba("plum"), edge=rgba("ink"))
    # one panel: the grid (x 50..590, y 150..350) on a lighter part, the help texts (y 350..470) below
    cv.rect(12, 136, 616, 340, rgba("ink"))
    cv.rect(14, 138, 612, 212, (*mix("navy", "sky", 0.55), 255))
    cv.rect(14, 351, 612, 123, (*mix("navy", "blue", 0.2), 255))
    cv.hline(14, 625, 138, (*mix("sky", "white", 0.3), 255))
    cv.hline(14, 625, 350, rgba("ink"))
    cv.hline(14, 625, 352, rgba("blue"))
    for x in (28, 600):
        ball = sprites.make_spike_ball(32)
        cv.blit(ball, x - 16, 50)
    return cv


LOCK = [
    "..kkkkk..",
    ".kk...kk.",
    ".k.....k.",
    ".k.....k.",
    "kkkkkkkkk",
    "kyyyyyyyk",
    "kyyykyyyk",
    "kyyykyyyk",
    "kyyyyyyyk",
    "kGGGGGGGk",
    "kkkkkkkkk",
]


def label(number, base, light, dark, tag, locked=False, tag_colour="darkbrown"):
    """A 90 x 40 stage button: a small tag and the stage number; a locked one is grey with a padlock."""
    c = Canvas(90, 40)
    c.rect(3, 3, 84, 34, rgba("ink"))
    c.rect(4, 4, 82, 32, rgba(base))
    c.rect(4, 4, 82, 2, rgba(light))
    c.rect(4, 4, 2, 32, rgba(light))
    c.rect(4, 33, 82, 3, rgba(dark))
    c.rect(83, 4, 3, 32, rgba(dark))
    for x, y in ((3, 3), (86, 3), (3, 36), (86, 36)):
        c.px(x, y, (0, 0, 0, 0))
    s = str(number)
    if locked:
        nw = text_width(s, 2, bold=True)
        draw_text(c, 30 - nw // 2, 13, s, rgba("slate"), 2, bold=True, shadow=rgba("white"))
        c.blit(scale(sprite(LOCK, {"k": "ink", "y": "gold", "G": "orange"}), 2), 56, 9)
        return c
    tw = text_width(tag, 1)
    draw_text(c, 10, 16, tag, rgba(tag_colour), 1)
    nw = text_width(s, 3, bold=True)
    nx = 10 + tw + (74 - tw - nw) // 2
    draw_text(c, nx, 10, s, rgba("white"), 3, shadow=rgba(dark), bold=True)
    return c


def cursor(band, corner):
    """The stage cursor: a thick light band between ink lines and heavy corner brackets, so that it stands
    out on any button and on the panel around them."""
    c = Canvas(90, 40)
    c.frame(0, 0, 90, 40, rgba("ink"), 2)
    c.frame(2, 2, 86, 36, rgba(band), 4)
    c.frame(6, 6, 78, 28, rgba("ink"), 1)
    bracket = Canvas(90, 40)
    bracket.rect(0, 0, 22, 9, rgba("ink"))
    bracket.rect(0, 0, 9, 17, rgba("ink"))
    bracket.rect(1, 1, 20, 7, rgba(corner))
    bracket.rect(1, 1, 7, 15, rgba(corner))
    bracket.rect(2, 2, 5, 1, rgba("white"))  # a glint on the top-left bracket
    bracket.rect(2, 2, 1, 5, rgba("white"))
    for b in (bracket, flip(bracket), flipv(bracket), flip(flipv(bracket))):
        c.blit(b, 0, 0)
    return c


def make_stageselectobj():
    c = Canvas(540, 440)
    for i in range(30):
        col, row = i % 6, i // 6
        c.blit(label(i + 1, "gold", "yellow", "orange", "ST"), 90 * col, 40 * row)
        c.blit(label(i + 1, "silver", "white", "slate", "ST", locked=True), 90 * col, 200 + 40 * row)
    c.blit(cursor("white", "crimson"), 0, 400)
    return c


def make_stageselectobj2():
    c = Canvas(540, 240)
    for i in range(30):
        col, row = i % 6, i // 6
        c.blit(label(i + 1, "lime", "white", "green", "MY", tag_colour="teal"), 90 * col, 40 * row)
    c.blit(cursor("white", "plum"), 0, 200)
    return c


# ---------------------------------------------------------------------------------------------------------
# Overlays, drawn with alpha over the stage. Each carries the keys that work on it.

def big_title(cv, text, y, col, shade, f=5):
    w = text_width(text, f, bold=True)
    m = text_mask(text, f, bold=True)
    t = Canvas(m.shape[1], m.shape[0])
    t.a[m] = rgba(col)
    # lower half of each letter in the shade colour for a two-tone look
    half = m.shape[0] * 4 // 7
    t.a[half:][m[half:]] = rgba(shade)
    t = pad(t, 3)
    for _ in range(3):
        t = outline(t, rgba("ink"), diagonal=True)
    cv.blit(t, 320 - w // 2 - 6, y)


def key_lines(cv, lines, y0, size=22, gap=34, col="white"):
    for i, s in enumerate(lines):
        w, _ = jp_size(s, size)
        jp_text(cv, 320 - w // 2, y0 + gap * i, s, size, PAL[col], edge=PAL["ink"], edge_w=2)


def band(cv, y0, y1, col, alpha):
    cv.rect(0, y0, W, y1 - y0, (*PAL[col], alpha))
    cv.rect(0, y0, W, 2, (*PAL["ink"], 200))
    cv.rect(0, y1 - 2, W, 2, (*PAL["ink"], 200))
    cv.rect(0, y0 + 3, W, 1, (*PAL["white"], 120))
    cv.rect(0, y1 - 4, W, 1, (*PAL["white"], 120))


def confetti(cv, seed, y0, y1, n=90):
    r = rng(seed)
    for _ in range(n):
        x, y = int(r.uniform(0, W)), int(r.uniform(y0, y1))
        col = ["yellow", "pink", "cyan", "lime", "orange"][r.integers(5)]
        if r.integers(2):
            cv.rect(x, y, 3, 2, rgba(col))
        else:
            cv.rect(x, y, 2, 3, rgba(col))


def make_gameover():
    cv = Canvas(W, H)
    band(cv, 150, 340, "darkred", 170)
    big_title(cv, "GAME OVER", 170, "pink", "crimson")
    ball = sprites.make_spike_ball(32)
    cv.blit(ball, 64, 178)  # the culprit grins
    cv.blit(ball, 544, 178)
    key_lines(cv, ["Rキー：最後にセーブした所からやり直す", "Sキー：ステージセレクトへ戻る"], 250)
    return cv


def make_stageclear():
    cv = Canvas(W, H)
    band(cv, 150, 340, "navy", 165)
    confetti(cv, 61, 156, 334)
    big_title(cv, "STAGE CLEAR!!", 170, "yellow", "orange")
    key_lines(cv, ["Zキー：次のステージへ進む", "Sキー：ステージセレクトへ戻る"], 250)
    girl = scale(sprites.girl_frame(0), 2)
    cv.blit(sprites.flip(girl), 40, 262)  # both girls face the middle
    cv.blit(girl, 568, 262)
    return cv


def make_stageclear2():
    cv = Canvas(W, H)
    band(cv, 150, 340, "teal", 170)
    confetti(cv, 62, 156, 334, 60)
    big_title(cv, "STAGE CLEAR!!", 170, "lime", "green")
    key_lines(cv, ["自作ステージをクリアーしました！", "Sキー：ステージセレクトへ戻る"], 250)
    return cv


def make_allstageclear():
    cv = Canvas(W, H)
    cv.rect(0, 0, W, H, (*PAL["ink"], 90))
    band(cv, 110, 380, "plum", 185)
    confetti(cv, 63, 116, 374, 160)
    big_title(cv, "ALL CLEAR!!", 130, "yellow", "gold", 7)
    key_lines(cv, ["おめでとう！　全30ステージ制覇！", "Zキー：スタッフクレジットへ"], 230, size=24, gap=44)
    girl = scale(sprites.girl_frame(0), 2)
    cv.blit(sprites.flip(girl), 60, 300)
    cv.blit(girl, 548, 300)
    return cv


def make_pause():
    cv = Canvas(W, H)
    cv.rect(0, 0, W, H, (*PAL["ink"], 130))
    band(cv, 120, 370, "navy", 175)
    big_title(cv, "PAUSE", 140, "cyan", "sky")
    key_lines(cv, ["Tabキー：ゲームに戻る", "Sキー：ステージセレクトへ戻る", "Dキー：この命をあきらめる"], 230)
    return cv
