#!/usr/bin/env python3
"""Draws the help box's two 32 x 32 pictures (the question badge and the close
button) with ImageMagick and writes them, with the bytes the form keeps, beside
this script. Fuchsia is the transparent colour. Run from anywhere."""
import os
import subprocess

HERE = os.path.dirname(os.path.abspath(__file__))
FONT = "DejaVu-Sans-Bold"

PICTURES = {
    # A blue badge with a white question mark.
    "feedback_question": ["-fill", "#2f6fb5", "-stroke", "#1d4b80", "-strokewidth", "2",
                          "-draw", "circle 15.5,15.5 15.5,2",
                          "-stroke", "none", "-fill", "white", "-font", FONT, "-pointsize", "22",
                          "-gravity", "center", "-annotate", "+0+1", "?"],
    # A red round button with a white cross.
    "feedback_close": ["-fill", "#c0392b", "-stroke", "#8e2a1f", "-strokewidth", "2",
                       "-draw", "circle 15.5,15.5 15.5,2",
                       "-stroke", "white", "-strokewidth", "4", "-draw", "line 10,10 21,21",
                       "-draw", "line 21,10 10,21"],
}


def draw(name, ops):
    bmp = os.path.join(HERE, name + ".bmp")
    # No anti-aliasing: the edge stays clean against the transparent colour.
    subprocess.run(["convert", "-size", "32x32", "xc:#ff00ff", "+antialias"] + ops +
                   ["-type", "TrueColor", "BMP3:" + bmp], check=True)
    return open(bmp, "rb").read()


def main():
    lines = ["// Made by app/art/make_feedback_art.py; do not edit.", "#pragma once", "",
             "#include <cstdint>", ""]
    for name, ops in PICTURES.items():
        data = draw(name, ops)
        ident = "k" + "".join(part.capitalize() for part in name.split("_")) + "Bmp"
        lines.append(f"inline constexpr uint8_t {ident}[] = {{")
        for i in range(0, len(data), 16):
            lines.append("    " + ", ".join(f"0x{b:02x}" for b in data[i:i + 16]) + ",")
        lines.append("};")
        lines.append("")
    with open(os.path.join(HERE, "..", "FeedbackArt.inc"), "w") as out:
        out.write("\n".join(lines))


if __name__ == "__main__":
    main()
