"""Writes every picture of the game into assets/texture/ (and the desktop icon into assets/).

Usage: /usr/bin/python3 assets/src/make_pictures.py [ASSETS_DIR]
"""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import editor  # noqa: E402
import scenes  # noqa: E402
import sprites  # noqa: E402
from pixel import Canvas, rgba, scale, sprite  # noqa: E402

# file name -> (maker, expected size)
PICTURES = {
    "velmora.png": (sprites.make_velmora, (240, 80)),
    "wait.png": (scenes.make_wait, (200, 120)),
    "girl.png": (sprites.make_girl, (128, 32)),
    "mapparts.png": (sprites.make_mapparts, (512, 64)),
    "countballoon.png": (sprites.make_countballoon, (640, 96)),
    "bg01.png": (scenes.bg_meadow, (640, 480)),
    "bg02.png": (scenes.bg_forest, (640, 480)),
    "bg03.png": (scenes.bg_cave, (640, 480)),
    "bg04.png": (scenes.bg_castle, (640, 480)),
    "bg05.png": (scenes.bg_night, (640, 480)),
    "titlescreen.png": (scenes.make_titlescreen, (640, 480)),
    "titlescreenobj.png": (sprites.make_titlescreenobj, (256, 64)),
    "stageselectbg.png": (scenes.make_stageselectbg, (640, 480)),
    "stageselectobj.png": (scenes.make_stageselectobj, (540, 440)),
    "stageselectobj2.png": (scenes.make_stageselectobj2, (540, 240)),
    "gameover.png": (scenes.make_gameover, (640, 480)),
    "stageclear.png": (scenes.make_stageclear, (640, 480)),
    "stageclear2.png": (scenes.make_stageclear2, (640, 480)),
    "allstageclear.png": (scenes.make_allstageclear, (640, 480)),
    "pause.png": (scenes.make_pause, (640, 480)),
    "liquid.png": (sprites.make_liquid, (3, 3)),
    "parts.png": (editor.make_parts, (512, 512)),
    "scrollbar.png": (editor.make_scrollbar, (60, 40)),
}

# The window icon: the heroine's face on a sky tile, 32 x 32 (drawn 2x for the window, 8x for the desktop).
ICON = [
    "................................",
    "...kkkkkkkkkkkkkkkkkkkkkkkkkk...",
    "..kccccccccccccccccccccccccccK..",
    ".kcccccccccccccckkkcckkkcccccck.",
    ".kccccccccccckkkkyyykkyyykcccck.",
    ".kcccccccccckhhhhkyyyyyyyykccck.",
    ".kccccccccckhhHHhhkyyYyyykcccck.",
    ".kcccccccckhhHHhhhhkkyykkccccck.",
    ".kccccccckhhHhhhhhhhhkkhkcccccK.",
    ".kcccccckhhhhhhhhhhhhhhhhkccccK.",
    ".kccccckhhhhhhhhhhhhhhhhhhkcccK.",
    ".kccccckhhhhhhhhhhhhhhhhhhkcccK.",
    ".kcccckhhhssshhhhhsshhhhhhhkccK.",
    ".kcccckhhssssssssssssshhhhhkccK.",
    ".kcccckhsssssssssssssshhhhhkccK.",
    ".kcccckssskkssssskksssshhhhkccK.",
    ".kcccckssskkssssskkssssShhhkccK.",
    ".kcccckssskkssssskkssssShhhkccK.",
    ".kcccckspppssssssspppsSShhhkccK.",
    ".kccccckssssskkksssssSShhhkcccK.",
    ".kccccckssssssssssssSShhhhkcccK.",
    ".kcccccckkssssssssSSkkhhhkccccK.",
    ".kccccccccckkkkkkkkcckhhkcccccK.",
    ".kcccccccckwwwwwwwwkcckkccccccK.",
    ".kccccccckbbwwccwwbbkcccccccccK.",
    ".kcccccckbbbbwwwwbbbbkccccccccK.",
    ".kccccckbbbbbbbbbbbbbbkcccccccK.",
    ".kccccckbbbbbbbbbbbbbbkcccccccK.",
    ".KcccckbbbbbbbbbbbbbbbbkccccccK.",
    "..KKKKKKKKKKKKKKKKKKKKKKKKKKKK..",
    "................................",
    "................................",
]
ICON_LEGEND = dict(sprites.GIRL_LEGEND, c="sky", K="navy")


def make_icon():
    c = Canvas(32, 32)
    c.blit(sprite(ICON, ICON_LEGEND), 0, 0)
    return c


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")
    tex = os.path.join(root, "texture")
    for name, (maker, size) in PICTURES.items():
        pic = maker()
        assert (pic.w, pic.h) == size, f"{name}: {pic.w}x{pic.h}, expected {size}"
        pic.save(os.path.join(tex, name))
        print(f"  {name:22s} {pic.w}x{pic.h}")
    icon = make_icon()
    scale(icon, 2).save(os.path.join(tex, "icon.png"))
    scale(icon, 8).save(os.path.join(root, "icon256.png"))
    print("  icon.png 64x64, icon256.png 256x256")


if __name__ == "__main__":
    main()
