#!/usr/bin/env bash
# Draws docs/formats/pango-otb.png: a sentence set by Pango (pango-view)
# through fontconfig in the OTB that cvellicor writes from the sample strip,
# with a fontconfig of its own that knows only that font, magnified 3 times.
#   bash tools/make_pango_picture.sh [CVELLICOR]
set -euo pipefail
cd "$(dirname "$0")/.."
cvellicor=$(realpath "${1:-build/bin/cvellicor}")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/fonts"
chars=" $(python3 -c 'print("".join(map(chr, range(33, 127))))')"
"$cvellicor" -f "Vellicor Sample" -a 1 -d 2 -r 1 --chars "$chars" --format otb \
  -o "$work/fonts/sample.otb" examples/ascii.bmp
cat >"$work/fonts.conf" <<CONF
<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "urn:fontconfig:fonts.dtd">
<fontconfig>
  <dir>$work/fonts</dir>
  <cachedir>$work/cache</cachedir>
</fontconfig>
CONF
FONTCONFIG_FILE="$work/fonts.conf" pango-view --font='Vellicor Sample 9px' \
  --text='Sphinx of black quartz, judge my vow! (0-9) #42 ~{x}' \
  --antialias=none --hinting=full -q -o "$work/pango.png"
mkdir -p docs/formats
/usr/bin/python3 - "$work/pango.png" docs/formats/pango-otb.png <<'PY'
import sys
from PIL import Image
picture = Image.open(sys.argv[1]).convert("L")
picture.resize((picture.width * 3, picture.height * 3), Image.NEAREST).save(sys.argv[2])
PY
echo "docs/formats/pango-otb.png"
