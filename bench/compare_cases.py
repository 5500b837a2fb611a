#!/usr/bin/env python3
"""Old against new: draws the cases of bench/compare_builds.sh, runs both
builds of cvellicor on each and compares everything they leave behind.

    compare_cases.py OLD NEW COUNT FOLDER

Every case comes from its own seed (the fixed seed and its number), so one
case can be drawn again alone. About half the cases are plain: a one-bit BMP
strip and short options only. The rest use long options (character lists,
--blank-advance, --ink, --list) on a one-bit BMP, a PNG of any colour type or
a deep BMP. Both builds run in the case's own folder with the same relative
arguments; their exit status, standard output, standard error and every file
they write there must agree byte for byte.
"""
import os
import random
import struct
import subprocess
import sys
import zlib
from itertools import zip_longest

SEED = 20261208
KINDS = ("plain", "long options", "PNG", "deep BMP")
KIND_WEIGHTS = (50, 16, 20, 14)
RUN_SECONDS = 120  # far beyond any case; a wedged build fails instead of hanging

# ---------------------------------------------------------------- glyph strips


def draw_columns(rng, height, glyphs):
    """Ink columns of a strip, left to right: glyphs of random width, height
    and density, gaps inside some glyphs, one to four blank columns after
    each glyph and now and then ink in the top row only."""
    columns = [[False] * height]  # column 0 never starts a glyph
    for _ in range(glyphs):
        width = rng.choice([1, 2, 3, 5, 8, rng.randint(1, 70)])
        top = rng.randint(0, height - 1)
        bottom = rng.randint(top, height - 1)
        density = rng.random()
        for _ in range(width):
            column = [top <= y <= bottom and rng.random() < density for y in range(height)]
            if rng.random() < 0.2:
                column = [False] * height  # a gap inside a glyph
            columns.append(column)
        columns += [[False] * height for _ in range(rng.randint(1, 4))]
        if rng.random() < 0.05:
            columns[-1] = [y == 0 for y in range(height)]  # ink in the top row only
    width = len(columns) + rng.randint(0, 9)
    columns += [[False] * height for _ in range(width - len(columns))]
    return columns


def count_glyphs(columns, allowed_blank):
    """The glyphs the cutter finds in these ink columns: a column is ink when
    it holds ink below row 0; a glyph holds at most one run of blank columns,
    no longer than allowed_blank; column 0 and a glyph open at the right edge
    do not count."""
    count = 0
    open_glyph = False
    blank_run = 0
    gap_taken = False
    for x, column in enumerate(columns):
        if any(column[1:]):
            if blank_run and open_glyph:
                gap_taken = True
            blank_run = 0
            if not open_glyph and x != 0:
                open_glyph = True
            continue
        blank_run += 1
        if open_glyph and (blank_run > allowed_blank or gap_taken):
            count += 1
            open_glyph = False
            gap_taken = False
    return count


def one_bit_bmp(rows, width, top_down, ink_is_one):
    """A one-bit BMP with a black and a white palette entry."""
    stride = (width + 31) // 32 * 4
    data = bytearray()
    for row in rows if top_down else reversed(rows):
        line = bytearray(stride)
        for x, ink in enumerate(row):
            if ink == ink_is_one:
                line[x // 8] |= 0x80 >> (x % 8)
        data += line
    palette = (b"\xff\xff\xff\x00\x00\x00\x00\x00" if ink_is_one else
               b"\x00\x00\x00\x00\xff\xff\xff\x00")
    height = -len(rows) if top_down else len(rows)
    offset = 14 + 40 + len(palette)
    header = struct.pack("<2sIHHI", b"BM", offset + len(data), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 1, 0, len(data), 2835, 2835, 2, 0)
    return header + info + palette + bytes(data)

# ---------------------------------------------------------------- picture formats
#
# A format says how many bits each channel has, whether the picture is grey,
# whether it carries alpha and how many colours it may hold. Colours are drawn
# as fractions and rounded to the format's own sample values, so every writer
# stores them exactly.


class Format:
    def __init__(self, name, bits, grey=False, alpha="none", most_colours=None):
        self.name = name
        self.bits = bits  # (red, green, blue, alpha) bits
        self.grey = grey
        self.alpha = alpha  # "none", "channel" or "key" (one fully transparent colour)
        self.most_colours = most_colours


def png_format(rng):
    """A PNG colour type and depth, with or without a transparency chunk."""
    choice = rng.choice(["grey", "grey", "grey alpha", "rgb", "rgba", "rgba", "palette", "palette"])
    if choice == "grey":
        depth = rng.choice([1, 2, 4, 8, 8, 16])
        key = "key" if rng.random() < 0.25 else "none"
        return Format(f"grey{depth}", (depth,) * 4, grey=True, alpha=key), 0, depth
    if choice == "grey alpha":
        depth = rng.choice([8, 16])
        return Format(f"grey-alpha{depth}", (depth,) * 4, grey=True, alpha="channel"), 4, depth
    if choice == "rgb":
        depth = rng.choice([8, 16])
        key = "key" if rng.random() < 0.25 else "none"
        return Format(f"rgb{depth}", (depth,) * 4, alpha=key), 2, depth
    if choice == "rgba":
        depth = rng.choice([8, 16])
        return Format(f"rgba{depth}", (depth,) * 4, alpha="channel"), 6, depth
    depth = rng.choice([1, 2, 4, 8])
    alpha = "channel" if rng.random() < 0.5 else "none"
    return Format(f"palette{depth}", (8,) * 4, alpha=alpha, most_colours=1 << depth), 3, depth


def bmp_format(rng, deep):
    """A BMP depth and coding: 1, 4 and 8 bits with a palette, 16 bits as
    5-5-5 or 5-6-5, 24 bits, 32 bits without alpha or with an alpha mask."""
    depth = rng.choice([4, 8, 16, 24, 32, 32]) if deep else 1
    if depth <= 8:
        coding = "rle" if depth > 1 and rng.random() < 0.3 else "palette"
        name = f"bmp{depth}" + ("-rle" if coding == "rle" else "")
        return Format(name, (8,) * 4, most_colours=1 << depth), depth, coding
    if depth == 16:
        coding = rng.choice(["555", "565"])
        bits = (5, 5, 5, 8) if coding == "555" else (5, 6, 5, 8)
        return Format(f"bmp16-{coding}", bits), depth, coding
    if depth == 24:
        return Format("bmp24", (8,) * 4), depth, "rgb"
    coding = rng.choice(["rgb", "alpha-v4", "alpha-v5"])
    alpha = "none" if coding == "rgb" else "channel"
    return Format(f"bmp32-{coding}", (8,) * 4, alpha=alpha), depth, coding

# ---------------------------------------------------------------- colours


def luma(red, green, blue):
    return 0.299 * red + 0.587 * green + 0.114 * blue


def quantise(fmt, colour):
    """Fractions (red, green, blue, alpha) as the format's sample values."""
    red, green, blue, alpha = colour
    if fmt.grey and not red == green == blue:
        red = green = blue = luma(red, green, blue)
    if fmt.alpha != "channel":
        alpha = 1.0
    return tuple(round(value * ((1 << bits) - 1))
                 for value, bits in zip((red, green, blue, alpha), fmt.bits))


def random_colour(rng, lightest, darkest, alpha=1.0):
    """A colour whose luma lies between darkest and lightest, grey or not."""
    for _ in range(100):
        if rng.random() < 0.3:
            level = rng.uniform(darkest, lightest)
            return (level, level, level, alpha)
        red, green, blue = rng.random(), rng.random(), rng.random()
        if darkest <= luma(red, green, blue) <= lightest:
            return (red, green, blue, alpha)
    level = (darkest + lightest) / 2
    return (level, level, level, alpha)


HALF_BELOW = 0.5 - 1e-6  # rounds to the largest sample value under one half
HALF_ABOVE = 0.5 + 1e-6  # and to the smallest one above


def palette_for_rule(rng, style, fmt):
    """Ink, fringe and paper colours for a style of picture. The fringe lies
    beside the ink, as anti-aliasing does: under the style's own ink rule the
    fringe is paper, though some fringe colours sit right at the threshold."""
    has_alpha = fmt.alpha == "channel"
    white, black = (1.0, 1.0, 1.0, 1.0), (0.0, 0.0, 0.0, 1.0)
    if style == "black":
        paper = [white if rng.random() < 0.7 else random_colour(rng, 1.0, 0.6)]
        ink = [black]
        fringe = [random_colour(rng, 0.45, 0.02), random_colour(rng, 0.9, 0.5)]
        if fmt.bits[0] >= 8:
            fringe.append((0.004, 0.0, 0.0, 1.0))  # one step away from black
        if has_alpha:
            fringe.append((0.0, 0.0, 0.0, 1.0 - 1e-3))
    elif style == "dark":
        paper = [white if rng.random() < 0.6 else random_colour(rng, 1.0, 0.7)]
        ink = [random_colour(rng, 0.45, 0.0) for _ in range(rng.randint(1, 4))] + [
            (HALF_BELOW,) * 3 + (1.0,)]
        fringe = [random_colour(rng, 0.95, 0.55) for _ in range(rng.randint(1, 3))] + [
            (HALF_ABOVE,) * 3 + (1.0,)]
        if has_alpha:
            fringe.append(random_colour(rng, 0.3, 0.0, alpha=rng.uniform(0.0, 0.4)))
    elif style == "opaque":
        paper = [random_colour(rng, 1.0, 0.0, alpha=rng.choice([0.0, 0.0, rng.uniform(0, 0.4)]))]
        ink = [random_colour(rng, 1.0, 0.0, alpha=rng.choice([1.0, rng.uniform(0.5, 1.0), 0.5]))
               for _ in range(rng.randint(1, 3))]
        fringe = [random_colour(rng, 1.0, 0.0, alpha=rng.choice([HALF_BELOW, rng.uniform(0, 0.5)]))
                  for _ in range(rng.randint(1, 3))]
    else:  # auto: the most common colour is paper, whatever it is
        paper = [random_colour(rng, 1.0, 0.0, alpha=rng.choice([1.0, 1.0, rng.random()]))]
        ink = [random_colour(rng, 1.0, 0.0) for _ in range(rng.randint(1, 3))]
        fringe = [random_colour(rng, 1.0, 0.0, alpha=rng.random())
                  for _ in range(rng.randint(0, 3))]
    return ink, fringe, paper


def paint(rng, fmt, style, columns):
    """The picture as rows of colour numbers, and its colours as sample
    values. Same sample values share one number."""
    ink, fringe, paper = palette_for_rule(rng, style, fmt)
    if fmt.most_colours is not None:
        # Room first for one paper and one ink colour, then for the rest.
        room = fmt.most_colours
        ink = ink[:max(1, min(len(ink), room // 2))]
        fringe = fringe[:max(0, room - len(ink) - len(paper))]
    colours, numbers = [], {}

    def number_of(colour):
        sample = quantise(fmt, colour)
        if sample not in numbers:
            numbers[sample] = len(colours)
            colours.append(sample)
        return numbers[sample]

    paper_number = number_of(paper[0])
    ink_numbers = [number_of(colour) for colour in ink]
    fringe_numbers = [number_of(colour) for colour in fringe]
    if fmt.alpha == "key":
        # One colour becomes fully transparent, mostly a fringe colour; the key
        # covers every pixel of that colour.
        keyed = rng.choice(fringe_numbers if fringe_numbers and rng.random() < 0.8 else ink_numbers)
        colours[keyed] = colours[keyed][:3] + (0,)
    fringe_share = rng.choice([0.0, 0.3, 0.7, 1.0]) if fringe_numbers else 0.0
    height, width = len(columns[0]), len(columns)
    rows = []
    for y in range(height):
        row = []
        for x in range(width):
            if columns[x][y]:
                row.append(ink_numbers[(x // 7 + y // 5) % len(ink_numbers)])
            elif fringe_share and rng.random() < fringe_share and (
                    (x > 0 and columns[x - 1][y]) or (x + 1 < width and columns[x + 1][y]) or
                    (y > 0 and columns[x][y - 1]) or (y + 1 < height and columns[x][y + 1])):
                row.append(rng.choice(fringe_numbers))
            else:
                row.append(paper_number)
        rows.append(row)
    return colours, rows

# ---------------------------------------------------------------- PNG writer

ADAM7 = ((0, 0, 8, 8), (4, 0, 8, 8), (0, 4, 4, 8), (2, 0, 4, 4), (0, 2, 2, 4), (1, 0, 2, 2),
         (0, 1, 1, 2))  # first column, first row, column step, row step


def png_chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))


def paeth(left, up, up_left):
    estimate = left + up - up_left
    to_left, to_up, to_up_left = abs(estimate - left), abs(estimate - up), abs(estimate - up_left)
    if to_left <= to_up and to_left <= to_up_left:
        return left
    return up if to_up <= to_up_left else up_left


def filter_line(kind, line, prior, step):
    """One scanline under PNG filter kind, step being the bytes per pixel."""
    if kind == 0:
        return bytes([0]) + line
    out = bytearray([kind])
    for i, value in enumerate(line):
        left = line[i - step] if i >= step else 0
        up = prior[i]
        if kind == 1:
            out.append((value - left) & 0xFF)
        elif kind == 2:
            out.append((value - up) & 0xFF)
        elif kind == 3:
            out.append((value - (left + up) // 2) & 0xFF)
        else:
            up_left = prior[i - step] if i >= step else 0
            out.append((value - paeth(left, up, up_left)) & 0xFF)
    return bytes(out)


def pack_samples(values, depth):
    """Samples of fewer than 8 bits, packed high bits first."""
    per_byte = 8 // depth
    out = bytearray((len(values) + per_byte - 1) // per_byte)
    for i, value in enumerate(values):
        out[i // per_byte] |= value << (8 - depth * (i % per_byte + 1))
    return bytes(out)


def png(rng, fmt, colour_type, depth, colours, rows):
    """A PNG of the colour type and depth; rows hold colour numbers."""
    width, height = len(rows[0]), len(rows)
    interlaced = rng.random() < 0.3
    channels = {0: 1, 2: 3, 3: 1, 4: 2, 6: 4}[colour_type]
    step = max(1, channels * depth // 8)
    if colour_type == 3 or depth < 8:
        samples = list(range(len(colours))) if colour_type == 3 else [c[0] for c in colours]
        pixel_bytes = None
    else:
        order = {0: (0,), 2: (0, 1, 2), 4: (0, 3), 6: (0, 1, 2, 3)}[colour_type]
        code = ">" + ("H" if depth == 16 else "B") * len(order)
        pixel_bytes = [struct.pack(code, *(c[i] for i in order)) for c in colours]
    # No filter, one filter for every row, or each row its own.
    filtering = rng.choice([[0], [rng.randint(1, 4)], [0, 1, 2, 3, 4]])

    def scanlines(xs, ys):
        out, prior = [], None
        for y in ys:
            picked = [rows[y][x] for x in xs]
            if pixel_bytes is None:
                line = pack_samples([samples[n] for n in picked], depth) if depth < 8 else bytes(
                    samples[n] for n in picked)
            else:
                line = b"".join(pixel_bytes[n] for n in picked)
            prior = prior or bytes(len(line))
            out.append(filter_line(rng.choice(filtering), line, prior, step))
            prior = line
        return out

    if interlaced:
        lines = []
        for first_x, first_y, step_x, step_y in ADAM7:
            xs, ys = range(first_x, width, step_x), range(first_y, height, step_y)
            if len(xs) and len(ys):  # an empty pass has no scanlines at all
                lines += scanlines(xs, ys)
    else:
        lines = scanlines(range(width), range(height))
    data = zlib.compress(b"".join(lines), rng.choice([0, 1, 6, 9]))
    out = b"\x89PNG\r\n\x1a\n" + png_chunk(
        b"IHDR", struct.pack(">IIBBBBB", width, height, depth, colour_type, 0, 0, int(interlaced)))
    if rng.random() < 0.2:
        out += png_chunk(b"tEXt", b"Comment\x00drawn for the comparison")
    if colour_type == 3:
        out += png_chunk(b"PLTE", b"".join(bytes(c[:3]) for c in colours))
        alphas = [c[3] for c in colours]
        if any(a != 255 for a in alphas):
            while alphas[-1] == 255:  # trailing opaque entries may be left out
                alphas.pop()
            out += png_chunk(b"tRNS", bytes(alphas))
    elif fmt.alpha == "key" and any(c[3] == 0 for c in colours):
        keyed = next(c for c in colours if c[3] == 0)
        key = (keyed[0],) if colour_type == 0 else keyed[:3]
        out += png_chunk(b"tRNS", struct.pack(">" + "H" * len(key), *key))
    pieces = rng.choice([1, 1, 2, 3])
    size = len(data) // pieces + 1
    for start in range(0, len(data), size):
        out += png_chunk(b"IDAT", data[start:start + size])
    return out + png_chunk(b"IEND", b"")

# ---------------------------------------------------------------- BMP writer

BI_RGB, BI_RLE8, BI_RLE4, BI_BITFIELDS = 0, 1, 2, 3


def rle_rows(rows, depth):
    """Rows (bottom row first) in BMP run-length coding of 8 or 4 bits:
    runs of one colour, stretches of three or more differing pixels in
    absolute mode padded to a whole word, an end-of-line code after each row
    and the end-of-bitmap code last."""
    four_bits = depth == 4
    out = bytearray()
    for row in reversed(rows):
        x = 0
        while x < len(row):
            differing = 0
            while (x + differing < len(row) and differing < 254 and
                   (x + differing + 1 == len(row) or row[x + differing] != row[x + differing + 1])):
                differing += 1
            if differing >= 3:
                stretch = row[x:x + differing]
                packed = pack_samples(stretch, 4) if four_bits else bytes(stretch)
                out += bytes((0, differing)) + packed + b"\x00" * (len(packed) % 2)
                x += differing
                continue
            run = 1
            while x + run < len(row) and row[x + run] == row[x] and run < 255:
                run += 1
            out += bytes((run, row[x] << 4 | row[x] if four_bits else row[x]))
            x += run
        out += b"\x00\x00"  # end of line
    return bytes(out + b"\x00\x01")  # end of bitmap


def bmp(rng, depth, coding, colours, rows):
    """A BMP of depth bits per pixel, bottom-up or top-down; rows hold
    colour numbers, which are palette indices up to 8 bits."""
    width, height = len(rows[0]), len(rows)
    top_down = coding != "rle" and rng.random() < 0.5  # run-length pictures are bottom-up
    palette = b""
    masks = b""
    info_size, compression = 40, BI_RGB
    if depth <= 8:
        used = rng.choice([len(colours), 0]) if depth > 1 else len(colours)
        count = used or (1 << depth)
        palette = b"".join(bytes((c[2], c[1], c[0], 0)) for c in colours)
        palette += b"\x00" * 4 * (count - len(colours))
        encode = None
    elif depth == 16:
        red_shift = 10 if coding == "555" else 11
        if coding == "565":
            compression = BI_BITFIELDS
            masks = struct.pack("<III", 0xF800, 0x07E0, 0x001F)
        encode = [struct.pack("<H", c[0] << red_shift | c[1] << 5 | c[2]) for c in colours]
        used = 0
    elif depth == 24:
        encode = [bytes((c[2], c[1], c[0])) for c in colours]
        used = 0
    else:
        # The fourth byte of a 32-bit BI_RGB pixel is no alpha; writers leave
        # 0, 255 or anything there.
        fourth = rng.choice([0, 255, None])
        encode = [bytes((c[2], c[1], c[0], rng.randint(0, 255) if fourth is None else fourth))
                  for c in colours]
        used = 0
        if coding != "rgb":
            info_size, compression = (108 if coding == "alpha-v4" else 124), BI_BITFIELDS
            encode = [bytes((c[2], c[1], c[0], c[3])) for c in colours]
    stride = (width * depth + 31) // 32 * 4
    data = bytearray()
    if coding == "rle":
        compression = BI_RLE4 if depth == 4 else BI_RLE8
        data += rle_rows(rows, depth)
    for row in [] if coding == "rle" else rows if top_down else reversed(rows):
        if encode is None:
            line = pack_samples(row, depth) if depth < 8 else bytes(row)
        else:
            line = b"".join(encode[n] for n in row)
        data += line + b"\x00" * (stride - len(line))
    info = struct.pack("<IiiHHIIiiII", info_size, width, -height if top_down else height, 1, depth,
                       compression, len(data), 2835, 2835, used, 0)
    if info_size > 40:
        # Colour masks, then the colour space ("sRGB"), its end points and
        # gamma (unused), and for the fifth version intent and profile.
        info += struct.pack("<IIII", 0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000)
        info += struct.pack("<I", 0x73524742) + bytes(36 + 12)
        if info_size == 124:
            info += struct.pack("<IIII", 4, 0, 0, 0)
    offset = 14 + len(info) + len(masks) + len(palette)
    header = struct.pack("<2sIHHI", b"BM", offset + len(data), 0, 0, offset)
    return header + info + masks + palette + bytes(data)

# ---------------------------------------------------------------- character lists

BLANKS = [0x20, 0xA0, 0x1680] + list(range(0x2000, 0x200B)) + [0x202F, 0x205F, 0x3000]
SCRIPTS = [
    (0x21, 0x7E), (0xA1, 0xFF), (0x391, 0x3C9), (0x410, 0x44F), (0x5D0, 0x5EA), (0x4E00, 0x9FFF),
    (0xAC00, 0xD7A3), (0x1F300, 0x1F64F), (0x10000, 0x10FFFF),
]
RARE = [0x1, 0x7, 0x9, 0x1B, 0x7F, 0x85, 0x9F, 0xAD, 0x301, 0x36F, 0xE000, 0xF8FF, 0xFEFF, 0xFFFD,
        0xFFFE, 0xFFFF, 0x10FFFF]
INVALID_UTF8 = [b"\x80", b"\xbf", b"\xc0\xaf", b"\xc1\xbf", b"\xe0\x80\x80", b"\xed\xa0\x80",
                b"\xed\xbf\xbf", b"\xf0\x80\x80\x80", b"\xf4\x90\x80\x80", b"\xf8\x88\x80\x80\x80",
                b"\xe2\x82", b"\xc3", b"\xff", b"\xfe"]


def drawn_characters(rng, count):
    """count different characters, none of them blank."""
    scripts = rng.sample(SCRIPTS, rng.randint(1, 3))
    if sum(high - low for low, high in scripts) < 2 * count:
        scripts.append(SCRIPTS[-1])  # room enough for any count
    chosen, seen = [], set(BLANKS)
    while len(chosen) < count:
        if rng.random() < 0.02:
            code = rng.choice(RARE)
        else:
            low, high = rng.choice(scripts)
            code = rng.randint(low, high)
        if code in seen or 0xD800 <= code <= 0xDFFF or code == 0:
            continue
        seen.add(code)
        chosen.append(code)
    return chosen


def character_list(rng, glyphs):
    """The bytes of a character list for a picture of about glyphs glyphs:
    mostly one character per glyph, some with blanks among them, some too
    short or too long, with a character twice or with bytes that are no
    UTF-8. Returns (text, what) with what naming the kind of list."""
    what = rng.choices(["matching", "fewer", "more", "twice", "invalid", "empty"],
                       [68, 8, 8, 7, 7, 2])[0]
    count = glyphs
    if what == "fewer":
        count = max(0, glyphs - rng.choice([1, 1, 2, 5, glyphs]))
    elif what == "more":
        count = glyphs + rng.choice([1, 1, 2, 7])
    elif what == "empty":
        count = 0
    codes = drawn_characters(rng, count)
    if rng.random() < 0.4 and what != "empty":
        for blank in rng.sample(BLANKS, rng.choice([1, 1, 2, 5])):
            codes.insert(rng.randint(0, len(codes)), blank)
    if what == "twice":
        if codes and rng.random() < 0.8:
            codes.insert(rng.randint(0, len(codes)), rng.choice(codes))
        else:
            codes += [0x20, 0x20]
    text = "".join(map(chr, codes)).encode("utf-8", "surrogatepass")
    if what == "invalid":
        at = rng.randint(0, len(text))
        while 0 < at < len(text) and (text[at] & 0xC0) == 0x80:
            at -= 1  # between characters, not inside one
        text = text[:at] + rng.choice(INVALID_UTF8) + text[at:]
    return text, what


def list_file(rng, text):
    """A character list file: the text wrapped over lines (LF, CR LF or CR),
    maybe after a byte-order mark, now and then with a NUL byte in it."""
    out = bytearray(b"\xef\xbb\xbf" if rng.random() < 0.3 else b"")
    breaks = rng.choice([b"\n", b"\r\n", b"\r"])
    line_length = rng.choice([1, 8, 40, 10 ** 6])
    characters = 0
    for at, byte in enumerate(text):
        out.append(byte)
        ends_character = at + 1 == len(text) or (text[at + 1] & 0xC0) != 0x80
        if ends_character:
            characters += 1
            if characters % line_length == 0:
                out += breaks
    if rng.random() < 0.5:
        out += breaks
    if rng.random() < 0.03:
        out.insert(rng.randint(0, len(out)), 0)
    return bytes(out)

# ---------------------------------------------------------------- cases


def numeric(rng, extreme):
    return str(rng.choice([0, 0, 1, 2, rng.randint(0, 9), extreme]))


def plain_case(rng):
    """A one-bit strip with its own random short options, some at their extremes."""
    height = rng.choice([2, 3, 8, 16, 17, 24, 33, rng.randint(2, 80)])
    glyphs = rng.choice([1, 2, 5, rng.randint(1, 60), rng.randint(60, 700)])
    columns = draw_columns(rng, height, glyphs)
    rows = [[columns[x][y] for x in range(len(columns))] for y in range(height)]
    picture = one_bit_bmp(rows, len(columns), rng.random() < 0.5, rng.random() < 0.5)
    options = ["-a", numeric(rng, 255), "-v",
               str(rng.choice([0, 32, 65, 65500, rng.randint(0, 65535)])), "-d", numeric(rng, 255),
               "-u", numeric(rng, 255), "-b", numeric(rng, 255), "-l", numeric(rng, 255), "-r",
               numeric(rng, 255), "-f", rng.choice(["Cmp", "Some-Font", "A b"])]
    if rng.random() < 0.4:
        options += ["-w"]
    options += ["-o", "font.bdf"]
    return {"strip.bmp": picture}, [o.encode() for o in options] + [b"strip.bmp"], "bmp1"


def long_option_units(rng, glyphs_at, files, picture):
    """Groups of arguments, to be given in any order before the picture."""
    units = []
    allowed = int(rng.choice(["0", "0", "1", "2", numeric(rng, 9)]))
    if allowed or rng.random() < 0.5:
        units.append([b"-a", str(allowed).encode()])
    for letter in "dublr":
        if rng.random() < 0.4:
            units.append([f"-{letter}".encode(), numeric(rng, 255).encode()])
    if rng.random() < 0.4:
        units.append([b"-f", rng.choice([b"Cmp", b"Long-Font", "F\u00fcnf".encode()])])
    if rng.random() < 0.3:
        units.append([b"-w"])
    if rng.random() < 0.15:
        units.append([b"-v", str(rng.choice([0, 65, 0x4E00, 65535])).encode()])
    if rng.random() < 0.85:
        output = rng.choice([b"font.bdf", b"font.bdf", "f\u00f6nt out.bdf".encode()])
        if rng.random() < 0.03:
            output = rng.choice([picture.encode(), b"no such folder/font.bdf"])  # refused
        units.append([b"-o", output])
    source = rng.choices(["none", "chars", "file"], [25, 45, 30])[0]
    what = "none"
    if source != "none":
        text, what = character_list(rng, glyphs_at(allowed))
        if source == "chars":
            units.append([b"--chars", text] if rng.random() < 0.7 else [b"--chars=" + text])
        else:
            name = rng.choice([b"chars.txt", b"list of chars.txt", "zeichen-\u00e4.txt".encode()])
            if rng.random() < 0.03:
                name = b"missing.txt"  # never written
            else:
                files[name.decode()] = list_file(rng, text)
            units.append([b"--chars-file", name] if rng.random() < 0.7 else
                         [b"--chars-file=" + name])
    if rng.random() < 0.3:
        value = rng.choice([str(rng.randint(1, 1024)), "1", "1024", str(rng.randint(1, 16))])
        if rng.random() < 0.15:
            value = rng.choice(["0", "1025", "-3", "0x20", "12x", "", "99999999999"])
        units.append([b"--blank-advance", value.encode()])
    if rng.random() < 0.2:
        units.append([b"--list"])
    if rng.random() < 0.05:
        refused = [[b"--colour", b"red"], [b"--list=yes"], [b"--ink"], [b"--chars"],
                   [b"--ink", b"black", b"--ink", b"dark"],
                   [b"--chars", b"a", b"--chars-file", b"chars.txt"], [b"--help"], [b"--version"]]
        units.append(rng.choice(refused))  # --help and --version end the run at once
    return units, what


def long_case(rng, kind):
    """A picture for the long options: a one-bit BMP, a PNG or a deep BMP,
    painted for an ink rule, and a random set of long and short options."""
    height = rng.choice([2, 3, 8, 16, 17, 24, rng.randint(2, 48)])
    if kind == "long options":
        glyphs = rng.choice([1, 2, 5, rng.randint(1, 60), rng.randint(60, 400)])
    else:
        glyphs = rng.choice([1, 2, 5, rng.randint(1, 40), rng.randint(40, 120)])
    columns = draw_columns(rng, height, glyphs)
    if kind == "PNG":
        fmt, colour_type, depth = png_format(rng)
    else:
        fmt, depth, coding = bmp_format(rng, kind == "deep BMP")
    rules = ["black", "dark", "opaque", "auto"]
    weights = [6, 6, 6 if fmt.alpha == "channel" else 1, 6]
    rule = rng.choices(rules, weights)[0]
    style = rule if rng.random() < 0.85 else rng.choice(rules)
    colours, rows = paint(rng, fmt, style, columns)
    if kind == "PNG":
        name = rng.choice(["strip.png", "strip.png", "Strip Two.PNG", "strip.bmp"])
        picture = png(rng, fmt, colour_type, depth, colours, rows)
    else:
        name = rng.choice(["strip.bmp", "strip.bmp", "Strip Two.BMP"])
        picture = bmp(rng, depth, coding, colours, rows)
    files = {name: picture}
    units, what = long_option_units(rng, lambda allowed: count_glyphs(columns, allowed), files,
                                    name)
    if rng.random() < 0.03:
        units.append([b"--ink", rng.choice([b"Black", b"grey", b""])])
    elif rule != "black" or rng.random() < 0.6:  # black is the rule without --ink
        ink = rule.encode()
        units.append([b"--ink", ink] if rng.random() < 0.7 else [b"--ink=" + ink])
    if rng.random() < 0.97 and not any(unit[0].startswith(b"--") for unit in units):
        units.append([b"--ink", rule.encode()])  # one long option at least, mostly
    rng.shuffle(units)
    arguments = [argument for unit in units for argument in unit]
    about = f"{fmt.name} painted for {style}, ink {rule}, list {what}"
    return files, arguments + [name.encode()], about


def draw_case(index):
    rng = random.Random(f"{SEED}-{index}")
    kind = rng.choices(KINDS, KIND_WEIGHTS)[0]
    if kind == "plain":
        files, arguments, about = plain_case(rng)
    else:
        files, arguments, about = long_case(rng, kind)
    return kind, files, arguments, about

# ---------------------------------------------------------------- running


def run(program, folder, arguments, inputs):
    """One run in folder: exit status, both streams, every file it left
    beside the inputs and every input it changed. inputs maps the names of
    the case's files to their bytes; the folder is left as they say."""
    try:
        done = subprocess.run([program] + arguments, cwd=folder, stdin=subprocess.DEVNULL,
                              capture_output=True, timeout=RUN_SECONDS)
        outcome = [done.returncode, done.stdout, done.stderr]
    except subprocess.TimeoutExpired:
        outcome = ["timed out", b"", b""]
    written = {}
    for name in sorted(os.listdir(folder)):
        path = os.path.join(folder, name)
        with open(path, "rb") as made:
            data = made.read()
        if name not in inputs:
            written[name] = data
            os.remove(path)
        elif data != inputs[name]:
            written[name + " (input changed)"] = data
    for name, data in inputs.items():
        if name + " (input changed)" in written or not os.path.exists(os.path.join(folder, name)):
            written.setdefault(name + " (input changed)", b"(removed)")
            with open(os.path.join(folder, name), "wb") as restored:
                restored.write(data)
    return outcome + [written]


def difference(old, new):
    """What differs between two outcomes of run, in one line."""
    parts = []
    if old[0] != new[0]:
        parts.append(f"exit status {old[0]} / {new[0]}")
    for label, a, b in zip(("stdout", "stderr"), old[1:3], new[1:3]):
        lines = zip_longest(a.split(b"\n"), b.split(b"\n"), fillvalue=b"(none)")
        for number, (line_a, line_b) in enumerate(lines, 1):
            if line_a != line_b:
                parts.append(f"{label} line {number} {line_a!r:.120} / {line_b!r:.120}")
                break
    if old[3].keys() != new[3].keys():
        parts.append(f"files {sorted(old[3])} / {sorted(new[3])}")
    for name in sorted(old[3].keys() & new[3].keys()):
        a, b = old[3][name], new[3][name]
        if a != b:
            at = next((i for i, (x, y) in enumerate(zip(a, b)) if x != y), min(len(a), len(b)))
            parts.append(f"{name} differs at byte {at} ({len(a)} / {len(b)} bytes)")
    return "; ".join(parts)


def shown(arguments):
    """Arguments as a shell would take them, long ones cut short."""
    words = []
    for argument in arguments:
        text = argument.decode("utf-8", "backslashreplace")
        text = text if len(text) <= 60 else text[:60] + "..."
        words.append(repr(text) if not text or " " in text else text)
    return " ".join(words)


def write_cases(count, folder):
    cases = []
    for index in range(count):
        kind, files, arguments, about = draw_case(index)
        case_folder = os.path.join(folder, f"c{index:05d}")
        os.mkdir(case_folder)
        for name, data in files.items():
            with open(os.path.join(case_folder, name), "wb") as out:
                out.write(data)
        cases.append((index, kind, case_folder, sorted(files), arguments, about))
    return cases


COLUMNS = ("cases", "identical", "differing", "fonts", "listings", "refused")
SHOWN_DIFFERENCES = 20


def compare(old, new, cases):
    """Runs both builds on every case; returns the counts per kind."""
    tally = {kind: dict.fromkeys(COLUMNS, 0) for kind in KINDS}
    differing = 0
    for index, kind, case_folder, input_names, arguments, about in cases:
        inputs = {}
        for name in input_names:
            with open(os.path.join(case_folder, name), "rb") as given:
                inputs[name] = given.read()
        old_outcome = run(old, case_folder, arguments, inputs)
        new_outcome = run(new, case_folder, arguments, inputs)
        counts = tally[kind]
        counts["cases"] += 1
        if old_outcome == new_outcome:
            counts["identical"] += 1
        else:
            counts["differing"] += 1
            differing += 1
            if differing <= SHOWN_DIFFERENCES:
                print(f"case {index} ({kind}; {about}): {shown(arguments)}\n"
                      f"  {difference(old_outcome, new_outcome)}", file=sys.stderr)
        if new_outcome[0] != 0:
            counts["refused"] += 1
        elif any(name.endswith(".bdf") for name in new_outcome[3]):
            counts["fonts"] += 1
        elif new_outcome[1].startswith(b"index"):
            counts["listings"] += 1
    return tally


def print_table(tally):
    print(f"{'kind':<14}" + "".join(f"{column:>11}" for column in COLUMNS))
    total = {column: sum(tally[kind][column] for kind in KINDS) for column in COLUMNS}
    for kind, counts in list(tally.items()) + [("all", total)]:
        print(f"{kind:<14}" + "".join(f"{counts[column]:>11}" for column in COLUMNS))
    print("(fonts, listings and refused: the new build's runs)")
    return total


def main():
    if len(sys.argv) != 5 or not sys.argv[3].isdigit():
        print(f"usage: {sys.argv[0]} OLD_CVELLICOR NEW_CVELLICOR COUNT EMPTY_FOLDER",
              file=sys.stderr)
        return 2
    old, new, count, folder = sys.argv[1], sys.argv[2], int(sys.argv[3]), sys.argv[4]
    total = print_table(compare(old, new, write_cases(count, folder)))
    if total["differing"]:
        print(f"{total['differing']} of {count} cases differ between the builds", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
