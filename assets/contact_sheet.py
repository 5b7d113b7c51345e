"""A contact sheet: every picture of assets/texture at 1:1 on one page, plus the 256 editor icons with ids.

Usage: /usr/bin/python3 assets/contact_sheet.py OUT.png
Transparent pictures sit on a grey checkerboard so their alpha shows; each carries its name and size.
"""
import os
import sys

from PIL import Image, ImageDraw, ImageFont

HERE = os.path.dirname(os.path.abspath(__file__))
TEX = os.path.join(HERE, "texture")
FONT = "/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf"

# Layout order: small sprites first, then the big sheets and full screens.
ORDER = ["girl.png", "liquid.png", "scrollbar.png", "titlescreenobj.png", "velmora.png", "wait.png",
         "mapparts.png", "countballoon.png", "stageselectobj.png", "stageselectobj2.png", "icon.png",
         "titlescreen.png", "stageselectbg.png", "bg01.png", "bg02.png", "bg03.png", "bg04.png", "bg05.png",
         "gameover.png", "stageclear.png", "stageclear2.png", "allstageclear.png", "pause.png", "parts.png"]

PAGE_W = 2000
GAP = 12
LABEL_H = 16


def checker(w, h, a=(150, 150, 150), b=(110, 110, 110), n=8):
    img = Image.new("RGB", (w, h), a)
    d = ImageDraw.Draw(img)
    for y in range(0, h, n):
        for x in range(0, w, n):
            if (x // n + y // n) % 2:
                d.rectangle([x, y, x + n - 1, y + n - 1], fill=b)
    return img


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else "contact-sheet.png"
    names = ORDER + sorted(n for n in os.listdir(TEX) if n.endswith(".png") and n not in ORDER)
    pics = [(n, Image.open(os.path.join(TEX, n)).convert("RGBA")) for n in names if os.path.exists(
        os.path.join(TEX, n))]
    font = ImageFont.truetype(FONT, 12)
    # shelf packing
    placed, x, y, shelf = [], GAP, GAP, 0
    for name, im in pics:
        w, h = im.width, im.height + LABEL_H
        if x + w + GAP > PAGE_W:
            x, y, shelf = GAP, y + shelf + GAP, 0
        placed.append((name, im, x, y))
        x += max(w, 130) + GAP
        shelf = max(shelf, h)
    grid_y = y + shelf + GAP * 2
    cell = 36  # the editor icons, each with its id under it
    grid_h = 16 * (cell + 12) + 24
    page = Image.new("RGB", (PAGE_W, grid_y + grid_h), (40, 40, 48))
    d = ImageDraw.Draw(page)
    for name, im, px, py in placed:
        d.text((px, py), f"{name} {im.width}x{im.height}", font=font, fill=(230, 230, 230))
        bg = checker(im.width, im.height)
        bg.paste(im, (0, 0), im)
        page.paste(bg, (px, py + LABEL_H))
    parts = Image.open(os.path.join(TEX, "parts.png")).convert("RGBA")
    d.text((GAP, grid_y), "parts.png: editor icons by id", font=font, fill=(230, 230, 230))
    for p in range(256):
        ix, iy = 32 * (p % 16), 32 * (p // 16)
        gx = GAP + (p % 16) * (cell + 12)
        gy = grid_y + 20 + (p // 16) * (cell + 12)
        page.paste(parts.crop((ix, iy, ix + 32, iy + 32)), (gx, gy))
        d.text((gx, gy + 33), str(p), font=font, fill=(200, 200, 120))
    os.makedirs(os.path.dirname(os.path.abspath(out)), exist_ok=True)
    page.save(out)
    print(out, page.size)


if __name__ == "__main__":
    main()
