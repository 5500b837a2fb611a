#!/usr/bin/env python3
"""Draws sheets of real fonts for the sheet layouts to read back.

  draw_sheet.py grid FONT.psf[.gz] OUT.png [--charset ascii|cp437]
      the console font in 16 columns of cells, 1-pixel separator lines
      around every cell; without --charset, glyph i of the font in cell i.
  draw_sheet.py marks FONT.pcf[.gz] OUT.png [--rows N]
      every glyph with an advance as a marked strip of N bands, and the
      character list (one line per band) in OUT with .txt in place of .png.

Each prints the cvellicor options that read its sheet back. Needs Pillow.
"""

import argparse
import os
import sys

from PIL import Image

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import font_files  # noqa: E402

PAPER = (255, 255, 255)
INK = (0, 0, 0)
SEPARATOR = (176, 176, 176)  # lighter than mid grey: paper under --ink dark
MARKER = (160, 0, 0)  # darker than mid grey: ink under --ink dark

COLUMNS = 16

# The graphic characters the IBM PC shows for the control codes 0x01 to 0x1F.
_CP437_CONTROLS = [
    0x263A, 0x263B, 0x2665, 0x2666, 0x2663, 0x2660, 0x2022, 0x25D8, 0x25CB, 0x25D9, 0x2642,
    0x2640, 0x266A, 0x266B, 0x263C, 0x25BA, 0x25C4, 0x2195, 0x203C, 0x00B6, 0x00A7, 0x25AC,
    0x21A8, 0x2191, 0x2193, 0x2192, 0x2190, 0x221F, 0x2194, 0x25B2, 0x25BC
]


def charset(name):
    """The characters of a built-in set, one per cell; None is a hole."""
    if name == "ascii":
        return list(range(0x20, 0x7F))
    if name == "cp437":
        return ([None] + _CP437_CONTROLS + [ord(bytes([b]).decode("cp437")) for b in range(0x20, 0x7F)] + [0x2302] +
                [ord(bytes([b]).decode("cp437")) for b in range(0x80, 0x100)])
    raise ValueError(f"unknown character set {name}")


def baseline_descent(font):
    """Rows of the cell below the baseline: those under the letter x."""
    index = font.glyph_for(ord("x"))
    if index is None:
        return 0
    return font.height - 1 - max(y for y, row in enumerate(font.rows[index]) if any(row))


def grid_geometry(font):
    """Origin and gap of the grid sheets: a separator line before every cell."""
    return (1, 1), (1, 1)


def draw_grid(font, cells, path):
    """Draws cells[i] (a glyph index of the font, or None for an empty cell)
    into cell i of a 16-column grid."""
    (ox, oy), (gx, gy) = grid_geometry(font)
    rows = (len(cells) + COLUMNS - 1) // COLUMNS
    step_x, step_y = font.width + gx, font.height + gy
    image = Image.new("RGB", (ox + COLUMNS * step_x, oy + rows * step_y), SEPARATOR)
    pixels = image.load()
    for position in range(rows * COLUMNS):
        index = cells[position] if position < len(cells) else None
        left, top = ox + (position % COLUMNS) * step_x, oy + (position // COLUMNS) * step_y
        for y in range(font.height):
            for x in range(font.width):
                on = index is not None and font.rows[index][y][x]
                pixels[left + x, top + y] = INK if on else PAPER
    image.save(path)


def grid_options(font, descent):
    (ox, oy), (gx, gy) = grid_geometry(font)
    return [
        "--grid", f"{font.width}x{font.height}", "--grid-origin", f"{ox},{oy}", "--grid-gap", f"{gx},{gy}", "--ink",
        "dark", "-d",
        str(descent)
    ]


def markable(glyphs):
    """(code, glyph) of every code with an advance that a list can name: no
    control characters, no line breaks."""
    chosen = []
    for glyph in glyphs:
        for code in glyph.codes:
            control = code < 0x20 or 0x7F <= code < 0xA0 or code in (0x2028, 0x2029, 0xFEFF)
            if glyph.advance > 0 and not control and not 0xD800 <= code < 0xE000:
                chosen.append((code, glyph))
    return sorted(chosen, key=lambda entry: entry[0])


def _overhangs(glyph):
    """Columns of ink left of the advance box and right of it."""
    if not glyph.ink:
        return 0, 0
    xs = [x for x, _ in glyph.ink]
    return max(0, -min(xs)), max(0, max(xs) + 1 - glyph.advance)


def _band_boxes(band):
    """Each glyph's advance box [a, a + advance) in one band, the gaps as
    narrow as the split of a gap (its middle column to the left) allows."""
    boxes, x, previous_right = [], _overhangs(band[0][1])[0], 0
    for number, (_, glyph) in enumerate(band):
        left, right = _overhangs(glyph)
        if number > 0:
            x += max(1, 2 * previous_right - 1, 2 * left)
        boxes.append(x)
        x += glyph.advance
        previous_right = right
    return boxes, x + previous_right


def draw_marks(entries, bands, path):
    """Draws entries (code, glyph) as a marked strip of `bands` bands;
    returns the descent (rows of the band below the baseline)."""
    per_band = (len(entries) + bands - 1) // bands
    split = [entries[b * per_band:(b + 1) * per_band] for b in range(bands)]
    ys = [y for _, glyph in entries for _, y in glyph.ink]
    ascent, descent = max(ys) + 1, max(0, -min(ys))
    height = 1 + ascent + descent
    laid = [_band_boxes(band) for band in split]
    image = Image.new("RGB", (max(width for _, width in laid), bands * height), PAPER)
    pixels = image.load()
    for number, (band, (boxes, _)) in enumerate(zip(split, laid)):
        top = number * height
        for (_, glyph), a in zip(band, boxes):
            for x in range(a, a + glyph.advance):
                pixels[x, top] = MARKER
            for x, y in glyph.ink:
                pixels[a + x, top + ascent - y] = INK
    image.save(path)
    return descent, split


def marks_options(descent, bands, list_path):
    return ["--marks", "--rows", str(bands), "--ink", "dark", "-d", str(descent), "--chars-file", list_path]


def write_list(split, path):
    with open(path, "w", encoding="utf-8", newline="\n") as stream:
        for band in split:
            stream.write("".join(chr(code) for code, _ in band) + "\n")


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("kind", choices=["grid", "marks"])
    parser.add_argument("font")
    parser.add_argument("picture")
    parser.add_argument("--charset", choices=["ascii", "cp437"])
    parser.add_argument("--rows", type=int, default=1)
    args = parser.parse_args()
    if args.kind == "grid":
        font = font_files.read_psf(args.font)
        if args.charset:
            cells = [None if code is None else font.glyph_for(code) for code in charset(args.charset)]
            options = grid_options(font, baseline_descent(font)) + ["--charset", args.charset]
        else:
            cells = list(range(len(font.rows)))
            options = grid_options(font, baseline_descent(font)) + ["-v", "0"]
        draw_grid(font, cells, args.picture)
    else:
        entries = markable(font_files.read_pcf(args.font))
        list_path = os.path.splitext(args.picture)[0] + ".txt"
        descent, split = draw_marks(entries, args.rows, args.picture)
        write_list(split, list_path)
        options = marks_options(descent, args.rows, list_path)
    print("cvellicor " + " ".join(options) + " " + args.picture)


if __name__ == "__main__":
    main()
