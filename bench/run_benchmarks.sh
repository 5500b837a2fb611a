#!/usr/bin/env bash
# Whole-process benchmarks of cvellicor: builds it in Release, draws the
# benchmark strips into a temporary folder and prints, for each strip, the
# conversion's median time next to the median time of copying the font it
# produced (cp, same folder), their ratio, the conversion's peak memory and
# its write calls per glyph; then the scaling and shape ratios.
#
#   bench/run_benchmarks.sh [--quick]
#
# BUILD_DIR picks the build folder (default build-bench); --quick runs the
# small strips only, with few runs, as a check that the script works.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

quick=0
[ "${1:-}" = "--quick" ] && quick=1

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

results="$work/results.txt"
: >"$results"
for entry in "${cases[@]}"; do
  read -r name shape glyphs <<<"$entry"
  dir="$work/$name"
  mkdir -p "$dir"
  "$make_strip" "$shape" "$glyphs" "$dir/strip.bmp"
  # One allowed blank column: every cell of the strip gives one glyph.
  convert_cmd="'$converter' -a 1 -o '$dir/strip.bdf' '$dir/strip.bmp'"
  copy_cmd="cp '$dir/strip.bdf' '$dir/copy.bdf'"
  eval "$convert_cmd" >/dev/null
  hyperfine -N "${runs[@]}" --style none --export-json "$dir/convert.json" "$convert_cmd" >/dev/null
  hyperfine -N "${runs[@]}" --style none --export-json "$dir/copy.json" "$copy_cmd" >/dev/null
  /usr/bin/time -v -o "$dir/time.txt" sh -c "$convert_cmd" >/dev/null
  strace -f -c -e trace=write,writev,pwrite64 -o "$dir/strace.txt" sh -c "exec $convert_cmd" >/dev/null
  python3 - "$name" "$dir" >>"$results" <<'PY'
import json, os, re, sys

name, folder = sys.argv[1], sys.argv[2]

def median(file):
    with open(os.path.join(folder, file)) as data:
        return json.load(data)["results"][0]["median"]

with open(os.path.join(folder, "strip.bdf"), "rb") as font:
    glyphs = next(int(line.split()[1]) for line in font if line.startswith(b"CHARS "))
with open(os.path.join(folder, "time.txt")) as report:
    peak_kib = int(re.search(r"Maximum resident set size \(kbytes\): (\d+)", report.read()).group(1))
writes = 0
with open(os.path.join(folder, "strace.txt")) as report:
    for line in report:
        fields = line.split()
        if fields and fields[-1] in ("write", "writev", "pwrite64"):
            writes += int(fields[3])  # calls; the errors column may be empty
with open(os.path.join(folder, "strip.bmp"), "rb") as strip:
    header = strip.read(14 + 40)
pixel_bytes = int.from_bytes(header[34:38], "little")
convert, copy = median("convert.json"), median("copy.json")
print(name, glyphs, convert, copy, peak_kib, pixel_bytes, writes,
      os.path.getsize(os.path.join(folder, "strip.bdf")))
PY
done

python3 - "$results" <<'PY'
import sys

rows = [line.split() for line in open(sys.argv[1])]
print(f"{'case':<12}{'glyphs':>8}{'font MiB':>10}{'convert ms':>12}{'cp ms':>9}{'ratio':>8}"
      f"{'peak MiB':>10}{'limit MiB':>11}{'writes/glyph':>14}")
times = {}
for name, glyphs, convert, copy, peak_kib, pixels, writes, font in rows:
    convert, copy = float(convert), float(copy)
    times[name] = convert
    limit = int(pixels) / 2**20 + 4
    print(f"{name:<12}{int(glyphs):>8}{int(font) / 2**20:>10.2f}{convert * 1e3:>12.2f}"
          f"{copy * 1e3:>9.2f}{convert / copy:>8.2f}{int(peak_kib) / 1024:>10.2f}{limit:>11.2f}"
          f"{int(writes) / int(glyphs):>14.3f}")
print()
def ratio(label, numerator, denominator, target):
    if numerator in times and denominator in times:
        print(f"{label}: {times[numerator] / times[denominator]:.2f} (target at most {target})")
ratio("scaling 4096 -> 16384 glyphs", "wide-16384", "wide-4096", 4.4)
ratio("scaling 16384 -> 65536 glyphs", "wide-65536", "wide-16384", 4.4)
ratio("shape tall / wide, 65536 glyphs' pixels", "tall-65536", "wide-65536", 2)
PY
