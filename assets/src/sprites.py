"""Sprites: the heroine, the map parts, the count balloon, the title sprites and the loading runner."""
import numpy as np

from pixel import (PAL, Canvas, draw_text, flip, outline, pad, rgba, rot90, scale, sprite, text_width, SMALL)

# ---------------------------------------------------------------------------------------------------------
# The heroine. 16 x 32, facing left: raspberry hair with a yellow bow, blue dress, brown boots.

GIRL_LEGEND = {
    "k": "ink", "h": "red", "H": "pink", "y": "yellow", "Y": "gold", "s": "skin", "S": "skinshade",
    "e": "ink", "p": "pink", "w": "white", "b": "blue", "B": "navy", "l": "skin", "L": "skinshade",
    "o": "darkbrown", "O": "brown", "c": "sky",
}

GIRL_TOP = [
    "................",
    "..........kk.kk.",
    ".........kyykyyk",
    "......kkkkyYyyk.",
    ".....khhhHkyykk.",
    "....khhHHhhkkhk.",
    "...khhHhhhhhhhk.",
    "..khhhhhhhhhhhhk",
    "..khhhhhhhhhhhhk",
    ".khhhhhhhhhhhhhk",
    ".khshhhshhhhhhhk",
    ".kssssssshhhhhhk",
    ".ksekssssShhhhhk",
    ".ksekssssShhhhhk",
    ".kpssssSkhhhhhk.",
    "..ksssSSkhhhhhk.",
    "...kkkkkhhhhhk..",
    "....kwwwkkhhk...",
    "...kbwcwbbkk....",
    "..kbbbbbbbbk....",
    "..ksbbbbbbbk....",
    "..kskbbbbbbk....",
    "...kbbbbbbbk....",
    "..kbbbbbbbbbk...",
    "..kBBwBBwBBBk...",
    "...kkkkkkkkk....",
]

# Leg rows (26..31) for the walk cycle: standing (feet together, flat), stride with the near leg forward,
# passing with the far knee raised, stride with the far leg forward and the near foot kicked up behind.
GIRL_LEGS = [
    [
        "....klk.kLk.....",
        "....klk.kLk.....",
        "....klk.kLk.....",
        "...kOok.kook....",
        "..kOoookoook....",
        "...kkkk.kkk.....",
    ],
    [
        "....klk..kLk....",
        "...klk....kLk...",
        "..klk......kLk..",
        ".kOok.....kook..",
        "kOoook....kook..",
        ".kkkk......kk...",
    ],
    [
        "....kLLkklk.....",
        "...kLLk.klk.....",
        "...kLk..klk.....",
        "..kook.kOok.....",
        "..kkkkkOoook....",
        ".......kkkk.....",
    ],
    [
        "....kLk.klk.....",
        "...kLk...klk....",
        "..kLk.....kOok..",
        ".kook....kOoook.",
        "kooook....kkkk..",
        ".kkkk...........",
    ],
]

# Poses of the loading runner (a run, not the walk above).
RUN_STRIDE_NEAR = [
    "....klk.kLk.....",
    "...klk...kLk....",
    "..klk.....kLk...",
    ".kOok.....kook..",
    "kOoook....kook..",
    ".kkkk......kk...",
]
RUN_STRIDE_FAR = [
    "....kLk.klk.....",
    "...kLk...klk....",
    "..kLk.....klk...",
    ".kook.....kOok..",
    "koooo.....kOok..",
    ".kkkk......kk...",
]
RUN_PASS_NEAR = [
    ".....kLklk......",
    ".....kLklk......",
    ".....kLklk......",
    "....koOkook.....",
    "...kooOoook.....",
    "....kkkkkk......",
]
RUN_PASS_FAR = [
    ".....klkLk......",
    ".....klkLk......",
    "....kolkLk......",
    "....kOokook.....",
    "...kOoooook.....",
    "....kkkkkk......",
]
# Arm rows (20..21) by walk frame: at the side, swung back, at the side, swung forward (against the legs).
GIRL_ARMS = [
    ["..ksbbbbbbbk....", "..kskbbbbbbk...."],
    ["..kbbbbbbbksk...", "..kbbbbbbbbkk..."],
    ["..ksbbbbbbbk....", "..kskbbbbbbk...."],
    [".kssbbbbbbbk....", "..kkbbbbbbbk...."],
]


def girl_sprite(arms, legs, eyes_closed=False, bob=False):
    rows = list(GIRL_TOP)
    rows[20:22] = arms
    if eyes_closed:
        rows[11] = ".kskskssshhhhhhk"
        rows[12] = ".ksskssssShhhhhk"
        rows[13] = ".kskskssShhhhhk."[:15] + "k"
    legs = list(legs)
    if bob:
        rows = rows[1:]
        legs = [legs[0]] + legs
    return sprite(rows + legs, GIRL_LEGEND)


def girl_frame(f):
    """Walk frame f; on the passing frame (a knee raised) the body rises a pixel, so the walk bounces."""
    return girl_sprite(GIRL_ARMS[f], GIRL_LEGS[f], bob=f == 2)


def girl_fallen():
    """32 x 32: lying on her back, dizzy, head to the right (mirrored by the game when needed)."""
    g = girl_sprite(GIRL_ARMS[0], RUN_PASS_NEAR, eyes_closed=True)
    lying = rot90(g, 3)  # face up, head to the right: 32 wide, 16 high
    c = Canvas(32, 32)
    c.blit(lying, 0, 15)
    # little dizzy stars above the head
    for (x, y) in ((20, 9), (26, 6), (14, 6)):
        c.px(x, y, rgba("yellow"))
        for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)):
            c.px(x + dx, y + dy, rgba("gold"))
    return c


def make_girl():
    c = Canvas(128, 32)
    for f in range(4):
        c.blit(girl_frame(f), 16 * f, 0)
    c.blit(girl_fallen(), 96, 0)
    return c


# ---------------------------------------------------------------------------------------------------------
# Map parts: 32 x 32 cells.

def bevel_box(c, x, y, w, h, base, light, dark, ink="ink"):
    c.rect(x, y, w, h, rgba(ink))
    c.rect(x + 1, y + 1, w - 2, h - 2, rgba(base))
    c.rect(x + 1, y + 1, w - 2, 2, rgba(light))
    c.rect(x + 1, y + 1, 2, h - 2, rgba(light))
    c.rect(x + 1, y + h - 3, w - 2, 2, rgba(dark))
    c.rect(x + w - 3, y + 1, 2, h - 2, rgba(dark))


def brick_block(base="orange", light="yellow", dark="red", mortar="darkbrown"):
    c = Canvas(32, 32)
    c.rect(0, 0, 32, 32, rgba(mortar))
    for row in range(4):
        y = row * 8
        off = 0 if row % 2 == 0 else -8
        for bx in range(off, 32, 16):
            x0, x1 = max(bx + 1, 1), min(bx + 15, 31)
            if x1 <= x0:
                continue
            c.rect(x0, y + 1, x1 - x0, 6, rgba(base))
            c.hline(x0, x1 - 1, y + 1, rgba(light))
            c.hline(x0, x1 - 1, y + 6, rgba(dark))
    c.frame(0, 0, 32, 32, rgba("ink"))
    return c


def make_block():
    return brick_block()


def make_spike_up():
    """The spike pointing up; the other three are turns of it."""
    c = Canvas(32, 32)
    for y in range(32):
        hw = (y + 2) // 2  # half width, full width at the bottom
        x0, x1 = 16 - hw, 16 + hw - 1
        for x in range(max(x0, 0), min(x1, 31) + 1):
            col = "white" if x < 13 else ("silver" if x < 16 else "slate")
            c.px(x, y, rgba(col))
    # outline: first and last pixel of every row, and the base
    for y in range(32):
        xs = np.nonzero(c.a[y, :, 3])[0]
        if len(xs):
            c.px(xs[0], y, rgba("ink"))
            c.px(xs[-1], y, rgba("ink"))
    c.hline(0, 31, 31, rgba("ink"))
    c.px(15, 0, rgba("ink"))
    c.px(16, 0, rgba("ink"))
    # a glint near the tip
    c.px(14, 6, rgba("white"))
    c.px(14, 7, rgba("white"))
    return c


def spikes():
    up = make_spike_up()
    return {"left": rot90(up, 1), "right": rot90(up, 3), "up": up, "down": rot90(up, 2)}


def make_goal_flag():
    c = Canvas(32, 32)
    # pole
    c.rect(6, 2, 3, 28, rgba("ink"))
    c.vline(7, 3, 28, rgba("silver"))
    c.disc(7, 2, 2, rgba("gold"))
    c.px(6, 1, rgba("yellow"))
    # waving flag
    for x in range(9, 29):
        wave = int(round(1.5 * np.sin((x - 9) / 19 * np.pi * 1.5)))
        top, bot = 4 + wave, 17 + wave
        c.vline(x, top, bot, rgba("green"))
        c.px(x, top, rgba("ink"))
        c.px(x, bot, rgba("ink"))
        if x < 12:
            c.vline(x, top + 1, top + 2, rgba("lime"))
    c.vline(28, 4, 17, rgba("ink"))
    # star on the flag
    star = ["..y..", ".yyy.", "yyyyy", ".yyy.", ".y.y."]
    c.blit(sprite(star, {"y": "yellow"}), 16, 8)
    # base
    c.rect(3, 28, 9, 4, rgba("ink"))
    c.rect(4, 29, 7, 2, rgba("slate"))
    return c


def make_save_block(pressed=False):
    c = Canvas(32, 32)
    if pressed:
        bevel_box(c, 0, 0, 32, 32, "slate", "night", "silver")
        draw_text(c, 9, 13, "OK", rgba("silver"), 1, shadow=rgba("night"))
        c.rect(4, 4, 24, 1, rgba("night"))
    else:
        bevel_box(c, 0, 0, 32, 32, "sky", "cyan", "blue")
        # a floppy-like disk with an S
        c.rect(7, 6, 18, 20, rgba("ink"))
        c.rect(8, 7, 16, 18, rgba("navy"))
        c.rect(11, 7, 10, 6, rgba("silver"))
        c.rect(18, 8, 2, 4, rgba("navy"))
        c.rect(10, 16, 12, 8, rgba("white"))
        draw_text(c, 14, 16, "S", rgba("red"), 1)
        c.px(13, 22, rgba("white"))
    return c


def make_spike_ball(size=32, grin=True):
    """The roving / bouncing spike: a spiked ball with a cheeky face."""
    c = Canvas(size, size)
    m = size / 32
    cx = cy = size / 2 - 0.5
    r_body = 9.5 * m
    # spikes: eight triangles
    for k in range(8):
        ang = k * np.pi / 4
        for t in np.linspace(0, 1, int(40 * m)):
            length = r_body + t * 6.5 * m
            width = (1 - t) * 4.0 * m
            for s in np.linspace(-width, width, max(int(width * 4), 2)):
                x = cx + np.cos(ang) * length - np.sin(ang) * s
                y = cy + np.sin(ang) * length + np.cos(ang) * s
                c.px(int(round(x)), int(round(y)), rgba("silver" if s < 0 else "slate"))
    ys, xs = np.mgrid[0:size, 0:size]
    d = np.hypot(xs - cx, ys - cy)
    body = d <= r_body
    c.a[body] = rgba("plum")
    c.a[body & (np.hypot(xs - cx + 3 * m, ys - cy + 3 * m) <= r_body * 0.75)] = rgba("red")
    c.a[body & (np.hypot(xs - cx - 4.5 * m, ys - cy + 5.5 * m) <= r_body * 0.22)] = rgba("pink")
    c = outline(c, rgba("ink"))
    # the face looks left: angry brows, eyes glancing left, a wide toothy grin
    t = max(int(round(m)), 1)

    def dot(x, y, col, size=t):
        c.rect(int(round(x)), int(round(y)), size, size, rgba(col))

    ey = cy - 3 * m
    for ex, slope in ((cx - 5.5 * m, 1), (cx + 1.0 * m, -1)):
        c.disc(ex, ey, 2.2 * m, rgba("white"))
        dot(ex - 1.6 * m, ey - 0.6 * m, "ink", max(int(round(1.6 * m)), 1))
        for i in range(int(5 * m)):
            dot(ex - 2.5 * m + i, ey - 3.2 * m + slope * i * 0.35 - (0 if slope > 0 else -1.6 * m), "ink")
    x0, x1 = int(round(cx - 8 * m)), int(round(cx + 3.5 * m))
    for x in range(x0, x1 + 1):
        u = (x - x0) / max(x1 - x0, 1)
        top = cy + 2.2 * m + 1.2 * m * np.sin(np.pi * u) * 0.3
        bot = top + (1 + 2.6 * m * np.sin(np.pi * u))
        c.rect(x, int(round(top)), 1, max(int(round(bot - top)), 1), rgba("ink"))
        if m > 1 and (x - x0) % int(2 * m) < m and 0.1 < u < 0.9:
            c.rect(x, int(round(top)) + 1, 1, max(int(m), 1), rgba("white"))
    if m <= 1:
        for x in range(x0 + 1, x1, 2):
            c.px(x, int(round(cy + 2.2 * m)) + 1, rgba("white"))
    return c


def make_signboard():
    c = Canvas(32, 32)
    c.rect(14, 18, 4, 14, rgba("ink"))
    c.rect(15, 18, 2, 14, rgba("brown"))
    c.rect(2, 4, 28, 18, rgba("ink"))
    c.rect(3, 5, 26, 16, rgba("gold"))
    c.rect(3, 5, 26, 2, rgba("yellow"))
    c.rect(3, 19, 26, 2, rgba("brown"))
    for y, w in ((9, 18), (12, 20), (15, 12)):
        c.hline(7, 7 + w, y, rgba("darkbrown"))
    c.px(3, 5, rgba("ink"))
    c.px(28, 5, rgba("ink"))
    return c


LOCK_COLOURS = [("crimson", "pink", "darkred"), ("blue", "sky", "navy"), ("green", "lime", "teal")]


def make_lock_block(n):
    base, light, dark = LOCK_COLOURS[n]
    c = Canvas(32, 32)
    bevel_box(c, 0, 0, 32, 32, base, light, dark)
    # rivets
    for x, y in ((4, 4), (26, 4), (4, 26), (26, 26)):
        c.rect(x, y, 2, 2, rgba(light))
    # keyhole plate
    c.rect(10, 8, 12, 16, rgba("ink"))
    c.rect(11, 9, 10, 14, rgba("yellow"))
    c.disc(15.5, 13.5, 2.5, rgba("ink"))
    c.rect(15, 14, 2, 7, rgba("ink"))
    draw_text(c, 24, 1, str(n + 1), rgba("white"), 1, font=SMALL)
    return c


def make_key(n):
    """A big key in the colour of lock block n: a ring at the left, the bit with two teeth at the right."""
    base, light, dark = LOCK_COLOURS[n]
    k = Canvas(32, 32)
    k.disc(8.5, 15.5, 6.5, rgba(base))
    k.rect(14, 13, 15, 5, rgba(base))
    k.rect(20, 18, 3, 4, rgba(base))
    k.rect(25, 18, 3, 5, rgba(base))
    k.disc(7, 14, 2.5, rgba(light))
    k.hline(14, 28, 13, rgba(light))
    k.hline(14, 28, 17, rgba(dark))
    hole = Canvas(32, 32)
    hole.disc(8.5, 15.5, 2.5, (255, 255, 255, 255))
    k.a[hole.a[..., 3] > 0] = 0
    k = outline(k, rgba("ink"))
    draw_text(k, 3, 23, str(n + 1), rgba("white"), 1, font=SMALL, edge=rgba("ink"))
    return k


def make_balloon_block():
    c = Canvas(32, 32)
    bevel_box(c, 0, 0, 32, 32, "gold", "yellow", "orange")
    for x, y in ((3, 3), (27, 3), (3, 27), (27, 27)):
        c.rect(x, y, 2, 2, rgba("ink"))
    # a little balloon on the block face
    c.disc(15.5, 12, 6.5, rgba("ink"))
    c.disc(15.5, 12, 5.5, rgba("red"))
    c.disc(13.5, 10, 2, rgba("pink"))
    c.rect(15, 19, 2, 1, rgba("ink"))
    c.vline(16, 20, 26, rgba("ink"))
    c.px(15, 23, rgba("ink"))
    return c


def make_breakable_block():
    c = brick_block(base="brown", light="orange", dark="darkbrown", mortar="ink")
    cracks = [(6, 3), (7, 4), (8, 5), (8, 6), (9, 7), (10, 8), (10, 9), (9, 10), (20, 14), (21, 15),
              (22, 16), (22, 17), (23, 18), (24, 19), (14, 24), (15, 25), (16, 26), (16, 27), (17, 28)]
    for x, y in cracks:
        c.px(x, y, rgba("ink"))
        c.px(x + 1, y, rgba("yellow") if (x + y) % 3 == 0 else rgba("darkbrown"))
    return c


def make_ice_block():
    c = Canvas(32, 32)
    bevel_box(c, 0, 0, 32, 32, "cyan", "white", "sky")
    for d in range(-6, 40, 13):
        for i in range(12):
            c.px(d + i, 26 - i, rgba("white"))
            c.px(d + i + 1, 26 - i, rgba("white"))
    c.frame(0, 0, 32, 32, rgba("navy"))
    c.rect(2, 2, 3, 1, rgba("white"))
    c.rect(2, 2, 1, 3, rgba("white"))
    return c


def make_debris():
    """A 12 x 12 shard of the breakable brick."""
    rows = [
        "............",
        "kkkkkkkk....",
        "kOOOOOOOkk..",
        "kOoooooooOk.",
        "kOoooooooook",
        "kOoooooooBk.",
        "kkOoooooBBk.",
        ".kOooooooBk.",
        ".kBBoooBBk..",
        "..kBBBBBk...",
        "..kkkkkk....",
        "............",
    ]
    return sprite(rows, {"k": "ink", "O": "orange", "o": "brown", "B": "darkbrown"})


def make_mapparts():
    c = Canvas(512, 64)
    sp = spikes()
    cells = {
        (0, 0): make_block(), (32, 0): sp["left"], (64, 0): sp["right"], (96, 0): sp["up"],
        (128, 0): sp["down"], (160, 0): make_goal_flag(), (192, 0): make_save_block(),
        (224, 0): make_save_block(True), (256, 0): make_spike_ball(), (288, 0): make_signboard(),
        (0, 32): make_balloon_block(), (32, 32): make_breakable_block(), (64, 32): make_ice_block(),
        (96, 32): make_debris(),
    }
    for n in range(3):
        cells[(320 + 32 * n, 0)] = make_lock_block(n)
        cells[(416 + 32 * n, 0)] = make_key(n)
    for (x, y), cell in cells.items():
        c.blit(cell, x, y)
    return c


# ---------------------------------------------------------------------------------------------------------
# Count balloon: 32 x 48 frames with the seconds left, and four burst frames.

def balloon_colours(sec):
    if sec <= 5:
        return "crimson", "pink", "darkred"
    if sec <= 12:
        return "orange", "yellow", "red"
    if sec <= 24:
        return "green", "lime", "teal"
    return "sky", "cyan", "blue"


def balloon_body(base, light, dark):
    c = Canvas(32, 48)
    ys, xs = np.mgrid[0:48, 0:32]
    cx, cy = 15.5, 15.0
    e = ((xs - cx) / 13.0) ** 2 + ((ys - cy) / 14.5) ** 2
    c.a[e <= 1.0] = rgba(base)
    c.a[(e <= 1.0) & (((xs - cx + 2) / 13.0) ** 2 + ((ys - cy + 2) / 14.5) ** 2 > 1.0)] = rgba(dark)
    c.a[(((xs - 9) / 3.0) ** 2 + ((ys - 7) / 4.0) ** 2) <= 1.0] = rgba(light)
    c.a[(e <= 1.0)] = c.a[(e <= 1.0)]
    # knot
    c.rect(14, 30, 4, 2, rgba(dark))
    c.rect(13, 32, 6, 1, rgba(dark))
    c = outline(c, rgba("ink"))
    # string
    for y in range(34, 48):
        x = 16 + int(round(1.2 * np.sin((y - 34) / 14 * 2 * np.pi)))
        c.px(x, y, rgba("ink"))
    return c


def make_countballoon():
    c = Canvas(640, 96)
    for i in range(36):
        sec = i + 1
        b = balloon_body(*balloon_colours(sec))
        s = str(sec)
        w = text_width(s, 2)
        draw_text(b, 16 - w // 2, 9, s, rgba("white"), 2, edge=rgba("ink"))
        c.blit(b, 32 * (i % 20), 48 * (i // 20))
    # burst: stretch flash, pop star, shreds, last specks
    base, light, dark = "crimson", "pink", "darkred"
    for bf in range(4):
        f = Canvas(32, 48)
        if bf == 0:
            body = balloon_body(base, light, dark)
            f.blit(body, 0, 0)
            for a in range(8):
                ang = a * np.pi / 4
                f.line(int(16 + 10 * np.cos(ang)), int(15 + 10 * np.sin(ang)),
                       int(16 + 15 * np.cos(ang)), int(15 + 15 * np.sin(ang)), rgba("white"))
        elif bf == 1:
            star = [(16 + r * np.cos(a * np.pi / 6), 15 + r * np.sin(a * np.pi / 6))
                    for a in range(12) for r in ((13,) if a % 2 == 0 else (6,))]
            for k in range(12):
                x0, y0 = star[k]
                x1, y1 = star[(k + 1) % 12]
                f.line(int(x0), int(y0), int(x1), int(y1), rgba("yellow"))
            f.disc(16, 15, 4, rgba("white"))
            f.blit(outline(pad(f.crop(0, 0, 32, 48), 0), rgba("gold")), 0, 0)
        else:
            rng = np.random.default_rng(7 + bf)
            n = 10 if bf == 2 else 5
            for k in range(n):
                ang = k / n * 2 * np.pi + rng.uniform(-0.3, 0.3)
                r = (9 if bf == 2 else 14) + rng.uniform(-2, 2)
                x, y = int(16 + r * np.cos(ang)), int(15 + r * np.sin(ang) + (bf - 2) * 4)
                f.rect(x, y, 2, 2 if bf == 2 else 1, rgba(base if k % 2 else light))
                f.px(x + 1, y + 1, rgba("ink"))
        c.blit(f, 512 + 32 * bf, 48)
    return c


# ---------------------------------------------------------------------------------------------------------
# Title sprites and the loading runner.

def make_titlescreenobj():
    c = Canvas(256, 64)
    c.blit(make_spike_ball(64), 0, 0)
    for f in range(4):
        c.blit(scale(girl_frame(f), 2), 64 + 32 * f, 0)
    c.blit(scale(girl_fallen(), 2), 192, 0)
    return c


# Six leg poses for the loading runner (a run rather than a walk: longer strides, a flying frame).
RUN_LEGS = [
    RUN_STRIDE_NEAR,
    [
        "....klk.kLk.....",
        "....klk..kLk....",
        "...klk....kLk...",
        "..kOok.....kook.",
        "..kkkk......kk..",
        "................",
    ],
    RUN_PASS_NEAR,
    RUN_STRIDE_FAR,
    [
        "....kLk.klk.....",
        "....kLk..klk....",
        "...kLk....klk...",
        "..kook.....kOok.",
        "..kkkk......kk..",
        "................",
    ],
    RUN_PASS_FAR,
]
RUN_BOB = [0, -2, 0, 0, -2, 0]


def make_velmora():
    c = Canvas(240, 80)
    for f in range(6):
        g = sprite(GIRL_TOP + RUN_LEGS[f], GIRL_LEGEND)
        big = scale(g, 2)
        c.blit(big, 40 * f + 4, 14 + RUN_BOB[f])
        # a shadow on the ground that shrinks while she is in the air
        w = 18 if RUN_BOB[f] == 0 else 14
        c.rect(40 * f + 20 - w // 2, 78, w, 2, (*PAL["ink"], 110))
    return c


def make_liquid():
    c = Canvas(3, 3)
    c.px(1, 0, (*PAL["crimson"], 200))
    c.px(0, 1, (*PAL["crimson"], 200))
    c.px(1, 1, (*PAL["crimson"], 255))
    c.px(2, 1, (*PAL["darkred"], 220))
    c.px(1, 2, (*PAL["darkred"], 220))
    c.px(0, 0, (*PAL["pink"], 90))
    return c
