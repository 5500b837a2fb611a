#!/usr/bin/env bash
# Unpacks a Windows ZIP package, checks that it holds what a user needs, and
# converts the bundled sample strip with its cvellicor.exe under wine. When a
# cvellicor built for this machine is given, both fonts must be equal byte
# for byte.
#   bash check_zip_package.sh PACKAGE.zip SOURCE_DIR [NATIVE_CVELLICOR]
# wine must be ready (WINEPREFIX set, server running).
set -euo pipefail
package=$(realpath "$1")
source_dir=$(realpath "$2")
native=${3:-}
[ -z "$native" ] || native=$(realpath "$native")

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
unzip -q "$package" -d unpacked

for entry in bin/cvellicor.exe bin/vellicor.dll lib/vellicor.lib include/vellicor/vellicor.h \
  README.md LICENSE; do
  [ -f "unpacked/$entry" ] || { echo "the package lacks $entry" >&2; exit 1; }
done

options=(-f "Vellicor Sample" -v 33 -a 1 -d 2 -r 1)
cp "$source_dir/examples/ascii.bmp" strip.bmp
# From cmd.exe's point of view: the program by its Windows path, the picture
# and the font by absolute Windows paths with backslashes.
windows_dir=$(winepath -w "$work")
wine "unpacked/bin/cvellicor.exe" "${options[@]}" -o "$windows_dir\\windows.bdf" \
  "$windows_dir\\strip.bmp" > printed.txt
[ ! -s printed.txt ] || { echo "cvellicor.exe printed:"; cat printed.txt; exit 1; } >&2
grep -qx "CHARS 94" windows.bdf || { echo "the font does not hold the sample's 94 glyphs" >&2; exit 1; }
if grep -q $'\r' windows.bdf; then
  echo "the font holds carriage returns" >&2
  exit 1
fi
if [ -n "$native" ]; then
  "$native" "${options[@]}" -o native.bdf strip.bmp
  cmp windows.bdf native.bdf
fi
echo "package $(basename "$package"): converts the sample$([ -n "$native" ] && echo ", same bytes as $(basename "$native")")"
