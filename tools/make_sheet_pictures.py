#!/usr/bin/env python3
"""Draws the README's pictures of the sheet layouts from the sample font's own
drawings (tools/make_sample_font.py), each with what converts it:

  docs/sheets/rows.png   the letters in three rows, rows.txt one line a row
      cvellicor -a 1 -d 2 --rows 3 --chars-file docs/sheets/rows.txt docs/sheets/rows.png
  docs/sheets/grid.png   a 16 x 6 chart of ASCII with grey separator lines
      cvellicor --grid 7x11 --grid-origin 1,1 --grid-gap 1,1 -d 3 --ink dark \\
          --charset ascii docs/sheets/grid.png
  docs/sheets/marks.png  a few glyphs under red advance marks, overhangs drawn
      cvellicor --marks -d 3 --ink dark --chars-file docs/sheets/marks.txt docs/sheets/marks.png

Each picture also gets a larger copy (NAME-zoom.png) for reading on a page.

Needs Pillow (Debian: python3-pil).
"""

import os
import sys

from PIL import Image

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import make_sample_font as sample  # noqa: E402  (the drawings)

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")
OUT = os.path.join(ROOT, "docs", "sheets")
PAPER = (255, 255, 255)
INK = (0, 0, 0)
SEPARATOR = (190, 190, 200)  # lighter than mid grey: not ink under --ink dark
MARK = (200, 0, 0)           # darker than mid grey: ink under --ink dark
ZOOM = 4


def save(image, name, zoom=ZOOM):
    image.save(os.path.join(OUT, name + ".png"))
    zoomed = image.resize((image.width * zoom, image.height * zoom), Image.NEAREST)
    zoomed.save(os.path.join(OUT, name + "-zoom.png"))


def draw_glyph(pixels, char, left, top):
    for y, row in enumerate(sample.glyph_rows(char)):
        for x, ink in enumerate(row):
            if ink:
                pixels[left + x, top + y] = INK


def rows_picture():
    # Each band is framed by its own ink, so each holds a glyph reaching the
    # lowest descender row (g, p, |) for -d 2 to put every baseline alike.
    lines = ["abcdefghijklm", "nopqrstuvwxyz", "ABCDEFGHIJKLMNOPQRSTUVWXYZ|"]
    band = sample.ROWS + 2  # a blank row above and below the glyphs
    widths = [sum(len(sample.GLYPHS[c][0]) + sample.GAP for c in line) + sample.GAP
              for line in lines]
    image = Image.new("RGB", (max(widths), band * len(lines)), PAPER)
    pixels = image.load()
    for number, line in enumerate(lines):
        x = sample.GAP
        for char in line:
            draw_glyph(pixels, char, x, number * band + 1)
            x += len(sample.GLYPHS[char][0]) + sample.GAP
    save(image, "rows")
    with open(os.path.join(OUT, "rows.txt"), "w", encoding="utf-8") as listing:
        listing.write("\n".join(lines) + "\n")


def grid_picture():
    width, height = 7, 11  # a 5 x 9 glyph with a column and a row around it
    image = Image.new("RGB", (1 + 16 * (width + 1), 1 + 6 * (height + 1)), PAPER)
    pixels = image.load()
    for y in range(image.height):
        for x in range(image.width):
            if x % (width + 1) == 0 or y % (height + 1) == 0:
                pixels[x, y] = SEPARATOR
    for code in range(33, 127):
        cell = code - 32
        left = 1 + cell % 16 * (width + 1)
        top = 1 + cell // 16 * (height + 1)
        draw_glyph(pixels, chr(code), left + 1, top + 1)
    save(image, "grid")


def marks_picture():
    # (character, columns the mark starts right of the glyph's first ink
    # column, the mark's length): 'j' hangs left of its advance box, 'f'
    # reaches over the next glyph's box, the space is a mark alone.
    glyphs = [("f", 0, 3), ("j", 1, 3), (" ", 0, 3), ("A", 0, 6), ("V", 0, 6), ("/", 1, 3)]
    gap = 3
    height = 1 + sample.ROWS + 1
    x = 2
    placed = []
    for char, inset, advance in glyphs:
        placed.append((char, x, x + inset, advance))
        width = len(sample.GLYPHS[char][0]) if char != " " else advance
        x += max(width, inset + advance) + gap
    image = Image.new("RGB", (x, height), PAPER)
    pixels = image.load()
    for char, left, mark, advance in placed:
        for column in range(mark, mark + advance):
            pixels[column, 0] = MARK
        if char != " ":
            draw_glyph(pixels, char, left, 1)
    save(image, "marks", zoom=2 * ZOOM)
    with open(os.path.join(OUT, "marks.txt"), "w", encoding="utf-8") as listing:
        listing.write("".join(char for char, _, _ in glyphs) + "\n")


def main():
    os.makedirs(OUT, exist_ok=True)
    rows_picture()
    grid_picture()
    marks_picture()


if __name__ == "__main__":
    main()
