#!/usr/bin/env bash
# The font formats side by side: for benchmark strips of 65,536 glyphs (PCF,
# OTB, TTF, BDF) and of 256 and 512 glyphs (every format: FON holds 256 at
# most, PSF2 512), each format's median conversion time, its ratio to the BDF
# of the same run, the font's size and the run's peak memory. Builds
# cvellicor in Release (BUILD_DIR, default build-bench) and works in /dev/shm
# where it exists.
#
#   bench/format_table.sh [--quick]
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
runs=(--warmup 2 --min-runs 10)
[ "${1:-}" = --quick ] && runs=(--runs 2)

for tool in hyperfine /usr/bin/time; do
  command -v "$tool" >/dev/null || { echo "missing: $tool (see tools/install_deps.sh)" >&2; exit 2; }
done
build_dir=${BUILD_DIR:-build-bench}
cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=Release -DVELLICOR_BUILD_DIALOG=OFF \
  -DVELLICOR_BUILD_BENCHMARKS=ON >/dev/null
cmake --build "$build_dir" -j "${JOBS:-2}" --target cvellicor vellicor_make_strip >/dev/null
converter="$root/$build_dir/bin/cvellicor"

memory_root=${TMPDIR:-/tmp}
[ -d /dev/shm ] && [ -w /dev/shm ] && memory_root=/dev/shm
work=$(mktemp -d "$memory_root/vellicor-formats.XXXXXX")
trap 'rm -rf "$work"' EXIT

printf '| glyphs | format | median ms | x BDF | bytes | peak KiB |\n|---:|---|---:|---:|---:|---:|\n'
for glyphs in 256 512 65536; do
  "$root/$build_dir/bin/make_strip" wide "$glyphs" "$work/strip-$glyphs.bmp"
  formats=(bdf pcf otb ttf)
  [ "$glyphs" -le 512 ] && formats+=(psf)
  [ "$glyphs" -le 256 ] && formats+=(fon)
  bdf_ms=""
  for format in "${formats[@]}"; do
    font="$work/font-$glyphs.$format"
    # One allowed blank column: every cell of the strip gives one glyph.
    command=("$converter" --format "$format" -a 1 -o "$font" "$work/strip-$glyphs.bmp")
    "${command[@]}" >/dev/null
    hyperfine -N "${runs[@]}" --style none --export-json "$work/run.json" \
      "${command[*]}" >/dev/null 2>&1
    /usr/bin/time -f '%M' -o "$work/peak.txt" "${command[@]}" >/dev/null
    ms=$(python3 -c 'import json,sys; print("%.1f" % (json.load(open(sys.argv[1]))["results"][0]["median"] * 1000))' "$work/run.json")
    [ "$format" = bdf ] && bdf_ms=$ms
    ratio=$(python3 -c 'import sys; print("%.2f" % (float(sys.argv[1]) / float(sys.argv[2])))' "$ms" "$bdf_ms")
    printf '| %s | %s | %s | %s | %s | %s |\n' "$glyphs" "$format" "$ms" "$ratio" \
      "$(stat -c %s "$font")" "$(cat "$work/peak.txt")"
  done
done
