#!/usr/bin/env bash
# Draws docs/draw/fixed-zoom.png: xterm's 6x13 font of xfonts-base as
# `cvellicor --draw` draws it, magnified 3 times for reading on a page.
#   bash tools/make_draw_picture.sh [CVELLICOR]
set -euo pipefail
cd "$(dirname "$0")/.."
cvellicor=$(realpath "${1:-build/bin/cvellicor}")
font=/usr/share/fonts/X11/misc/6x13-ISO8859-1.pcf.gz
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$cvellicor" --draw "$font" -o "$work/fixed.png"
mkdir -p docs/draw
/usr/bin/python3 - "$work/fixed.png" docs/draw/fixed-zoom.png <<'PY'
import sys
from PIL import Image
picture = Image.open(sys.argv[1])
picture.resize((picture.width * 3, picture.height * 3), Image.NEAREST).save(sys.argv[2])
PY
