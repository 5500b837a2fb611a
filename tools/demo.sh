#!/usr/bin/env bash
# The main job in one command: installs what is missing, builds cvellicor,
# turns the sample strip examples/ascii.bmp into a Unicode font whose space is
# a real, empty glyph, lists a few of its glyphs, and draws a sentence with it
# through FreeType; then does the same for the second sample, accented letters
# and box-drawing glyphs (examples/latin.bmp).
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
