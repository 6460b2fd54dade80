#!/usr/bin/env python3
"""Draws the program's own art with ImageMagick: the main window's background
(615 x 331), the splash (443 x 209) and the wait box's background (361 x 93) as
JPEG, the 24 button pictures (32 x 32, 24 bits; resource ids 1..32) and the
program icon. Writes into app/art/.

Run from the repository root: python3 app/art/make_app_art.py
"""
import os
import subprocess
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
KEY = "#ff00ff"  # lower-row pictures: the key colour, taken from the bottom-left pixel
FONT = "DejaVu-Sans-Bold"


def magick(*args):
    subprocess.run(["convert", *args], check=True)


def out(name):
    return os.path.join(HERE, name)


# ---- backgrounds ------------------------------------------------------------

def card(x, y, w, h, fill, edge):
    """A memory card outline with its cut corner and contacts."""
    cut = w // 4
    pts = f"{x},{y} {x + w - cut},{y} {x + w},{y + cut} {x + w},{y + h} {x},{y + h}"
    draw = [f"fill {fill} stroke {edge} stroke-width 3 polygon {pts}"]
    for i in range(5):
        cx = x + 10 + i * (w - 24) // 5
        draw.append(f"fill {edge} stroke none rectangle {cx},{y + 8} {cx + 8},{y + 26}")
    return draw


def photo(x, y, w, h, sky, hill):
    """A small photograph: white border, sky, a sun and a hill."""
    return [
        f"fill #f4f4f4 stroke #2a3550 stroke-width 1 rectangle {x},{y} {x + w},{y + h}",
        f"fill {sky} stroke none rectangle {x + 4},{y + 4} {x + w - 4},{y + h - 4}",
        f"fill #ffd34a circle {x + w - 16},{y + 14} {x + w - 10},{y + 14}",
        f"fill {hill} ellipse {x + w // 2},{y + h - 4} {w // 2 - 4},{h // 3} 180,360",
    ]


def main_background():
    tmp = out("_main.png")
    draw = []
    # The illustration: a card giving back its photographs.
    draw += card(54, 96, 112, 150, "#1d2b4a", "#8fb3e0")
    draw += photo(24, 40, 86, 64, "#6fa8dc", "#3d7a3a")
    draw += photo(122, 62, 86, 64, "#e49b5a", "#6b4b2a")
    draw += photo(98, 178, 86, 64, "#8fc6e8", "#2f6a5a")
    draw.append("fill none stroke #ffd34a stroke-width 3 "
                "path 'M 110,150 C 140,130 150,110 150,128'")
    # The command side, darker so white text reads everywhere. Its texts and the lower
    # row start at x 240: the divider stands well left of them, so they keep a margin.
    side = 230
    magick("-size", "615x331", "gradient:#2c4f7c-#0f1d36",
           "(", "-size", f"{615 - side}x331", "gradient:#15284a-#070f20", ")",
           "-geometry", f"+{side}+0", "-composite",
           "-fill", "#3f6aa3", "-draw", f"rectangle {side - 2},0 {side - 1},330",
           "-fill", "#0b1730", "-draw", f"rectangle {side},256 614,330",
           "-fill", "#2c4f7c", "-draw", f"rectangle {side},256 614,257",
           *sum((["-draw", d] for d in draw), []),
           tmp)
    magick(tmp, "-quality", "92", out("main.jpg"))
    return tmp


def splash():
    draw = card(40, 40, 96, 130, "#1d2b4a", "#8fb3e0")
    draw += photo(110, 60, 80, 60, "#6fa8dc", "#3d7a3a")
    magick("-size", "443x209", "gradient:#2c4f7c-#070f20",
           *sum((["-draw", d] for d in draw), []),
           "-font", FONT, "-pointsize", "40", "-fill", "white", "-annotate", "+200+105", "Korvalo 3",
           "-font", "DejaVu-Sans", "-pointsize", "14", "-fill", "#c8d4e8",
           "-annotate", "+203+133", "Get back lost photos and files",
           "-fill", "#3f6aa3", "-draw", "rectangle 0,200 442,208",
           "-quality", "92", out("splash.jpg"))


def wait_background():
    magick("-size", "361x93", "gradient:#f2f6fc-#c9d8ee",
           "-fill", "none", "-stroke", "#3f6aa3", "-strokewidth", "2", "-draw", "rectangle 1,1 359,91",
           "-quality", "92", out("wait.jpg"))


# ---- button pictures --------------------------------------------------------

# Each pictogram: draw primitives in a 32 x 32 square given (line, accent) colours.
def pict_recover(f, a):
    return [f"fill none stroke {f} stroke-width 2 polygon 6,12 20,12 24,16 24,29 6,29",
            f"fill {a} stroke none polygon 16,2 24,10 19,10 19,17 13,17 13,10 8,10"]


def pict_view(f, a):
    return [f"fill none stroke {f} stroke-width 3 circle 13,13 13,4",
            f"fill {a} stroke none circle 13,13 13,9",
            f"stroke {f} stroke-width 4 line 19,19 27,27"]


def pict_help(f, a):
    return [f"fill none stroke {f} stroke-width 2 circle 16,16 16,3",
            f"fill {a} stroke none font-size 20 text 10,24 '?'"]


def pict_exit(f, a):
    return [f"fill none stroke {f} stroke-width 2 rectangle 6,4 18,28",
            f"fill {a} stroke none polygon 28,16 20,9 20,13 12,13 12,19 20,19 20,23"]


def pict_folder(f, a):
    return [f"fill {a} stroke {f} stroke-width 2 polygon 3,8 12,8 15,11 28,11 28,26 3,26",
            f"fill none stroke {f} stroke-width 2 line 3,15 28,15"]


def pict_types(f, a):
    return [f"fill none stroke {f} stroke-width 2 rectangle 6,3 25,28",
            f"fill {a} stroke none rectangle 9,8 12,11", f"fill {a} stroke none rectangle 9,15 12,18",
            f"fill {a} stroke none rectangle 9,22 12,25",
            f"stroke {f} stroke-width 2 line 15,9 22,9", f"stroke {f} stroke-width 2 line 15,16 22,16",
            f"stroke {f} stroke-width 2 line 15,23 22,23"]


def pict_update(f, a):
    # A new version coming down into the program.
    return [f"fill none stroke {f} stroke-width 2 polyline 4,20 4,28 27,28 27,20",
            f"fill {a} stroke none polygon 16,24 24,15 19,15 19,3 13,3 13,15 8,15"]


def pict_delete(f, a):
    return [f"fill none stroke {f} stroke-width 2 rectangle 8,9 23,28",
            f"stroke {f} stroke-width 2 line 5,7 26,7", f"stroke {f} stroke-width 2 line 13,4 18,4",
            f"stroke {a} stroke-width 2 line 12,13 12,24", f"stroke {a} stroke-width 2 line 19,13 19,24"]


def pict_erase(f, a):
    return [f"fill none stroke {f} stroke-width 2 polygon 16,3 27,7 27,16 16,29 5,16 5,7",
            f"stroke {a} stroke-width 3 line 11,11 21,21", f"stroke {a} stroke-width 3 line 21,11 11,21"]


def pict_burn(f, a):
    return [f"fill none stroke {f} stroke-width 2 circle 14,16 14,4",
            f"fill {f} stroke none circle 14,16 14,13",
            f"fill {a} stroke none polygon 24,28 20,22 22,17 24,20 26,14 29,22 28,28"]


def pict_backup(f, a):
    return [f"fill none stroke {f} stroke-width 2 polygon 3,4 11,4 14,7 14,20 3,20",
            f"fill none stroke {f} stroke-width 2 rectangle 17,20 29,29",
            f"fill {a} stroke none polygon 23,4 29,11 25,11 25,17 21,17 21,11 17,11"]


def pict_restore(f, a):
    return [f"fill none stroke {f} stroke-width 2 polygon 17,4 25,4 28,7 28,20 17,20",
            f"fill none stroke {f} stroke-width 2 rectangle 3,20 15,29",
            f"fill {a} stroke none polygon 9,17 3,10 7,10 7,4 11,4 11,10 15,10"]


# (state-2 id, state-3 id, pictogram, upper row)
BUTTONS = [
    (1, 2, pict_recover, True), (3, 4, pict_view, True), (5, 6, pict_help, True),
    (8, 9, pict_folder, False), (11, 12, pict_types, False), (14, 15, pict_delete, False),
    (17, 18, pict_update, False), (20, 21, pict_erase, False), (23, 24, pict_burn, False),
    (26, 27, pict_backup, False), (29, 30, pict_restore, False), (31, 32, pict_exit, True),
]
UPPER_X = {1: 440, 3: 480, 5: 520, 31: 560}
NORMAL = ("#c8d4e8", "#7fa7d9")
HOT = ("#ffffff", "#ffc040")


def button(number, pict, upper, colours, hot, background):
    draw = pict(*colours)
    if upper:
        # An opaque plate cut from the background behind it.
        plate = "#2f4f80" if hot else "#1f355c"
        base = ["(", background, "-crop", f"32x32+{UPPER_X[number if not hot else number - 1]}+198",
                "+repage", ")"]
        base += ["-fill", plate, "-stroke", "#6f93c6", "-strokewidth", "1",
                 "-draw", "roundrectangle 0,0 31,31 6,6"]
        magick(*base, "-stroke", "none", "-font", FONT, *sum((["-draw", d] for d in draw), []),
               "-type", "TrueColor", f"BMP3:{out(f'btn{number:02d}.bmp')}")
    else:
        base = ["-size", "32x32", f"xc:{KEY}", "+antialias"]
        if hot:
            base += ["-fill", "#2f4f80", "-draw", "roundrectangle 1,1 30,29 5,5"]
        magick(*base, "-font", FONT, *sum((["-draw", d] for d in draw), []),
               "-fill", KEY, "-draw", "point 0,31",
               "-type", "TrueColor", f"BMP3:{out(f'btn{number:02d}.bmp')}")


def icon():
    with tempfile.TemporaryDirectory() as tmp:
        files = []
        for size in (32, 16):
            f = os.path.join(tmp, f"i{size}.png")
            magick("-size", "32x32", "xc:none",
                   *sum((["-draw", d] for d in card(3, 2, 24, 28, "#1d2b4a", "#8fb3e0")[:1]), []),
                   "-fill", "#ffc040", "-draw", "polygon 16,8 24,16 19,16 19,24 13,24 13,16 8,16",
                   "-resize", f"{size}x{size}", f)
            files.append(f)
        magick(*files, out("Korvalo3.ico"))


def main():
    background = main_background()
    splash()
    wait_background()
    for normal, hot, pict, upper in BUTTONS:
        button(normal, pict, upper, NORMAL, False, background)
        button(hot, pict, upper, HOT, True, background)
    icon()
    os.remove(background)


if __name__ == "__main__":
    main()
