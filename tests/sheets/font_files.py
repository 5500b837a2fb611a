"""Readers of the bitmap fonts Debian ships: console fonts (PSF1, PSF2) and
X11 fonts (PCF), gzip-compressed or not.

A glyph is kept as its advance and its ink: the set of (x, y) pixels with x
counted from the glyph's origin to the right and y from the baseline upwards
(y = 0 is the row just above the baseline), which is how BDF places a BBX.
Two glyphs with the same ink set have the same bits and offsets once both
are trimmed to their ink box.
"""

import gzip
import struct
from dataclasses import dataclass, field


@dataclass
class Glyph:
    advance: int
    ink: frozenset
    codes: list = field(default_factory=list)  # code points that show it


@dataclass
class CellFont:
    """A console font: every glyph fills a cell of width x height pixels."""

    width: int
    height: int
    rows: list  # per glyph: height rows, each a list of width booleans
    unicode: list  # per glyph: the single code points its table names

    def ink(self, index, descent):
        """The glyph's ink with its cell's bottom row descent rows below the baseline."""
        top = self.height - 1 - descent  # y of the cell's top row
        return frozenset(
            (x, top - y) for y, row in enumerate(self.rows[index]) for x, on in enumerate(row) if on)

    def glyph_for(self, code):
        for index, codes in enumerate(self.unicode):
            if code in codes:
                return index
        return None


def _open(path):
    with open(path, "rb") as stream:
        data = stream.read()
    return gzip.decompress(data) if data[:2] == b"\x1f\x8b" else data


def _cell_rows(data, offset, count, width, height):
    stride = (width + 7) // 8
    glyphs = []
    for index in range(count):
        base = offset + index * stride * height
        rows = []
        for y in range(height):
            line = data[base + y * stride:base + (y + 1) * stride]
            rows.append([bool(line[x // 8] & (0x80 >> (x % 8))) for x in range(width)])
        glyphs.append(rows)
    return glyphs


def read_psf(path):
    data = _open(path)
    if data[:2] == b"\x36\x04":
        mode, height = data[2], data[3]
        count, width, offset = (512 if mode & 1 else 256), 8, 4
        has_table = bool(mode & 6)
    elif data[:4] == b"\x72\xb5\x4a\x86":
        _, offset, flags, count, _, height, width = struct.unpack_from("<7I", data, 4)
        has_table = bool(flags & 1)
    else:
        raise ValueError(f"{path}: not a PSF font")
    rows = _cell_rows(data, offset, count, width, height)
    unicode = [set() for _ in range(count)]
    if has_table:
        position = offset + count * ((width + 7) // 8) * height
        psf1 = data[:2] == b"\x36\x04"
        for index in range(count):
            position = _read_unicode_entry(data, position, psf1, unicode[index])
    return CellFont(width, height, rows, unicode)


def _read_unicode_entry(data, position, psf1, codes):
    """Reads one glyph's entry; keeps single code points, not sequences."""
    in_sequence = False
    if psf1:
        while True:
            (value,) = struct.unpack_from("<H", data, position)
            position += 2
            if value == 0xFFFF:
                return position
            if value == 0xFFFE:
                in_sequence = True
            elif not in_sequence:
                codes.add(value)
    end = data.index(b"\xff", position)
    singles = data[position:end].split(b"\xfe")[0]
    codes.update(ord(c) for c in singles.decode("utf-8"))
    return end + 1


# PCF, as X.org's libXfont and FreeType's pcf driver read it.
_PCF_METRICS, _PCF_BITMAPS, _PCF_ENCODINGS = 1 << 2, 1 << 3, 1 << 5
_PCF_COMPRESSED_METRICS = 0x100


def read_pcf(path):
    """Returns the glyphs of a PCF font, each with the codes that map to it."""
    data = _open(path)
    if data[:4] != b"\x01fcp":
        raise ValueError(f"{path}: not a PCF font")
    (count,) = struct.unpack_from("<I", data, 4)
    tables = {}
    for index in range(count):
        kind, _, _, offset = struct.unpack_from("<4I", data, 8 + 16 * index)
        tables[kind] = offset
    metrics = _pcf_metrics(data, tables[_PCF_METRICS])
    bitmaps = _pcf_bitmaps(data, tables[_PCF_BITMAPS], metrics)
    glyphs = []
    for (left, right, advance, ascent, _), rows in zip(metrics, bitmaps):
        ink = frozenset((left + x, ascent - 1 - y) for y, row in enumerate(rows) for x, on in enumerate(row) if on)
        glyphs.append(Glyph(advance, ink))
    for code, index in _pcf_encodings(data, tables[_PCF_ENCODINGS]):
        glyphs[index].codes.append(code)
    return glyphs


def _pcf_format(data, offset):
    (fmt,) = struct.unpack_from("<I", data, offset)
    return fmt, (">" if fmt & 4 else "<")


def _pcf_metrics(data, offset):
    fmt, order = _pcf_format(data, offset)
    if fmt & 0xFFFFFF00 == _PCF_COMPRESSED_METRICS:
        (count,) = struct.unpack_from(order + "H", data, offset + 4)
        return [tuple(b - 0x80 for b in data[offset + 6 + 5 * i:offset + 11 + 5 * i]) for i in range(count)]
    (count,) = struct.unpack_from(order + "I", data, offset + 4)
    return [struct.unpack_from(order + "5h", data, offset + 8 + 12 * i) for i in range(count)]


def _pcf_bitmaps(data, offset, metrics):
    fmt, order = _pcf_format(data, offset)
    (count,) = struct.unpack_from(order + "I", data, offset + 4)
    starts = struct.unpack_from(order + f"{count}I", data, offset + 8)
    base = offset + 8 + 4 * count + 16
    pad, unit = 1 << (fmt & 3), 1 << ((fmt >> 4) & 3)
    msb_bits, msb_bytes = bool(fmt & 8), bool(fmt & 4)
    glyphs = []
    for start, (left, right, _, ascent, descent) in zip(starts, metrics):
        width, height = right - left, ascent + descent
        stride = ((width + 7) // 8 + pad - 1) // pad * pad
        rows = []
        for y in range(height):
            line = bytearray(data[base + start + y * stride:base + start + (y + 1) * stride])
            if msb_bits != msb_bytes and unit > 1:
                for u in range(0, len(line), unit):
                    line[u:u + unit] = line[u:u + unit][::-1]
            if msb_bits:
                rows.append([bool(line[x // 8] & (0x80 >> (x % 8))) for x in range(width)])
            else:
                rows.append([bool(line[x // 8] & (1 << (x % 8))) for x in range(width)])
        glyphs.append(rows)
    return glyphs


def _pcf_encodings(data, offset):
    _, order = _pcf_format(data, offset)
    first2, last2, first1, last1, _ = struct.unpack_from(order + "5h", data, offset + 4)
    span = last2 - first2 + 1
    total = span * (last1 - first1 + 1)
    indices = struct.unpack_from(order + f"{total}H", data, offset + 14)
    for position, index in enumerate(indices):
        if index != 0xFFFF:
            yield ((first1 + position // span) << 8) | (first2 + position % span), index
