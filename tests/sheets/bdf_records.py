"""Runs cvellicor and reads the glyph records of the fonts it writes, as
text and as ink."""

import os
import subprocess
from dataclasses import dataclass


@dataclass
class Record:
    text: str  # STARTCHAR to ENDCHAR, line breaks included
    code: int
    advance: int
    ink: frozenset  # (x, y) from the origin, y up from the baseline as in font_files


def read_records(path):
    with open(path, encoding="utf-8") as stream:
        lines = stream.read().split("\n")
    records, start = [], None
    for number, line in enumerate(lines):
        if line.startswith("STARTCHAR"):
            start = number
        elif line == "ENDCHAR":
            records.append(_record(lines[start:number + 1]))
    return records


def _record(lines):
    fields = {line.split(" ", 1)[0]: line.split(" ")[1:] for line in lines}
    width, height, left, bottom = (int(value) for value in fields["BBX"])
    rows = lines[lines.index("BITMAP") + 1:-1]
    ink = set()
    for row_number, row in enumerate(rows):
        bits = int(row, 16) if row else 0
        for x in range(width):
            if bits & (1 << (len(row) * 4 - 1 - x)):
                ink.add((left + x, bottom + height - 1 - row_number))
    return Record("\n".join(lines) + "\n", int(fields["ENCODING"][0]), int(fields["DWIDTH"][0]), frozenset(ink))


def header(path):
    """The lines before the first glyph record."""
    with open(path, encoding="utf-8") as stream:
        text = stream.read()
    return text[:text.index("STARTCHAR")]


def convert(cvellicor, options, picture):
    """Converts the picture into a font beside it; returns the font's path."""
    font = os.path.splitext(picture)[0] + ".bdf"
    command = [cvellicor] + options + ["-o", font, picture]
    run = subprocess.run(command, capture_output=True, text=True)
    if run.returncode != 0:
        said = "\n".join((run.stdout + run.stderr).splitlines()[:4])
        raise AssertionError(f"{' '.join(command)} exited with {run.returncode}:\n{said}")
    return font
