"""Shared pixel-art toolkit for the picture generators.

Everything is drawn at 1:1 on RGBA numpy arrays from one limited palette, so the whole game keeps one look.
Sprites are written as character grids (one character per pixel, looked up in a legend), text in the small
pixel font below, Japanese text with the game's own font face (IPAGothic) rendered without anti-aliasing.
"""
import os

import numpy as np
from PIL import Image, ImageDraw, ImageFont

# The palette: a bright, friendly set (based on the "Sweetie 16" idea) plus skin, pink and browns.
PAL = {
    "ink": (26, 28, 44),
    "plum": (93, 39, 93),
    "red": (177, 62, 83),
    "orange": (239, 125, 87),
    "yellow": (255, 205, 117),
    "lime": (167, 240, 112),
    "green": (56, 183, 100),
    "teal": (37, 113, 121),
    "navy": (41, 54, 111),
    "blue": (59, 93, 201),
    "sky": (65, 166, 246),
    "cyan": (115, 239, 247),
    "white": (244, 244, 244),
    "silver": (148, 176, 194),
    "slate": (86, 108, 134),
    "night": (51, 60, 87),
    "skin": (255, 214, 178),
    "skinshade": (236, 160, 128),
    "pink": (255, 128, 170),
    "brown": (150, 92, 62),
    "darkbrown": (92, 56, 48),
    "gold": (255, 170, 40),
    "crimson": (200, 24, 40),
    "darkred": (110, 16, 32),
}


def rgba(name, a=255):
    r, g, b = PAL[name]
    return (r, g, b, a)


def mix(a, b, t):
    """A colour between two palette entries (used sparingly, for background depth)."""
    ca, cb = PAL[a] if isinstance(a, str) else a, PAL[b] if isinstance(b, str) else b
    return tuple(int(round(ca[i] + (cb[i] - ca[i]) * t)) for i in range(3))


class Canvas:
    """An RGBA picture with the few drawing operations the generators need."""

    def __init__(self, w, h, fill=(0, 0, 0, 0)):
        self.a = np.zeros((h, w, 4), dtype=np.uint8)
        self.a[:, :] = fill
        self.w, self.h = w, h

    def px(self, x, y, c):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.a[y, x] = c if len(c) == 4 else (*c, 255)

    def rect(self, x, y, w, h, c):
        x0, y0, x1, y1 = max(x, 0), max(y, 0), min(x + w, self.w), min(y + h, self.h)
        if x0 < x1 and y0 < y1:
            self.a[y0:y1, x0:x1] = c if len(c) == 4 else (*c, 255)

    def frame(self, x, y, w, h, c, t=1):
        self.rect(x, y, w, t, c)
        self.rect(x, y + h - t, w, t, c)
        self.rect(x, y, t, h, c)
        self.rect(x + w - t, y, t, h, c)

    def hline(self, x0, x1, y, c):
        self.rect(min(x0, x1), y, abs(x1 - x0) + 1, 1, c)

    def vline(self, x, y0, y1, c):
        self.rect(x, min(y0, y1), 1, abs(y1 - y0) + 1, c)

    def line(self, x0, y0, x1, y1, c):
        n = max(abs(x1 - x0), abs(y1 - y0), 1)
        for i in range(n + 1):
            self.px(int(round(x0 + (x1 - x0) * i / n)), int(round(y0 + (y1 - y0) * i / n)), c)

    def disc(self, cx, cy, r, c):
        ys, xs = np.ogrid[: self.h, : self.w]
        m = (xs - cx) ** 2 + (ys - cy) ** 2 <= r * r
        self.a[m] = c if len(c) == 4 else (*c, 255)

    def blit(self, src, x, y, alpha=True):
        """Pastes another canvas (or RGBA array); alpha=True composites, False copies."""
        s = src.a if isinstance(src, Canvas) else src
        h, w = s.shape[:2]
        x0, y0 = max(x, 0), max(y, 0)
        x1, y1 = min(x + w, self.w), min(y + h, self.h)
        if x0 >= x1 or y0 >= y1:
            return
        part = s[y0 - y : y1 - y, x0 - x : x1 - x].astype(np.float32)
        dst = self.a[y0:y1, x0:x1].astype(np.float32)
        if not alpha:
            self.a[y0:y1, x0:x1] = part.astype(np.uint8)
            return
        sa = part[..., 3:4] / 255.0
        da = dst[..., 3:4] / 255.0
        oa = sa + da * (1 - sa)
        rgb = np.where(oa > 0, (part[..., :3] * sa + dst[..., :3] * da * (1 - sa)) / np.maximum(oa, 1e-6), 0)
        self.a[y0:y1, x0:x1, :3] = np.round(rgb).astype(np.uint8)
        self.a[y0:y1, x0:x1, 3:4] = np.round(oa * 255).astype(np.uint8)

    def crop(self, x, y, w, h):
        c = Canvas(w, h)
        c.a[:, :] = self.a[y : y + h, x : x + w]
        return c

    def save(self, path):
        os.makedirs(os.path.dirname(path), exist_ok=True)
        Image.fromarray(self.a, "RGBA").save(path, optimize=True)

    def image(self):
        return Image.fromarray(self.a, "RGBA")


def from_image(img):
    c = Canvas(img.width, img.height)
    c.a = np.array(img.convert("RGBA"), dtype=np.uint8)
    return c


def sprite(rows, legend):
    """A canvas from a character grid; '.' and ' ' are transparent."""
    h, w = len(rows), max(len(r) for r in rows)
    c = Canvas(w, h)
    for y, row in enumerate(rows):
        for x, ch in enumerate(row):
            if ch in ". ":
                continue
            col = legend[ch]
            c.px(x, y, rgba(col) if isinstance(col, str) else col)
    return c


def flip(c):
    out = Canvas(c.w, c.h)
    out.a = c.a[:, ::-1].copy()
    return out


def flipv(c):
    out = Canvas(c.w, c.h)
    out.a = c.a[::-1].copy()
    return out


def rot90(c, k=1):
    """Rotates counter-clockwise k quarter turns."""
    out = Canvas(c.h if k % 2 else c.w, c.w if k % 2 else c.h)
    out.a = np.rot90(c.a, k).copy()
    return out


def scale(c, f):
    out = Canvas(c.w * f, c.h * f)
    out.a = c.a.repeat(f, axis=0).repeat(f, axis=1)
    return out


def outline(c, col, diagonal=False):
    """Adds a one-pixel outline in col around every opaque pixel (grows into transparent pixels only)."""
    m = c.a[..., 3] > 0
    g = np.zeros_like(m)
    g[1:, :] |= m[:-1, :]
    g[:-1, :] |= m[1:, :]
    g[:, 1:] |= m[:, :-1]
    g[:, :-1] |= m[:, 1:]
    if diagonal:
        g[1:, 1:] |= m[:-1, :-1]
        g[:-1, :-1] |= m[1:, 1:]
        g[1:, :-1] |= m[:-1, 1:]
        g[:-1, 1:] |= m[1:, :-1]
    g &= ~m
    out = Canvas(c.w, c.h)
    out.a = c.a.copy()
    out.a[g] = col if len(col) == 4 else (*col, 255)
    return out


def pad(c, n):
    out = Canvas(c.w + 2 * n, c.h + 2 * n)
    out.blit(c, n, n, alpha=False)
    return out


# ---------------------------------------------------------------------------------------------------------
# The pixel font: 5 x 7 capitals, digits and a few signs, plus a handful of lowercase letters for the logo.

_GLYPHS = """
A .###. #...# #...# ##### #...# #...# #...#
B ####. #...# #...# ####. #...# #...# ####.
C .###. #...# #.... #.... #.... #...# .###.
D ####. #...# #...# #...# #...# #...# ####.
E ##### #.... #.... ####. #.... #.... #####
F ##### #.... #.... ####. #.... #.... #....
G .###. #...# #.... #.### #...# #...# .####
H #...# #...# #...# ##### #...# #...# #...#
I .###. ..#.. ..#.. ..#.. ..#.. ..#.. .###.
J ..### ...#. ...#. ...#. #..#. #..#. .##..
K #...# #..#. #.#.. ##... #.#.. #..#. #...#
L #.... #.... #.... #.... #.... #.... #####
M #...# ##.## #.#.# #.#.# #...# #...# #...#
N #...# ##..# #.#.# #..## #...# #...# #...#
O .###. #...# #...# #...# #...# #...# .###.
P ####. #...# #...# ####. #.... #.... #....
Q .###. #...# #...# #...# #.#.# #..#. .##.#
R ####. #...# #...# ####. #.#.. #..#. #...#
S .#### #.... #.... .###. ....# ....# ####.
T ##### ..#.. ..#.. ..#.. ..#.. ..#.. ..#..
U #...# #...# #...# #...# #...# #...# .###.
V #...# #...# #...# #...# #...# .#.#. ..#..
W #...# #...# #...# #.#.# #.#.# #.#.# .#.#.
X #...# #...# .#.#. ..#.. .#.#. #...# #...#
Y #...# #...# .#.#. ..#.. ..#.. ..#.. ..#..
Z ##### ....# ...#. ..#.. .#... #.... #####
0 .###. #...# #..## #.#.# ##..# #...# .###.
1 ..#.. .##.. ..#.. ..#.. ..#.. ..#.. .###.
2 .###. #...# ....# ...#. ..#.. .#... #####
3 ##### ...#. ..#.. ...#. ....# #...# .###.
4 ...#. ..##. .#.#. #..#. ##### ...#. ...#.
5 ##### #.... ####. ....# ....# #...# .###.
6 ..##. .#... #.... ####. #...# #...# .###.
7 ##### ....# ...#. ..#.. .#... .#... .#...
8 .###. #...# #...# .###. #...# #...# .###.
9 .###. #...# #...# .#### ....# ...#. .##..
! ..#.. ..#.. ..#.. ..#.. ..#.. ..... ..#..
? .###. #...# ....# ...#. ..#.. ..... ..#..
. ..... ..... ..... ..... ..... ..... ..#..
- ..... ..... ..... .###. ..... ..... .....
: ..... ..#.. ..... ..... ..... ..#.. .....
/ ....# ....# ...#. ..#.. .#... #.... #....
e ..... ..... .###. #...# ##### #.... .###.
l .##.. ..#.. ..#.. ..#.. ..#.. ..#.. .###.
v ..... ..... #...# #...# #...# .#.#. ..#..
o ..... ..... .###. #...# #...# #...# .###.
r ..... ..... #.##. ##..# #.... #.... #....
"""

FONT = {}
for _line in _GLYPHS.strip().splitlines():
    _ch, *_rows = _line.split()
    FONT[_ch] = [[1 if p == "#" else 0 for p in r] for r in _rows]
FONT[" "] = [[0] * 5 for _ in range(7)]

# A 3 x 5 font for the smallest labels (editor icons).
_SMALL = """
0 ### #.# #.# #.# ###
1 .#. ##. .#. .#. ###
2 ##. ..# .#. #.. ###
3 ##. ..# .#. ..# ##.
4 #.# #.# ### ..# ..#
5 ### #.. ##. ..# ##.
6 .## #.. ### #.# ###
7 ### ..# .#. .#. .#.
8 ### #.# ### #.# ###
9 ### #.# ### ..# ##.
S .## #.. .#. ..# ##.
F ### #.. ##. #.. #..
L #.. #.. #.. #.. ###
R ##. #.# ##. #.# #.#
U #.# #.# #.# #.# ###
D ##. #.# #.# #.# ##.
M #.# ### ### #.# #.#
N ##. #.# #.# #.# #.#
T ### .#. .#. .#. .#.
A .#. #.# ### #.# #.#
E ### #.. ##. #.. ###
"""
SMALL = {}
for _line in _SMALL.strip().splitlines():
    _ch, *_rows = _line.split()
    SMALL[_ch] = [[1 if p == "#" else 0 for p in r] for r in _rows]
SMALL[" "] = [[0] * 3 for _ in range(5)]


def text_width(s, f=1, font=None, bold=False):
    font = font or FONT
    gw = len(next(iter(font.values()))[0]) + (1 if bold else 0)
    return len(s) * (gw + 1) * f - f


def text_mask(s, f=1, font=None, bold=False):
    """The pixels of a text; bold doubles every vertical stroke (one font pixel to the right)."""
    font = font or FONT
    gw, gh = len(font["0"][0]), len(font["0"])
    w = text_width(s, f, font, bold)
    m = np.zeros((gh * f, max(w, 1)), dtype=bool)
    for i, ch in enumerate(s):
        g = np.array(font[ch], dtype=bool)
        if bold:
            g = np.pad(g, ((0, 0), (0, 1)))
            g[:, 1:] |= g[:, :-1].copy()
        g = g.repeat(f, 0).repeat(f, 1)
        x = i * (gw + (2 if bold else 1)) * f
        m[:, x : x + g.shape[1]] |= g
    return m


def draw_text(cv, x, y, s, col, f=1, font=None, shadow=None, edge=None, bold=False):
    """Pixel text with an optional drop shadow (1 font pixel) and a one-pixel edge."""
    m = text_mask(s, f, font, bold)
    t = Canvas(m.shape[1], m.shape[0])
    t.a[m] = col if len(col) == 4 else (*col, 255)
    if edge is not None:
        t = outline(pad(t, 1), edge, diagonal=True)
        x, y = x - 1, y - 1
    if shadow is not None:
        sh = Canvas(t.w, t.h)
        sh.a[t.a[..., 3] > 0] = shadow if len(shadow) == 4 else (*shadow, 255)
        cv.blit(sh, x + f, y + f)
    cv.blit(t, x, y)
    return m.shape[1]


# ---------------------------------------------------------------------------------------------------------
# Japanese text with the game's font face.

JP_FONT = "/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf"


def jp_text(cv, x, y, s, size, col, edge=None, edge_w=2, anchor="la"):
    """Draws s crisp (no anti-aliasing) with IPAGothic; edge draws a solid outline edge_w pixels wide."""
    font = ImageFont.truetype(JP_FONT, size)
    img = Image.new("RGBA", (cv.w, cv.h), (0, 0, 0, 0))
    d = ImageDraw.Draw(img)
    d.fontmode = "1"
    kw = {}
    if edge is not None:
        kw = dict(stroke_width=edge_w, stroke_fill=(*edge[:3], 255))
    d.text((x, y), s, font=font, fill=(*col[:3], 255), anchor=anchor, **kw)
    cv.blit(from_image(img), 0, 0)


def jp_size(s, size):
    font = ImageFont.truetype(JP_FONT, size)
    l, t, r, b = font.getbbox(s)
    return r - l, b - t


# ---------------------------------------------------------------------------------------------------------
# Dithering helpers for calm gradients made of palette colours only.

BAYER4 = np.array([[0, 8, 2, 10], [12, 4, 14, 6], [3, 11, 1, 9], [15, 7, 13, 5]]) / 16.0


def dither_bands(cv, x, y, w, h, colours, vertical=True, noise=None):
    """Fills a box with bands of colours, ordered-dithered at the band edges (a stepped gradient)."""
    n = len(colours) - 1
    ys, xs = np.mgrid[0:h, 0:w]
    t = (ys / max(h - 1, 1)) if vertical else (xs / max(w - 1, 1))
    pos = t * n
    if noise is not None:
        pos = pos + noise[:h, :w]
    lo = np.clip(np.floor(pos).astype(int), 0, n)
    frac = pos - np.floor(pos)
    thr = BAYER4[(ys + y) % 4, (xs + x) % 4]
    idx = np.where(frac > thr, np.minimum(lo + 1, n), lo)
    cols = np.array([c if len(c) == 4 else (*c, 255) for c in colours], dtype=np.uint8)
    cv.a[y : y + h, x : x + w] = cols[idx]
