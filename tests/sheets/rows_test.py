#!/usr/bin/env python3
"""N strips converted one by one equal one picture of the N stacked strips
converted with --rows N: the glyph records, STARTCHAR to ENDCHAR, byte for
byte. Without a list each strip alone is converted with -v at its first
glyph's place in the stacked font, so the codes line up; with a list, each
strip alone gets its own characters, and the stacked picture a list file of
one line per band, one of a single line that runs across the bands, and the
same lines in --chars, apart by line feeds.

  rows_test.py CVELLICOR WORK_DIR
"""

import difflib
import os
import random
import sys

from PIL import Image

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import bdf_records  # noqa: E402

HEIGHT = 12


def random_strips(rng, count, width):
    """count strips of random glyphs, black on white, each strip's ink in
    rows of its own, two or three blank columns between glyphs."""
    strips = []
    for _ in range(count):
        image = Image.new("RGB", (width, HEIGHT), (255, 255, 255))
        top = rng.randrange(0, HEIGHT // 2)
        bottom = rng.randrange(top + 1, HEIGHT)
        x = rng.randrange(0, 3)
        while True:
            glyph_width = rng.randrange(1, 6)
            if x + glyph_width > width:
                break
            for column in range(x, x + glyph_width):
                rows = [y for y in range(top, bottom + 1) if rng.random() < 0.5] or [rng.randrange(top, bottom + 1)]
                for y in rows:
                    image.putpixel((column, y), (0, 0, 0))
            x += glyph_width + rng.randrange(2, 4)
        strips.append(image)
    return strips


def stacked(strips):
    image = Image.new("RGB", (strips[0].width, HEIGHT * len(strips)))
    for number, strip in enumerate(strips):
        image.paste(strip, (0, number * HEIGHT))
    return image


def records(cvellicor, options, picture):
    return [record.text for record in bdf_records.read_records(bdf_records.convert(cvellicor, options, picture))]


def write_list(path, lines):
    with open(path, "w", encoding="utf-8", newline="\n") as stream:
        stream.write("\n".join(lines) + "\n")


def character_lines(rng, glyph_counts):
    """One line per band naming its glyphs, with a blank character inside
    (blanks take no glyph); no character twice in the list. A band has as
    many glyphs as the conversion of its strip alone."""
    code, lines = 0x100, []
    blanks = rng.sample([" ", "\u00a0", "\u2002", "\u2009", "\u3000", "\u202f"], len(glyph_counts))
    for count, blank in zip(glyph_counts, blanks):
        line = [chr(code + i) for i in range(count)]
        code += count
        line.insert(rng.randrange(1, len(line)), blank)
        lines.append("".join(line))
    return lines


def check(name, alone, together):
    if alone == together:
        print(f"{name}: {len(together)} glyph records identical")
        return True
    differing = [number for number, (one, other) in enumerate(zip(alone, together)) if one != other]
    print(f"{name}: {len(alone)} records from the strips alone, {len(together)} from the stacked picture, "
          f"{len(differing)} differ")
    for number in differing[:3]:
        changes = difflib.unified_diff(alone[number].splitlines(), together[number].splitlines(), "alone", "stacked",
                                       lineterm="", n=0)
        print(f"  record {number}: " + " ".join(line for line in changes if line[:1] in "+-" and line[:3] not in
                                                  ("---", "+++")))
    return False


def run_case(cvellicor, work, seed, count, options):
    rng = random.Random(seed)
    strips = random_strips(rng, count, rng.randrange(40, 90))
    pictures = []
    for number, strip in enumerate(strips):
        pictures.append(os.path.join(work, f"strip{seed}_{number}.bmp"))
        strip.save(pictures[-1])
    sheet = os.path.join(work, f"rows{seed}.bmp")
    stacked(strips).save(sheet)
    label = f"seed {seed}, {count} bands, {' '.join(options)}"
    passed = True

    alone, glyph_counts = [], []
    for picture in pictures:
        alone += records(cvellicor, options + ["-v", str(len(alone))], picture)
        glyph_counts.append(len(alone) - sum(glyph_counts))
    together = records(cvellicor, options + ["--rows", str(count), "-v", "0"], sheet)
    passed = check(f"{label}, codes from -v", alone, together) and passed

    lines = character_lines(rng, glyph_counts)
    per_band = os.path.join(work, f"rows{seed}_lines.txt")
    write_list(per_band, lines)
    one_line = os.path.join(work, f"rows{seed}_line.txt")
    write_list(one_line, ["".join(lines)])
    alone = []
    for number, (picture, line) in enumerate(zip(pictures, lines)):
        own = os.path.join(work, f"strip{seed}_{number}.txt")
        write_list(own, [line])
        alone += records(cvellicor, options + ["--chars-file", own], picture)
    given = (("--chars-file", per_band, "a list file of a line per band"),
             ("--chars-file", one_line, "a list file of one line"),
             ("--chars", "\n".join(lines), "--chars, lines apart by line feeds"))
    for option, value, kind in given:
        together = records(cvellicor, options + ["--rows", str(count), option, value], sheet)
        passed = check(f"{label}, {kind}", alone, together) and passed
    return passed


def main():
    cvellicor, work = sys.argv[1], sys.argv[2]
    os.makedirs(work, exist_ok=True)
    cases = [
        (1, 3, ["--ink", "black", "-a", "1", "-d", "2"]),
        (2, 5, ["--ink", "black", "-d", "3", "-u", "1", "-b", "2", "-l", "1", "-r", "1"]),
        (3, 4, ["--ink", "dark", "-w", "-a", "1", "-d", "1"]),
    ]
    passed = True
    for seed, count, options in cases:
        try:
            passed = run_case(cvellicor, work, seed, count, options) and passed
        except AssertionError as failure:
            print(f"seed {seed}: {failure}")
            passed = False
    return 0 if passed else 1


if __name__ == "__main__":
    sys.exit(main())
