#!/usr/bin/env python3
"""Draws the sample font strip examples/ascii.bmp: the 94 printable ASCII
glyphs with ink ('!' to '~', codes 33 to 126) side by side in one row of a
one-bit BMP. The space has no drawing: a character list names it, and the
conversion makes it an empty glyph.

The artwork is a small 5x7 design made for this project. Each glyph is drawn
on nine rows: seven down to the baseline and two for descenders. In the picture
these are rows 1 to 9; row 0 stays empty because vellicor places picture row r
on bitmap line r - 1 of a glyph.

How the strip is laid out for vellicor's cutting rules:
- Glyphs are separated by two blank columns and glyphs may hold one single
  blank column inside ('"' is two strokes), so the strip is converted with one
  allowed blank column (-a 1).
- Every glyph needs ink to be cut at all, so the space is not in the strip; the
  character list of the conversion begins with a real space instead.
- Column 0 never belongs to a glyph and a glyph touching the right edge is
  dropped: the strip has two blank columns on both sides.
- The bar '|' reaches from the top row to the last descender row, so the
  tallest ink column, and with it every glyph's box, is nine rows high.

Convert it with a character list whose first character is the space:
    cvellicor -f "Vellicor Sample" -a 1 -d 2 -r 1 \
        --chars " !\"#$%&'()*+,-./0123456789:;<=>?@ABCDEFGHIJKLMNOPQRSTUVWXYZ[\\]^_\`abcdefghijklmnopqrstuvwxyz{|}~" \
        examples/ascii.bmp
or, without a list, with codes counted up from '!':
    cvellicor -f "Vellicor Sample" -v 33 -a 1 -d 2 -r 1 examples/ascii.bmp

Standard library only: the BMP bytes are written here.
"""

import os
import struct
import sys

ROWS = 9          # glyph rows: 7 above and on the baseline, 2 descender rows
GAP = 2           # blank columns between glyphs and at both ends of the strip
ALLOWED_BLANK = 1  # blank columns a glyph may hold inside (the -a option)
FIRST_CODE = 33
FILE_HEADER_SIZE = 14  # "BM", file size, two reserved words, pixel offset
INFO_HEADER_SIZE = 40  # the classic information header
PIXELS_PER_METRE = 2835  # 72 dots per inch

# Glyph drawings, one string per row from the top; '#' is ink, '.' paper.
# Rows left out at the bottom are blank.
GLYPHS = {
    '!': ["#", "#", "#", "#", "#", ".", "#"],
    '"': ["#.#", "#.#"],
    '#': [".#.#.", ".#.#.", "#####", ".#.#.", "#####", ".#.#.", ".#.#."],
    '$': ["..#..", ".####", "#.#..", ".###.", "..#.#", "####.", "..#.."],
    '%': ["##...", "##..#", "...#.", "..#..", ".#...", "#..##", "...##"],
    '&': [".##..", "#..#.", "#.#..", ".#...", "#.#.#", "#..#.", ".##.#"],
    "'": ["#", "#"],
    '(': ["..#", ".#.", "#..", "#..", "#..", ".#.", "..#"],
    ')': ["#..", ".#.", "..#", "..#", "..#", ".#.", "#.."],
    '*': [".....", "..#..", "#.#.#", ".###.", "#.#.#", "..#..", "....."],
    '+': [".....", "..#..", "..#..", "#####", "..#..", "..#..", "....."],
    ',': ["..", "..", "..", "..", "..", ".#", ".#", "#."],
    '-': ["....", "....", "....", "####"],
    '.': ["..", "..", "..", "..", "..", "##", "##"],
    '/': ["....#", "...#.", "...#.", "..#..", ".#...", ".#...", "#...."],
    '0': [".###.", "#...#", "#..##", "#.#.#", "##..#", "#...#", ".###."],
    '1': [".#.", "##.", ".#.", ".#.", ".#.", ".#.", "###"],
    '2': [".###.", "#...#", "....#", "...#.", "..#..", ".#...", "#####"],
    '3': ["#####", "...#.", "..#..", "...#.", "....#", "#...#", ".###."],
    '4': ["...#.", "..##.", ".#.#.", "#..#.", "#####", "...#.", "...#."],
    '5': ["#####", "#....", "####.", "....#", "....#", "#...#", ".###."],
    '6': ["..##.", ".#...", "#....", "####.", "#...#", "#...#", ".###."],
    '7': ["#####", "....#", "...#.", "..#..", ".#...", ".#...", ".#..."],
    '8': [".###.", "#...#", "#...#", ".###.", "#...#", "#...#", ".###."],
    '9': [".###.", "#...#", "#...#", ".####", "....#", "...#.", ".##.."],
    ':': ["..", "..", "##", "##", "..", "##", "##"],
    ';': ["..", "..", "##", "##", "..", "##", ".#", "#."],
    '<': ["...#", "..#.", ".#..", "#...", ".#..", "..#.", "...#"],
    '=': ["....", "....", "####", "....", "####"],
    '>': ["#...", ".#..", "..#.", "...#", "..#.", ".#..", "#..."],
    '?': [".###.", "#...#", "....#", "...#.", "..#..", ".....", "..#.."],
    '@': [".###.", "#...#", "#.###", "#.#.#", "#.###", "#....", ".####"],
    'A': [".###.", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"],
    'B': ["####.", "#...#", "#...#", "####.", "#...#", "#...#", "####."],
    'C': [".###.", "#...#", "#....", "#....", "#....", "#...#", ".###."],
    'D': ["####.", "#...#", "#...#", "#...#", "#...#", "#...#", "####."],
    'E': ["#####", "#....", "#....", "####.", "#....", "#....", "#####"],
    'F': ["#####", "#....", "#....", "####.", "#....", "#....", "#...."],
    'G': [".###.", "#...#", "#....", "#.###", "#...#", "#...#", ".####"],
    'H': ["#...#", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"],
    'I': ["###", ".#.", ".#.", ".#.", ".#.", ".#.", "###"],
    'J': ["..###", "...#.", "...#.", "...#.", "...#.", "#..#.", ".##.."],
    'K': ["#...#", "#..#.", "#.#..", "##...", "#.#..", "#..#.", "#...#"],
    'L': ["#....", "#....", "#....", "#....", "#....", "#....", "#####"],
    'M': ["#...#", "##.##", "#.#.#", "#.#.#", "#...#", "#...#", "#...#"],
    'N': ["#...#", "#...#", "##..#", "#.#.#", "#..##", "#...#", "#...#"],
    'O': [".###.", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."],
    'P': ["####.", "#...#", "#...#", "####.", "#....", "#....", "#...."],
    'Q': [".###.", "#...#", "#...#", "#...#", "#.#.#", "#..#.", ".##.#"],
    'R': ["####.", "#...#", "#...#", "####.", "#.#..", "#..#.", "#...#"],
    'S': [".####", "#....", "#....", ".###.", "....#", "....#", "####."],
    'T': ["#####", "..#..", "..#..", "..#..", "..#..", "..#..", "..#.."],
    'U': ["#...#", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."],
    'V': ["#...#", "#...#", "#...#", "#...#", "#...#", ".#.#.", "..#.."],
    'W': ["#...#", "#...#", "#...#", "#.#.#", "#.#.#", "#.#.#", ".#.#."],
    'X': ["#...#", "#...#", ".#.#.", "..#..", ".#.#.", "#...#", "#...#"],
    'Y': ["#...#", "#...#", ".#.#.", "..#..", "..#..", "..#..", "..#.."],
    'Z': ["#####", "....#", "...#.", "..#..", ".#...", "#....", "#####"],
    '[': ["###", "#..", "#..", "#..", "#..", "#..", "###"],
    '\\': ["#....", ".#...", ".#...", "..#..", "...#.", "...#.", "....#"],
    ']': ["###", "..#", "..#", "..#", "..#", "..#", "###"],
    '^': ["..#..", ".#.#.", "#...#"],
    '_': [".....", ".....", ".....", ".....", ".....", ".....", ".....", "#####"],
    '`': ["#.", ".#"],
    'a': [".....", ".....", ".###.", "....#", ".####", "#...#", ".####"],
    'b': ["#....", "#....", "#.##.", "##..#", "#...#", "#...#", "####."],
    'c': [".....", ".....", ".###.", "#....", "#....", "#...#", ".###."],
    'd': ["....#", "....#", ".##.#", "#..##", "#...#", "#...#", ".####"],
    'e': [".....", ".....", ".###.", "#...#", "#####", "#....", ".###."],
    'f': ["..##", ".#..", "####", ".#..", ".#..", ".#..", ".#.."],
    'g': [".....", ".....", ".####", "#...#", "#...#", ".####", "....#", "#...#", ".###."],
    'h': ["#....", "#....", "#.##.", "##..#", "#...#", "#...#", "#...#"],
    'i': ["#", ".", "#", "#", "#", "#", "#"],
    'j': ["..#", "...", ".##", "..#", "..#", "..#", "..#", "#.#", ".#."],
    'k': ["#...", "#...", "#..#", "#.#.", "##..", "#.#.", "#..#"],
    'l': ["#.", "#.", "#.", "#.", "#.", "#.", ".#"],
    'm': [".....", ".....", "##.#.", "#.#.#", "#.#.#", "#.#.#", "#.#.#"],
    'n': [".....", ".....", "#.##.", "##..#", "#...#", "#...#", "#...#"],
    'o': [".....", ".....", ".###.", "#...#", "#...#", "#...#", ".###."],
    'p': [".....", ".....", "#.##.", "##..#", "#...#", "##..#", "#.##.", "#....", "#...."],
    'q': [".....", ".....", ".##.#", "#..##", "#...#", "#..##", ".##.#", "....#", "....#"],
    'r': [".....", ".....", "#.##.", "##..#", "#....", "#....", "#...."],
    's': [".....", ".....", ".####", "#....", ".###.", "....#", "####."],
    't': [".#..", ".#..", "####", ".#..", ".#..", ".#.#", "..#."],
    'u': [".....", ".....", "#...#", "#...#", "#...#", "#..##", ".##.#"],
    'v': [".....", ".....", "#...#", "#...#", "#...#", ".#.#.", "..#.."],
    'w': [".....", ".....", "#...#", "#...#", "#.#.#", "#.#.#", ".#.#."],
    'x': [".....", ".....", "#...#", ".#.#.", "..#..", ".#.#.", "#...#"],
    'y': [".....", ".....", "#...#", "#...#", "#...#", ".####", "....#", "#...#", ".###."],
    'z': [".....", ".....", "#####", "...#.", "..#..", ".#...", "#####"],
    '{': [".##", ".#.", ".#.", "#..", ".#.", ".#.", ".##"],
    '|': ["#", "#", "#", "#", "#", "#", "#", "#", "#"],
    '}': ["##.", ".#.", ".#.", "..#", ".#.", ".#.", "##."],
    '~': [".....", ".....", ".##.#", "#..#.", "....."],
}


def glyph_rows(char):
    """The glyph's nine rows, each a list of booleans (True is ink)."""
    drawing = GLYPHS[char]
    width = len(drawing[0])
    if any(len(row) != width for row in drawing) or len(drawing) > ROWS:
        sys.exit(f"glyph {char!r}: rows differ in width or are too many")
    rows = [[cell == '#' for cell in row] for row in drawing]
    rows += [[False] * width for _ in range(ROWS - len(rows))]
    return rows


def check_glyph(char, rows):
    """Refuses drawings that vellicor would not cut as one glyph."""
    width = len(rows[0])
    ink = [any(row[x] for row in rows) for x in range(width)]
    if not ink[0] or not ink[-1]:
        sys.exit(f"glyph {char!r}: its first and last columns need ink")
    gaps = "".join('#' if column else '.' for column in ink).split('#')
    inner = [gap for gap in gaps if gap]
    if len(inner) > 1 or any(len(gap) > ALLOWED_BLANK for gap in inner):
        sys.exit(f"glyph {char!r}: at most one run of {ALLOWED_BLANK} blank column inside")


def build_strip():
    """The picture as rows of booleans, row 0 at the top."""
    chars = [chr(code) for code in range(FIRST_CODE, 127)]
    if sorted(GLYPHS) != sorted(chars):
        sys.exit("the drawings must cover exactly the codes 33 to 126")
    picture = [[False] * GAP for _ in range(ROWS + 1)]
    for char in chars:
        rows = glyph_rows(char)
        check_glyph(char, rows)
        picture[0] += [False] * len(rows[0])
        for y, row in enumerate(rows, start=1):
            picture[y] += row
        for line in picture:
            line += [False] * GAP
    return picture


def count_glyphs(picture, allowed):
    """Cuts the picture the way vellicor does and returns (glyphs, tallest)."""
    width = len(picture[0])
    glyphs = tallest = 0
    open_start = None
    run_start = None
    run_length = 0
    gap_taken = False
    for x in range(width):
        ink_rows = [y for y, row in enumerate(picture) if row[x]]
        if ink_rows and ink_rows[-1] != 0:
            if run_start is not None and open_start is not None:
                gap_taken = True
            run_start, run_length = None, 0
            if open_start is None and x != 0:
                open_start = x
            tallest = max(tallest, ink_rows[-1] - ink_rows[0] + 1)
            continue
        if run_start is None:
            run_start = x
        run_length += 1
        if open_start is not None and (run_length > allowed or gap_taken):
            glyphs += 1
            open_start = None
            gap_taken = False
    return glyphs, tallest


def bmp_bytes(picture):
    """A bottom-up one-bit BMP with palette entry 0 black (ink is a 0 bit)."""
    height = len(picture)
    width = len(picture[0])
    stride = ((width + 31) // 32) * 4
    pixels = bytearray()
    for row in reversed(picture):
        line = bytearray(stride)
        for x in range(stride * 8):
            paper = x >= width or not row[x]
            if paper:
                line[x // 8] |= 0x80 >> (x % 8)
        pixels += line
    palette = bytes([0, 0, 0, 0, 255, 255, 255, 0])
    offset = FILE_HEADER_SIZE + INFO_HEADER_SIZE + len(palette)
    file_header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    info_header = struct.pack("<IiiHHIIiiII", INFO_HEADER_SIZE, width, height, 1, 1, 0, len(pixels),
                              PIXELS_PER_METRE, PIXELS_PER_METRE, len(palette) // 4, 0)
    return file_header + info_header + palette + bytes(pixels)


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    target = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, "examples", "ascii.bmp")
    picture = build_strip()
    glyphs, tallest = count_glyphs(picture, ALLOWED_BLANK)
    if glyphs != len(GLYPHS) or tallest != ROWS:
        sys.exit(f"the strip cuts into {glyphs} glyphs of height {tallest}, not {len(GLYPHS)} of {ROWS}")
    with open(target, "wb") as out:
        out.write(bmp_bytes(picture))
    print(f"{target}: {len(picture[0])} x {len(picture)} pixels, {glyphs} glyphs")


if __name__ == "__main__":
    main()
