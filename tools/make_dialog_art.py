#!/usr/bin/python3
"""Draws the dialog program's pictures into dialog/resources/.

icon-32.png, icon-16.png: the application icon, a glyph strip being cut into
  letters (a black bar of ink cells over a page), in 16 colours.
vellicor.ico: the same two images for Windows builds.
sample-glyph.png: a 22 x 24 black letter A with smoothed edges on white inside a
  two-pixel black frame, shown among the blank-pixel fields.

Run from anywhere: python3 tools/make_dialog_art.py (needs Pillow).
"""

from pathlib import Path

from PIL import Image, ImageDraw

OUT = Path(__file__).resolve().parent.parent / "dialog" / "resources"

# The classic 16-colour palette that icons of this size use.
PALETTE16 = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, NAVY, TEAL, SILVER, GREY, YELLOW, WHITE = 0, 4, 6, 7, 8, 11, 15

# A 5 x 7 "V" and "A" in cells: '#' ink.
LETTER_V = ["#...#", "#...#", "#...#", ".#.#.", ".#.#.", "..#..", "..#.."]
LETTER_A = ["..#..", ".#.#.", "#...#", "#...#", "#####", "#...#", "#...#"]


def quantise(image):
    """Maps a drawing onto the 16-colour palette: a 4-bit palette image."""
    palette_image = Image.new("P", (1, 1))
    palette_image.putpalette([c for rgb in PALETTE16 for c in rgb])
    return image.convert("RGB").quantize(palette=palette_image, dither=Image.Dither.NONE)


def draw_letter(draw, pattern, left, top, cell, colour):
    for row, line in enumerate(pattern):
        for column, mark in enumerate(line):
            if mark == "#":
                x = left + column * cell
                y = top + row * cell
                draw.rectangle([x, y, x + cell - 1, y + cell - 1], fill=colour)


def icon(size):
    """A sheet of paper with two pixel letters, cut apart by a yellow marker."""
    image = Image.new("RGB", (size, size), PALETTE16[WHITE])
    draw = ImageDraw.Draw(image)
    scale = size // 16
    draw.rectangle([0, 0, size - 1, size - 1], fill=PALETTE16[NAVY])
    draw.rectangle([scale, scale, size - 1 - scale, size - 1 - scale],
                   fill=PALETTE16[WHITE])
    cell = max(1, size // 16)
    top = 4 * cell
    draw_letter(draw, LETTER_V, 2 * cell, top, cell, PALETTE16[BLACK])
    draw_letter(draw, LETTER_A, 9 * cell, top, cell, PALETTE16[BLACK])
    # The cut between the two glyphs, and the baseline below them.
    draw.rectangle([8 * cell, 2 * cell, 8 * cell + cell - 1, 13 * cell - 1],
                   fill=PALETTE16[YELLOW])
    draw.rectangle([2 * cell, 12 * cell, 14 * cell - 1, 12 * cell + cell - 1],
                   fill=PALETTE16[TEAL])
    return quantise(image)


def sample_glyph():
    """22 x 24: white field, two-pixel black frame, anti-aliased black A."""
    width, height, frame = 22, 24, 2
    factor = 8  # drawn large, then reduced, so the edges come out grey
    big = Image.new("L", (width * factor, height * factor), 255)
    draw = ImageDraw.Draw(big)
    stroke = 2.2 * factor
    apex = (width * factor / 2, 4.5 * factor)
    left_foot = (5.0 * factor, 20.0 * factor)
    right_foot = (17.0 * factor, 20.0 * factor)
    draw.line([left_foot, apex], fill=0, width=int(stroke))
    draw.line([apex, right_foot], fill=0, width=int(stroke))
    draw.line([(7.4 * factor, 14.2 * factor), (14.6 * factor, 14.2 * factor)], fill=0,
              width=int(1.8 * factor))
    small = big.resize((width, height), Image.Resampling.LANCZOS)
    framed = ImageDraw.Draw(small)
    for inset in range(frame):
        framed.rectangle([inset, inset, width - 1 - inset, height - 1 - inset], outline=0)
    # 8 bits per pixel with a 256-entry grey palette, as the picture is kept.
    return small.convert("P", palette=Image.Palette.ADAPTIVE, colors=256)


def main():
    OUT.mkdir(parents=True, exist_ok=True)
    large, small = icon(32), icon(16)
    large.save(OUT / "icon-32.png", bits=4)
    small.save(OUT / "icon-16.png", bits=4)
    large.save(OUT / "vellicor.ico", sizes=[(32, 32), (16, 16)], append_images=[small])
    sample_glyph().save(OUT / "sample-glyph.png")


if __name__ == "__main__":
    main()
