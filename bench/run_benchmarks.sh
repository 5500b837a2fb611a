#!/usr/bin/env bash
# Whole-process benchmarks of cvellicor: builds it in Release, draws the
# benchmark strips into a temporary folder and prints, for each strip, the
# conversion's median time next to the median time of copying the font it
# produced (cp, same folder), their ratio, the time the conversion's write
# calls alone take (write_floor: one call per record, as the flush after each
# record makes), the conversion's peak memory and its write calls per glyph;
# then the scaling and shape ratios.
#
#   bench/run_benchmarks.sh [--quick] [--baseline OTHER_CVELLICOR]
#
# --quick runs the small strips only, with few runs, to check that the script
# works. --baseline measures another build of cvellicor (an older commit, say)
# in the same run, row for row, and checks that it writes the same bytes.
# BUILD_DIR picks the build folder (default build-bench).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

quick=0
baseline=""
while [ $# -gt 0 ]; do
  case "$1" in
    --quick) quick=1 ;;
    --baseline) baseline=$(realpath "$2"); shift ;;
    *) echo "usage: $0 [--quick] [--baseline OTHER_CVELLICOR]" >&2; exit 2 ;;
  esac
  shift
done

for tool in hyperfine strace /usr/bin/time python3; do  # python3 only reads the results
  command -v "$tool" >/dev/null || { echo "missing: $tool (see tools/install_deps.sh)" >&2; exit 2; }
done

build_dir=${BUILD_DIR:-build-bench}
jobs=${JOBS:-2}
cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=Release -DVELLICOR_BUILD_DIALOG=OFF \
  -DVELLICOR_BUILD_BENCHMARKS=ON >/dev/null
cmake --build "$build_dir" -j "$jobs" --target cvellicor vellicor_make_strip vellicor_write_floor \
  >/dev/null
converter="$root/$build_dir/bin/cvellicor"
make_strip="$root/$build_dir/bin/make_strip"
write_floor="$root/$build_dir/bin/write_floor"

work=$(mktemp -d "${TMPDIR:-/tmp}/vellicor-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT

# name shape glyphs
if [ "$quick" -eq 1 ]; then
  cases=("wide-1024 wide 1024" "wide-4096 wide 4096" "tall-4096 tall 4096")
  runs=(--runs 3)
else
  cases=("wide-4096 wide 4096" "wide-16384 wide 16384" "wide-65536 wide 65536"
         "tall-65536 tall 65536")
  runs=(--warmup 3 --min-runs 20)
fi

# measure LABEL PROGRAM FOLDER: one row of the table for PROGRAM converting
# FOLDER/strip.bmp into FOLDER/LABEL.bdf.
measure() {
  local label=$1 program=$2 dir=$3
  local font="$dir/$label.bdf"
  # One allowed blank column: every cell of the strip gives one glyph.
  local command=("$program" -a 1 -o "$font" "$dir/strip.bmp")
  "${command[@]}" >/dev/null
  hyperfine -N "${runs[@]}" --style none --export-json "$dir/$label-convert.json" \
    "'$program' -a 1 -o '$font' '$dir/strip.bmp'" >/dev/null 2>&1
  hyperfine -N "${runs[@]}" --style none --export-json "$dir/$label-copy.json" \
    "cp '$font' '$dir/copy.bdf'" >/dev/null 2>&1
  # The floor: as many write calls as the conversion makes (a record each, and
  # the closing line), of the font's average size, and nothing else.
  local glyphs size
  glyphs=$(grep -m1 '^CHARS ' "$font" | cut -d' ' -f2)
  size=$(stat -c %s "$font")
  hyperfine -N "${runs[@]}" --style none --export-json "$dir/$label-floor.json" \
    "'$write_floor' $((glyphs + 1)) $((size / (glyphs + 1))) '$dir/floor.out'" >/dev/null 2>&1
  /usr/bin/time -v -o "$dir/$label-time.txt" "${command[@]}" >/dev/null
  strace -f -c -e trace=write,writev,pwrite64 -o "$dir/$label-strace.txt" "${command[@]}" >/dev/null
  python3 - "$label" "$dir" >>"$results" <<'PY'
import json, os, re, sys

label, folder = sys.argv[1], sys.argv[2]
path = lambda name: os.path.join(folder, f"{label}{name}")

def median(name):
    with open(path(name)) as data:
        return json.load(data)["results"][0]["median"]

with open(path(".bdf"), "rb") as font:
    glyphs = next(int(line.split()[1]) for line in font if line.startswith(b"CHARS "))
with open(path("-time.txt")) as report:
    peak_kib = int(re.search(r"Maximum resident set size \(kbytes\): (\d+)", report.read()).group(1))
writes = 0
with open(path("-strace.txt")) as report:
    for line in report:
        fields = line.split()
        if fields and fields[-1] in ("write", "writev", "pwrite64"):
            writes += int(fields[3])  # calls; the errors column may be empty
with open(os.path.join(folder, "strip.bmp"), "rb") as strip:
    pixel_bytes = int.from_bytes(strip.read(14 + 40)[34:38], "little")
case = os.path.basename(folder) + ("" if label == "current" else f" ({label})")
print(case.replace(" ", "_"), glyphs, median("-convert.json"), median("-copy.json"),
      median("-floor.json"), peak_kib, pixel_bytes, writes, os.path.getsize(path(".bdf")))
PY
}

results="$work/results.txt"
: >"$results"
for entry in "${cases[@]}"; do
  read -r name shape glyphs <<<"$entry"
  dir="$work/$name"
  mkdir -p "$dir"
  "$make_strip" "$shape" "$glyphs" "$dir/strip.bmp"
  if [ -n "$baseline" ]; then
    measure baseline "$baseline" "$dir"
  fi
  measure current "$converter" "$dir"
  if [ -n "$baseline" ] && ! cmp -s "$dir/baseline.bdf" "$dir/current.bdf"; then
    echo "$name: the baseline wrote a different font" >&2
    exit 1
  fi
done

python3 - "$results" <<'PY'
import sys

rows = [line.split() for line in open(sys.argv[1])]
print(f"{'case':<24}{'glyphs':>8}{'font MiB':>10}{'convert ms':>12}{'cp ms':>9}{'ratio':>8}"
      f"{'floor ms':>10}{'peak MiB':>10}{'limit MiB':>11}{'writes/glyph':>14}")
times = {}
for name, glyphs, convert, copy, floor, peak_kib, pixels, writes, font in rows:
    convert, copy, floor = float(convert), float(copy), float(floor)
    times[name] = convert
    limit = int(pixels) / 2**20 + 4
    print(f"{name.replace('_', ' '):<24}{int(glyphs):>8}{int(font) / 2**20:>10.2f}"
          f"{convert * 1e3:>12.2f}{copy * 1e3:>9.2f}{convert / copy:>8.2f}{floor * 1e3:>10.2f}"
          f"{int(peak_kib) / 1024:>10.2f}{limit:>11.2f}{int(writes) / int(glyphs):>14.3f}")
print()
print("floor: the same number of write calls of the font's average record size, alone")
print()
for suffix in ("", "_(baseline)"):
    def ratio(label, numerator, denominator, target):
        if numerator + suffix in times and denominator + suffix in times:
            value = times[numerator + suffix] / times[denominator + suffix]
            print(f"{label}{suffix.replace('_', ' ')}: {value:.2f} (target at most {target})")
    ratio("scaling 4096 -> 16384 glyphs", "wide-16384", "wide-4096", 4.4)
    ratio("scaling 16384 -> 65536 glyphs", "wide-65536", "wide-16384", 4.4)
    ratio("shape tall / wide, same pixels", "tall-65536", "wide-65536", 2)
PY
