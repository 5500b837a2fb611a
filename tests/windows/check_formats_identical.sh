#!/usr/bin/env bash
# Writes the bundled samples in every font format with cvellicor.exe under
# wine and with the cvellicor built for this machine, and requires the two
# files of each run to be equal byte for byte.
#   bash check_formats_identical.sh WINDOWS_CVELLICOR_EXE NATIVE_CVELLICOR SOURCE_DIR
# wine must be ready (WINEPREFIX set, server running).
set -euo pipefail
windows=$(realpath "$1")
native=$(realpath "$2")
source_dir=$(realpath "$3")

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
cp "$source_dir/examples/ascii.bmp" "$source_dir/examples/latin.bmp" \
  "$source_dir/examples/latin.txt" "$source_dir/examples/ascii_grid.png" .

# Each sample as the README converts it; a number stands for its options.
sample_options() {
  case $1 in
    1) echo '-f|Vellicor Sample|-v|33|-a|1|-d|2|-r|1|--ink|black|ascii.bmp' ;;
    2) echo '-f|Vellicor Latin|-w|-a|1|-d|2|--chars-file|latin.txt|latin.bmp' ;;
    3) echo '-f|Vellicor Grid|--grid|8x16|--grid-origin|1,1|--grid-gap|1,1|--ink|dark|-d|2|--charset|ascii|ascii_grid.png' ;;
  esac
}

compared=0
for sample in 1 2 3; do
  IFS='|' read -r -a options <<<"$(sample_options $sample)"
  for format in bdf pcf psf otb fon ttf; do
    name="sample$sample.$format"
    native_status=0
    "$native" --format "$format" -o "native-$name" "${options[@]}" >native.txt || native_status=$?
    windows_status=0
    wine "$windows" --format "$format" -o "windows-$name" "${options[@]}" >windows.txt ||
      windows_status=$?
    if [ "$native_status" != "$windows_status" ] || ! cmp -s native.txt <(tr -d '\r' <windows.txt); then
      echo "$name: cvellicor.exe ends with $windows_status, cvellicor with $native_status" >&2
      cat windows.txt native.txt >&2
      exit 1
    fi
    [ "$native_status" = 0 ] || continue  # refused alike (a sample a format cannot hold)
    cmp "windows-$name" "native-$name"
    compared=$((compared + 1))
  done
done
echo "formats: $compared fonts written under wine, each equal byte for byte to this machine's"
