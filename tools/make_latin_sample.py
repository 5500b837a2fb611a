#!/usr/bin/env python3
"""Draws the second sample strip examples/latin.bmp: accented letters and
signs of Latin-1 and a few box-drawing and shade glyphs, for a font made
with a character list (their codes lie far apart, so they cannot count up
from one first code).

The glyphs share the metrics of the ASCII sample (seven rows down to the
baseline, two below it), so the two fonts can be used together. The box and
shade glyphs fill a cell six columns wide; converted with -w and no blank
columns added, the fixed width is that cell and lines join up.

Convert it with the list printed by this script (also in examples/latin.txt):
    cvellicor -f "Vellicor Latin" -w -a 1 -d 2 --chars-file examples/latin.txt \\
        examples/latin.bmp

Standard library only; the drawing rules and the BMP writer are those of
make_sample_font.py.
"""

import os
import sys

import make_sample_font as sample

# '#' is ink, '.' paper; rows from the top, rows left out at the bottom blank.
GLYPHS = [
    ('à', [".#...", "..#..", ".###.", "....#", ".####", "#...#", ".####"]),
    ('á', ["...#.", "..#..", ".###.", "....#", ".####", "#...#", ".####"]),
    ('â', ["..#..", ".#.#.", ".###.", "....#", ".####", "#...#", ".####"]),
    ('ä', [".#.#.", ".....", ".###.", "....#", ".####", "#...#", ".####"]),
    ('ç', [".....", ".....", ".###.", "#....", "#....", "#...#", ".###.", "..#..", ".#..."]),
    ('è', [".#...", "..#..", ".###.", "#...#", "#####", "#....", ".###."]),
    ('é', ["...#.", "..#..", ".###.", "#...#", "#####", "#....", ".###."]),
    ('ê', ["..#..", ".#.#.", ".###.", "#...#", "#####", "#....", ".###."]),
    ('ë', [".#.#.", ".....", ".###.", "#...#", "#####", "#....", ".###."]),
    ('î', [".#.", "#.#", ".#.", ".#.", ".#.", ".#.", ".#."]),
    ('ï', ["#.#", "...", ".#.", ".#.", ".#.", ".#.", ".#."]),
    ('ñ', [".##.#", "#..#.", "#.##.", "##..#", "#...#", "#...#", "#...#"]),
    ('ô', ["..#..", ".#.#.", ".###.", "#...#", "#...#", "#...#", ".###."]),
    ('ö', [".#.#.", ".....", ".###.", "#...#", "#...#", "#...#", ".###."]),
    ('ù', [".#...", "..#..", "#...#", "#...#", "#...#", "#..##", ".##.#"]),
    ('û', ["..#..", ".#.#.", "#...#", "#...#", "#...#", "#..##", ".##.#"]),
    ('ü', [".#.#.", ".....", "#...#", "#...#", "#...#", "#..##", ".##.#"]),
    ('ß', [".##..", "#..#.", "#..#.", "#.##.", "#...#", "#...#", "#.##."]),
    ('Ç', [".###.", "#...#", "#....", "#....", "#....", "#...#", ".###.", "..#..", ".#..."]),
    ('€', ["..###", ".#...", "####.", ".#...", "####.", ".#...", "..###"]),
    ('£', ["..##.", ".#..#", ".#...", "###..", ".#...", ".#...", "#####"]),
    ('¿', ["..#..", ".....", "..#..", ".#...", "#....", "#...#", ".###."]),
    ('¡', ["#", ".", "#", "#", "#", "#", "#"]),
    ('°', [".#.", "#.#", ".#."]),
    ('·', [".", ".", ".", "#"]),
    ('«', [".....", ".....", "..#.#", ".#.#.", "#.#..", ".#.#.", "..#.#"]),
    ('»', [".....", ".....", "#.#..", ".#.#.", "..#.#", ".#.#.", "#.#.."]),
    ('─', ["......"] * 4 + ["######"] + ["......"] * 4),
    ('═', ["......"] * 3 + ["######", "......", "######"] + ["......"] * 3),
    ('┬', ["......"] * 4 + ["######"] + ["..#..."] * 4),
    ('┴', ["..#..."] * 4 + ["######"] + ["......"] * 4),
    ('┼', ["..#..."] * 4 + ["######"] + ["..#..."] * 4),
    ('█', ["######"] * 9),
    ('▀', ["######"] * 4 + ["......"] * 5),
    ('▄', ["......"] * 4 + ["######"] * 5),
    ('░', ["#..#..", ".#..#.", "..#..#"] * 3),
    ('▒', ["#.#.#.", ".#.#.#"] * 4 + ["#.#.#."]),
    ('▓', ["##.##.", ".##.##", "#.##.#"] * 3),
]


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    target = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, "examples", "latin.bmp")
    list_path = os.path.splitext(target)[0] + ".txt"
    # The ASCII sample's helpers read its table of drawings.
    sample.GLYPHS = dict(GLYPHS)
    picture = [[False] * sample.GAP for _ in range(sample.ROWS + 1)]
    for char, _ in GLYPHS:
        rows = sample.glyph_rows(char)
        sample.check_glyph(char, rows)
        picture[0] += [False] * len(rows[0])
        for y, row in enumerate(rows, start=1):
            picture[y] += row
        for line in picture:
            line += [False] * sample.GAP
    glyphs, tallest = sample.count_glyphs(picture, sample.ALLOWED_BLANK)
    if glyphs != len(GLYPHS) or tallest != sample.ROWS:
        sys.exit(f"the strip cuts into {glyphs} glyphs of height {tallest}")
    with open(target, "wb") as out:
        out.write(sample.bmp_bytes(picture))
    chars = "".join(char for char, _ in GLYPHS)
    with open(list_path, "w", encoding="utf-8") as out:
        out.write(chars + "\n")
    print(f"{target}: {len(picture[0])} x {len(picture)} pixels, {glyphs} glyphs")
    print(f"{list_path}: {chars}")


if __name__ == "__main__":
    main()
