"""The stage editor's pictures: the 256-icon part sheet and the palette scroll bar.

Every icon is opaque (the palette draws them without transparency). Parts that show in play look as they do
in play on a dark tile; parts that are invisible in play sit on a hatched tile with a dashed border in their
family's colour and carry their parameters as small labels; the reserved ids are crossed out.
"""
import numpy as np

from pixel import PAL, SMALL, Canvas, draw_text, rgba, text_width
import sprites

DIRS = ["L", "R", "U", "D"]
GROUP_COLOURS = ["crimson", "orange", "yellow", "lime", "green", "cyan", "sky", "pink"]


def tile():
    c = Canvas(32, 32, rgba("night"))
    c.frame(0, 0, 32, 32, (*np.array(PAL["night"]) // 2 + np.array(PAL["ink"]) // 2, 255))
    return c


def hatched(border):
    """The tile of an invisible part: dark diagonal hatching and a dashed border."""
    c = Canvas(32, 32, rgba("ink"))
    for y in range(32):
        for x in range(32):
            if (x + y) % 6 == 0:
                c.px(x, y, rgba("night"))
    for i in range(32):
        col = rgba(border) if (i // 3) % 2 == 0 else rgba("ink")
        c.px(i, 0, col)
        c.px(i, 31, col)
        c.px(0, i, col)
        c.px(31, i, col)
    return c


def badge(c, x, y, text, bg="white", fg="ink"):
    """A small label box with the 3 x 5 font; x, y is its top-left corner."""
    w = text_width(text, 1, SMALL) + 2
    c.rect(x, y, w, 7, rgba(bg))
    draw_text(c, x + 1, y + 1, text, rgba(fg), 1, font=SMALL)
    return w


def arrow(c, cx, cy, d, size, col, edge="ink"):
    """A filled arrow pointing left/right/up/down (d = 0..3), centred on (cx, cy)."""
    a = Canvas(2 * size + 3, 2 * size + 3)
    m = size + 1
    for i in range(size + 1):  # head: a triangle pointing left
        a.vline(m - size + i, m - i, m + i, rgba(col))
    a.rect(m, m - size // 3, size, 2 * (size // 3) + 1, rgba(col))  # shaft
    from pixel import outline, rot90
    a = outline(a, rgba(edge))
    turn = {0: 0, 1: 2, 2: 3, 3: 1}[d]
    a = rot90(a, turn)
    c.blit(a, cx - a.w // 2, cy - a.h // 2)


def ghost(img, alpha=150):
    g = Canvas(img.w, img.h)
    g.a = img.a.copy()
    g.a[..., 3] = (g.a[..., 3].astype(int) * alpha // 255).astype(np.uint8)
    return g


def visible(img):
    c = tile()
    c.blit(img, 0, 0)
    return c


def reserved():
    c = Canvas(32, 32, (*PAL["slate"], 255))
    for y in range(32):
        for x in range(32):
            if (x - y) % 4 == 0:
                c.px(x, y, (*np.array(PAL["slate"]) * 3 // 4, 255))
    c.frame(0, 0, 32, 32, rgba("night"))
    for t in range(-1, 2):
        c.line(6, 6 + t, 25, 25 + t, rgba("darkred"))
        c.line(6, 25 + t, 25, 6 + t, rgba("darkred"))
    draw_text(c, 16 - text_width("NULL", 1, SMALL) // 2, 25, "NULL", rgba("silver"), 1, font=SMALL)
    return c


def part_icon(p, art):
    sp = art["spikes"]
    if p == 0:
        c = tile()
        for i in range(4, 28, 2):
            c.px(i, 4, rgba("slate"))
            c.px(i, 27, rgba("slate"))
            c.px(4, i, rgba("slate"))
            c.px(27, i, rgba("slate"))
        return c
    if p == 1:
        c = hatched("lime")
        c.blit(art["girl"].crop(0, 0, 16, 23), 8, 1)
        draw_text(c, 16 - text_width("START", 1, SMALL) // 2, 25, "START", rgba("lime"), 1, font=SMALL,
                  edge=rgba("ink"))
        return c
    if p == 2:
        return visible(art["goal"])
    if p == 3:
        return visible(art["block"])
    if 4 <= p <= 15:
        n = (p - 4) // 2 + 1
        c = visible(art["save_pressed"] if p % 2 else art["save"])
        badge(c, 24, 24, str(n), "yellow")
        return c
    if 16 <= p <= 19:
        return visible(sp[p - 16])
    if 20 <= p <= 83:
        k = p - 20
        g, s, d = k // 8 + 1, (k // 4) % 2, k % 4
        c = hatched(GROUP_COLOURS[g - 1])
        c.blit(ghost(sp[d], 190), 0, 0)
        badge(c, 1, 1, str(g), GROUP_COLOURS[g - 1])
        badge(c, 26, 24, "SF"[s], "white" if s == 0 else "orange")
        return c
    if 84 <= p <= 89:
        n = p - 83
        c = hatched("sky")
        draw_text(c, 4, 4, "R" + str(n), rgba("sky"), 2, edge=rgba("ink"))
        # a little flag on a line: "play restarts here"
        c.vline(9, 21, 29, rgba("white"))
        c.rect(10, 21, 6, 4, rgba("sky"))
        c.hline(5, 26, 29, rgba("sky"))
        return c
    if 90 <= p <= 95 or p >= 192:
        return reserved()
    if 96 <= p <= 159:
        k = p - 96
        g, s, d = k // 8 + 1, (k // 4) % 2, k % 4
        col = GROUP_COLOURS[g - 1]
        c = hatched(col)
        code = f"{g}{'SF'[s]}{DIRS[d]}M"
        w = text_width(code, 1)
        c.rect(15 - w // 2, 3, w + 3, 10, rgba(col))
        draw_text(c, 16 - w // 2, 4, code, rgba("ink"), 1)
        arrow(c, 16, 22, d, 5, "white" if s == 0 else "orange")
        return c
    if 160 <= p <= 167:
        s, d = (p - 160) // 4, (p - 160) % 4
        c = hatched("orange")
        c.blit(ghost(art["ball"], 200), -3, -3)
        c.rect(19, 19, 12, 12, rgba("ink"))
        arrow(c, 25, 25, d, 4, "white" if s == 0 else "orange")
        badge(c, 1, 25, "SF"[s], "white" if s == 0 else "orange")
        return c
    if 168 <= p <= 175:
        s, d = (p - 168) // 4, (p - 168) % 4
        c = hatched("cyan")
        arrow(c, 16, 15, d, 9, "cyan" if s == 0 else "orange")
        badge(c, 12, 24, "SF"[s], "white" if s == 0 else "orange")
        return c
    if 176 <= p <= 179:
        c = visible(art["sign"])
        badge(c, 24, 24, str(p - 175), "yellow")
        return c
    if 180 <= p <= 183:
        sec = (6, 12, 24, 36)[p - 180]
        c = visible(art["balloon_block"])
        badge(c, 31 - text_width(str(sec), 1, SMALL) - 2, 24, str(sec), "white")
        return c
    if 184 <= p <= 187:
        sec = (6, 12, 24, 36)[p - 184]
        c = tile()
        c.blit(art["balloons"].crop(32 * ((sec - 1) % 20), 48 * ((sec - 1) // 20), 32, 32), 0, 0)
        return c
    if p == 188:
        return visible(art["breakable"])
    if p == 189:
        c = hatched("pink")
        c.blit(ghost(art["ball"], 200), 0, 0)
        # four diagonal arrow heads in the corners: it bounces diagonally
        for (x, y, sx, sy) in ((2, 2, 1, 1), (29, 2, -1, 1), (2, 29, 1, -1), (29, 29, -1, -1)):
            for i in range(5):
                c.px(x + sx * i, y, rgba("pink"))
                c.px(x, y + sy * i, rgba("pink"))
                c.px(x + sx * i, y + sy * i, rgba("white"))
        return c
    if p == 190:
        c = hatched("silver")
        c.blit(ghost(art["block"], 80), 0, 0)
        for i in range(4, 28):
            if (i // 2) % 2 == 0:
                for (x, y) in ((i, 4), (i, 27), (4, i), (27, i)):
                    c.px(x, y, rgba("white"))
        return c
    if p == 191:
        return visible(art["ice"])
    raise ValueError(p)


def make_parts():
    art = {
        "spikes": [sprites.spikes()[k] for k in ("left", "right", "up", "down")],
        "girl": sprites.girl_frame(0),
        "goal": sprites.make_goal_flag(),
        "block": sprites.make_block(),
        "save": sprites.make_save_block(),
        "save_pressed": sprites.make_save_block(True),
        "ball": sprites.make_spike_ball(),
        "sign": sprites.make_signboard(),
        "balloon_block": sprites.make_balloon_block(),
        "balloons": sprites.make_countballoon(),
        "breakable": sprites.make_breakable_block(),
        "ice": sprites.make_ice_block(),
    }
    c = Canvas(512, 512)
    for p in range(256):
        c.blit(part_icon(p, art), 32 * (p % 16), 32 * (p // 16), alpha=False)
    c.a[..., 3] = 255
    return c


def make_scrollbar():
    c = Canvas(60, 40)

    def button(x, y, base, light, dark):
        c.rect(x, y, 20, 20, rgba("ink"))
        c.rect(x + 1, y + 1, 18, 18, rgba(base))
        c.hline(x + 1, x + 18, y + 1, rgba(light))
        c.vline(x + 1, y + 1, y + 18, rgba(light))
        c.hline(x + 1, x + 18, y + 18, rgba(dark))
        c.vline(x + 18, y + 1, y + 18, rgba(dark))

    for (x, y, d, lit) in ((0, 0, 2, False), (20, 0, 2, True), (0, 20, 3, False), (20, 20, 3, True)):
        if lit:
            button(x, y, "yellow", "white", "orange")
        else:
            button(x, y, "slate", "silver", "night")
        arrow(c, x + 10, y + 10, d, 5, "white" if not lit else "red")
    button(40, 0, "sky", "cyan", "blue")
    for y in (6, 9, 12):
        c.hline(45, 54, y, rgba("navy"))
        c.hline(45, 54, y + 1, rgba("cyan"))
    return c
