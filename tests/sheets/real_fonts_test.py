#!/usr/bin/env python3
"""Fonts none of us drew, drawn into sheets and read back by cvellicor.

  real_fonts_test.py CVELLICOR WORK_DIR

A console font as a grid with separator lines (codes from -v 0 in place), a
proportional X11 font with negative bearings and overhangs as a marked strip
of several bands with its character list, a 16 x 16 CP437 chart through
--charset cp437, and the bundled sheet examples/ascii_grid.png (the first
font's ASCII glyphs) through --charset ascii. Every glyph of each written
font must have the original's code, advance and ink (bits and BBX offsets
once trimmed to the ink box).
A font that is not installed skips its case; exit status 77 when all skip.
"""

import os
import sys

from PIL import Image

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import bdf_records  # noqa: E402
import draw_sheet  # noqa: E402
import font_files  # noqa: E402

CONSOLE_FONTS = ("/usr/share/consolefonts", "console-setup-linux")
X11_FONTS = ("/usr/share/fonts/X11/misc", "xfonts-base")
SKIPPED = 77
SOURCE_DIR = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..")


def compare(name, expected, font):
    """expected: (code, advance, ink) of every glyph in order."""
    records = bdf_records.read_records(font)
    problems = []
    if [r.code for r in records] != [code for code, _, _ in expected]:
        written = [r.code for r in records]
        first = next((i for i, pair in enumerate(zip(written, expected)) if pair[0] != pair[1][0]),
                     min(len(written), len(expected)))
        problems.append(f"{len(records)} glyphs written, {len(expected)} expected; the codes part at glyph "
                        f"{first}: written {[hex(c) for c in written[first:first + 3]]}, expected "
                        f"{[hex(c) for c, _, _ in expected[first:first + 3]]}")
    for record, (code, advance, ink) in zip(records, expected):
        if record.code == code and (record.advance, record.ink) != (advance, ink):
            problems.append(f"U+{code:04X}: advance {record.advance} (expected {advance}), ink "
                            f"{sorted(record.ink)} (expected {sorted(ink)})")
    blank = sum(1 for _, _, ink in expected if not ink)
    print(f"{name}: {len(expected)} glyphs compared, {len(expected) - blank} with ink, {blank} blank"
          + (f"; {len(problems)} differ" if problems else ""))
    for problem in problems[:10]:
        print("  " + problem)
    return not problems


def console_grid(cvellicor, work, path):
    font = font_files.read_psf(path)
    descent = draw_sheet.baseline_descent(font)
    cells = list(range(len(font.rows)))
    picture = os.path.join(work, "console_grid.bmp")
    draw_sheet.draw_grid(font, cells, picture)
    written = bdf_records.convert(cvellicor, draw_sheet.grid_options(font, descent) + ["-v", "0"], picture)
    inked = [i for i in cells if font.ink(i, descent)]
    expected = [(i, font.width, font.ink(i, descent)) for i in range(inked[-1] + 1)]
    return compare(f"grid, {os.path.basename(path)}", expected, written)


def marked_strip(cvellicor, work, path, bands):
    entries = draw_sheet.markable(font_files.read_pcf(path))
    picture = os.path.join(work, "marked_strip.bmp")
    list_path = os.path.join(work, "marked_strip.txt")
    descent, split = draw_sheet.draw_marks(entries, bands, picture)
    draw_sheet.write_list(split, list_path)
    written = bdf_records.convert(cvellicor, draw_sheet.marks_options(descent, bands, list_path), picture)
    bearings = sum(1 for _, g in entries if g.ink and min(x for x, _ in g.ink) < 0)
    overhangs = sum(1 for _, g in entries if g.ink and max(x for x, _ in g.ink) >= g.advance)
    print(f"marks, {os.path.basename(path)}: {bands} bands; {bearings} glyphs with ink left of the "
          f"advance box, {overhangs} right of it")
    expected = [(code, glyph.advance, glyph.ink) for code, glyph in entries]
    return compare(f"marks, {os.path.basename(path)}", expected, written)


def cp437_chart(cvellicor, work, path):
    font = font_files.read_psf(path)
    descent = draw_sheet.baseline_descent(font)
    codes = draw_sheet.charset("cp437")
    cells = [None if code is None else font.glyph_for(code) for code in codes]
    picture = os.path.join(work, "cp437_chart.bmp")
    draw_sheet.draw_grid(font, cells, picture)
    written = bdf_records.convert(cvellicor, draw_sheet.grid_options(font, descent) + ["--charset", "cp437"], picture)
    expected = [(code, font.width, frozenset() if index is None else font.ink(index, descent))
                for code, index in zip(codes, cells) if code is not None]
    absent = sum(1 for code, index in zip(codes, cells) if code is not None and index is None)
    print(f"cp437: {absent} characters the font lacks stay empty cells")
    return compare(f"cp437 chart, {os.path.basename(path)}", expected, written)


def bundled_grid(cvellicor, work, path):
    """The demo's sheet, drawn from the same console font, through --charset ascii."""
    font = font_files.read_psf(path)
    descent = draw_sheet.baseline_descent(font)
    picture = os.path.join(work, "ascii_grid.bmp")
    Image.open(os.path.join(SOURCE_DIR, "examples", "ascii_grid.png")).save(picture)
    written = bdf_records.convert(cvellicor, draw_sheet.grid_options(font, descent) + ["--charset", "ascii"], picture)
    expected = [(code, font.width, font.ink(font.glyph_for(code), descent)) for code in draw_sheet.charset("ascii")]
    return compare("examples/ascii_grid.png", expected, written)


def main():
    cvellicor, work = sys.argv[1], sys.argv[2]
    os.makedirs(work, exist_ok=True)
    cases = [
        (CONSOLE_FONTS, "Lat15-Fixed16.psf.gz", console_grid, ()),
        (X11_FONTS, "cu12.pcf.gz", marked_strip, (64, )),
        (CONSOLE_FONTS, "Uni2-VGA14.psf.gz", cp437_chart, ()),
        (CONSOLE_FONTS, "Lat15-Fixed16.psf.gz", bundled_grid, ()),
    ]
    ran, passed = 0, True
    for (folder, package), name, case, extra in cases:
        path = os.path.join(folder, name)
        if not os.path.exists(path):
            print(f"skipped {case.__name__}: {path} is not installed (package {package})")
            continue
        ran += 1
        try:
            passed = case(cvellicor, work, path, *extra) and passed
        except AssertionError as failure:
            print(f"{case.__name__}: {failure}")
            passed = False
    if ran == 0:
        return SKIPPED
    return 0 if passed else 1


if __name__ == "__main__":
    sys.exit(main())
