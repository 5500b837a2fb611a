#!/usr/bin/env bash
# The main job in one command: installs what is missing, builds cvellicor,
# turns the sample strip examples/ascii.bmp into a Unicode font whose space is
# a real, empty glyph, lists a few of its glyphs, and draws a sentence with it
# through FreeType; then does the same for the second sample, accented letters
# and box-drawing glyphs (examples/latin.bmp), and for a grid sheet of a
# console font's ASCII glyphs (examples/ascii_grid.png).
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/install_deps.sh

# The same configuration as tools/test.sh, so the test run reuses this build.
jobs=$(nproc 2>/dev/null || echo 2)
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELLICOR_WERROR=ON >/dev/null
cmake --build build -j "$jobs" --target cvellicor vellicor_render_text

# Draws each argument as a line of text with the fonts in $fonts, through
# FreeType, in '#' signs.
draw() {
  for line in "$@"; do
    build/bin/vellicor_render_text --terminal "$line" "${fonts[@]}"
  done
}

# The strip holds the 94 glyphs '!' to '~', two blank columns apart, some
# with one blank column inside ('"'); they are 9 rows high, 2 of them below
# the baseline. The character list names them and begins with a real space,
# which takes no glyph of the picture: it becomes an empty glyph as wide as
# the typical letter. One blank column after each glyph spaces the letters.
ascii_chars=" $(python3 -c 'print("".join(map(chr, range(33, 127))))')"
echo
echo "\$ build/bin/cvellicor -f \"Vellicor Sample\" -a 1 -d 2 -r 1 --chars \"$ascii_chars\" examples/ascii.bmp"
build/bin/cvellicor -f "Vellicor Sample" -a 1 -d 2 -r 1 --chars "$ascii_chars" examples/ascii.bmp

font="$(pwd)/examples/ascii.bdf"
echo
echo "The font went to: $font"
echo
echo "Its header:"
sed -n '1,/^CHARS /p' "$font" | sed 's/^/    /'

echo
echo "The first glyphs as the conversion cuts and names them (--list writes no font):"
build/bin/cvellicor -a 1 -d 2 -r 1 --chars "$ascii_chars" --list examples/ascii.bmp |
  sed -n '1,7p' | sed 's/^/    /'

echo
echo "A sentence with real spaces, drawn with it by FreeType:"
fonts=("$font")
draw "Hello, World!" "BMP -> BDF"

# The second sample: letters and signs beyond ASCII, and box-drawing and
# shade glyphs that fill their cell, so the font is made fixed-width (-w).
echo
echo "\$ build/bin/cvellicor -f \"Vellicor Latin\" -w -a 1 -d 2 --chars-file examples/latin.txt examples/latin.bmp"
build/bin/cvellicor -f "Vellicor Latin" -w -a 1 -d 2 --chars-file examples/latin.txt examples/latin.bmp
echo
echo "Its character list (examples/latin.txt): $(cat examples/latin.txt)"
echo
echo "Drawn by FreeType from both fonts, each character from the first that has it:"
fonts=("$font" "$(pwd)/examples/latin.bdf")
draw "¿Señor? Ça" "coûte 5 €!" "░▒▓█ ─┬┴┼═"
line="¿Señor? Ça coûte 5 €, très cher! ░▒▓█ ─┬┴┼═"
build/bin/vellicor_render_text --png build/demo-text.png --scale 4 "$line" "${fonts[@]}"
echo
echo "\"$line\" as a picture: $(pwd)/build/demo-text.png"

# The third sample is a grid sheet: the 95 ASCII glyphs of the console font
# Lat15-Fixed16 (Debian's console-setup; console fonts are public domain)
# drawn by tests/sheets/draw_sheet.py into cells of 8 x 16 pixels, 16 to a
# row, with one-pixel grey lines around every cell. The lines are skipped as
# the gaps of the grid; the grey is lighter than mid grey, so it is not ink
# under --ink dark either. Each cell keeps its glyph's place: the baseline
# lies two rows above the cell's bottom (-d 2), and every advance is the cell
# width. --charset ascii names the cells from the space to '~'.
grid_options=(--grid 8x16 --grid-origin 1,1 --grid-gap 1,1 --ink dark -d 2 --charset ascii)
echo
echo "\$ build/bin/cvellicor -f \"Vellicor Grid\" ${grid_options[*]} examples/ascii_grid.png"
build/bin/cvellicor -f "Vellicor Grid" "${grid_options[@]}" examples/ascii_grid.png
echo
echo "Its first cells, with the grid row and column of each glyph:"
build/bin/cvellicor "${grid_options[@]}" --list examples/ascii_grid.png | sed -n '1,5p' | sed 's/^/    /'
echo
echo "Drawn by FreeType from the grid's font:"
fonts=("$(pwd)/examples/ascii_grid.bdf")
draw "Grid of" "8 x 16!"
