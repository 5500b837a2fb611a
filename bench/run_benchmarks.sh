#!/usr/bin/env bash
# Whole-process benchmarks of cvellicor: builds it in Release, draws the
# benchmark strips into a folder in memory (tmpfs: /dev/shm where it exists)
# and prints, for each strip, the conversion's median time next to the median
# time of copying the font it produced (cp, same folder), their ratio, the
# conversion's peak memory, and its write and sync calls (strace -c), checked
# against their bounds; then the scaling and shape ratios; then the largest
# strip once more on the build disk, where the conversion's synced font is
# compared with cp followed by sync of the copy (both durable).
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
cmake --build "$build_dir" -j "$jobs" --target cvellicor vellicor_make_strip >/dev/null
converter="$root/$build_dir/bin/cvellicor"
make_strip="$root/$build_dir/bin/make_strip"

memory_root=${TMPDIR:-/tmp}
[ -d /dev/shm ] && [ -w /dev/shm ] && memory_root=/dev/shm
work=$(mktemp -d "$memory_root/vellicor-bench.XXXXXX")
disk=$(mktemp -d "$root/$build_dir/vellicor-bench-disk.XXXXXX")
trap 'rm -rf "$work" "$disk"' EXIT

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
  /usr/bin/time -v -o "$dir/$label-time.txt" "${command[@]}" >/dev/null
  strace -f -c -e trace=write,writev,pwrite64,fsync,fdatasync -o "$dir/$label-strace.txt" \
    "${command[@]}" >/dev/null
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
calls = {}
with open(path("-strace.txt")) as report:
    for line in report:
        fields = line.split()
        if fields and fields[-1] in ("write", "writev", "pwrite64", "fsync", "fdatasync"):
            calls[fields[-1]] = int(fields[3])  # calls; the errors column may be empty
writes = calls.get("write", 0) + calls.get("writev", 0) + calls.get("pwrite64", 0)
syncs = calls.get("fsync", 0) + calls.get("fdatasync", 0)
with open(os.path.join(folder, "strip.bmp"), "rb") as strip:
    pixel_bytes = int.from_bytes(strip.read(14 + 40)[34:38], "little")
case = os.path.basename(folder) + ("" if label == "current" else f" ({label})")
print(case.replace(" ", "_"), glyphs, median("-convert.json"), median("-copy.json"),
      peak_kib, pixel_bytes, writes, syncs, os.path.getsize(path(".bdf")))
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

# The largest wide strip on the build disk: a conversion syncs its font (and
# the folder), so cp is followed by sync of the copy to be as durable.
read -r name _ _ <<<"${cases[$((${#cases[@]} - 1))]}"
[ "$quick" -eq 0 ] && name=wide-65536
cp "$work/$name/strip.bmp" "$disk/strip.bmp"
durable=("$converter")
[ -n "$baseline" ] && durable+=("$baseline")
for program in "${durable[@]}"; do
  "$program" -a 1 -o "$disk/font.bdf" "$disk/strip.bmp" >/dev/null
  hyperfine -N "${runs[@]}" --style none --export-json "$disk/convert.json" \
    "'$program' -a 1 -o '$disk/font.bdf' '$disk/strip.bmp'" >/dev/null 2>&1
  hyperfine -N "${runs[@]}" --style none --export-json "$disk/copy.json" \
    "sh -c \"cp '$disk/font.bdf' '$disk/copy.bdf' && sync '$disk/copy.bdf'\"" >/dev/null 2>&1
  python3 - "$disk" "$name" "$program" "$converter" >>"$work/disk.txt" <<'PY'
import json, os, sys
folder, name, program, current = sys.argv[1:5]
median = lambda f: json.load(open(os.path.join(folder, f)))["results"][0]["median"]
label = name + ("" if program == current else "_(baseline)")
print(label, median("convert.json"), median("copy.json"))
PY
done

python3 - "$results" "$work/disk.txt" <<'PY'
import sys

rows = [line.split() for line in open(sys.argv[1])]
print(f"{'case':<24}{'glyphs':>8}{'font MiB':>10}{'convert ms':>12}{'cp ms':>9}{'ratio':>8}"
      f"{'peak MiB':>10}{'limit MiB':>11}{'writes':>8}{'most':>6}{'syncs':>7}")
times = {}
problems = []
buffer_bytes = 128 * 1024
for name, glyphs, convert, copy, peak_kib, pixels, writes, syncs, font in rows:
    convert, copy = float(convert), float(copy)
    times[name] = convert
    box_bytes = 44  # the layout keeps each glyph's box (with its sheet place) until the font is written
    limit = (int(pixels) + buffer_bytes + box_bytes * int(glyphs)) / 2**20 + 4
    most = int(font) // (64 * 1024) + 4
    print(f"{name.replace('_', ' '):<24}{int(glyphs):>8}{int(font) / 2**20:>10.2f}"
          f"{convert * 1e3:>12.2f}{copy * 1e3:>9.2f}{convert / copy:>8.2f}"
          f"{int(peak_kib) / 1024:>10.2f}{limit:>11.2f}{int(writes):>8}{most:>6}{int(syncs):>7}")
    if "baseline" not in name:
        if int(writes) > most:
            problems.append(f"{name}: {writes} write calls, at most {most} expected")
        if int(syncs) != 2:
            problems.append(f"{name}: {syncs} sync calls, 2 expected (the font and its folder)")
print()
print("limit: pixel bytes + 44 bytes a glyph + 4 MiB + the output buffer; "
      "most: font bytes / 64 KiB + 4 write calls")
print()
for suffix in ("", "_(baseline)"):
    def ratio(label, numerator, denominator, target):
        if numerator + suffix in times and denominator + suffix in times:
            value = times[numerator + suffix] / times[denominator + suffix]
            print(f"{label}{suffix.replace('_', ' ')}: {value:.2f} (target at most {target})")
    ratio("scaling 4096 -> 16384 glyphs", "wide-16384", "wide-4096", 4.4)
    ratio("scaling 16384 -> 65536 glyphs", "wide-65536", "wide-16384", 4.4)
    ratio("shape tall / wide, same pixels", "tall-65536", "wide-65536", 2)
print()
print("on the build disk, both durable:")
for line in open(sys.argv[2]):
    name, convert, copy = line.split()
    convert, copy = float(convert), float(copy)
    print(f"  {name.replace('_', ' ')}: convert {convert * 1e3:.2f} ms, cp + sync {copy * 1e3:.2f} ms,"
          f" ratio {convert / copy:.2f}")
for problem in problems:
    print("PROBLEM:", problem)
sys.exit(1 if problems else 0)
PY
