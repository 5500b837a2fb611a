#!/usr/bin/env bash
# The main job in one command: installs what is missing, builds cvellicor,
# converts the sample strip examples/ascii.bmp into examples/ascii.bdf, and
# shows the font's header and a line of text drawn with it.
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/install_deps.sh

# The same configuration as tools/test.sh, so the test run reuses this build.
jobs=$(nproc 2>/dev/null || echo 2)
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELLICOR_WERROR=ON >/dev/null
cmake --build build -j "$jobs" --target cvellicor

# The strip holds glyphs 32 to 126, two blank columns apart, some with one
# blank column inside ('"'); its glyphs are 9 rows high, 2 of them below the
# baseline. One blank column after each glyph spaces the letters.
echo
echo "$ build/bin/cvellicor -f \"Vellicor Sample\" -v 32 -a 1 -d 2 -r 1 examples/ascii.bmp"
build/bin/cvellicor -f "Vellicor Sample" -v 32 -a 1 -d 2 -r 1 examples/ascii.bmp

font="$(pwd)/examples/ascii.bdf"
echo
echo "The font went to: $font"
echo
echo "Its header:"
sed -n '1,/^CHARS /p' "$font" | sed 's/^/    /'
echo
# The sample draws the space as a visible sign (a glyph needs ink to be cut),
# so the line shown has none.
echo "\"vellicor:BMP->BDF\" drawn with it:"
python3 - "$font" "vellicor:BMP->BDF" <<'PY'
import sys

path, text = sys.argv[1], sys.argv[2]
glyphs = {}
code = None
with open(path) as font:
    for line in font:
        words = line.split()
        if not words:
            continue
        if words[0] == "ENCODING":
            code = int(words[1])
            glyphs[code] = {"rows": []}
        elif words[0] == "DWIDTH":
            glyphs[code]["advance"] = int(words[1])
        elif words[0] == "BBX":
            glyphs[code]["width"] = int(words[1])
        elif words[0] == "ENDCHAR":
            code = None
        elif code is not None and "width" in glyphs[code] and all(c in "0123456789ABCDEF" for c in words[0]):
            glyphs[code]["rows"].append(words[0])

height = max(len(glyph["rows"]) for glyph in glyphs.values())
lines = []
for y in range(height):
    line = ""
    for char in text:
        glyph = glyphs[ord(char)]
        row = glyph["rows"][y] if y < len(glyph["rows"]) else "0"
        bits = bin(int(row, 16))[2:].zfill(len(row) * 4)
        line += "".join("#" if bit == "1" else " " for bit in bits[: glyph["advance"]])
    lines.append("    " + line.rstrip())
while lines and not lines[-1].strip():
    lines.pop()
print("\n".join(lines))
PY
