#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer, address and undefined-behaviour
# sanitizers) and runs each one for a bounded time, one after another.
#
#   fuzz/run_fuzzers.sh [SECONDS_PER_TARGET]   (default: $VELLICOR_FUZZ_SECONDS or 60)
#
# Seeds: the corpus kept in fuzz/corpus/<target>, the kept crashers, and for
# the conversion and the BMP reader the shared BMP Suite when ../shared/bmpsuite exists. New
# inputs go to a work folder (VELLICOR_FUZZ_WORK, default build-fuzz/work), never
# into the repository. Every input of at most 64 KiB must finish within a
# second and 64 MiB; a crash, a broken property, a hang or too much memory
# fails the script, and the input is left in the work folder's artifacts.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-${VELLICOR_FUZZ_SECONDS:-60}}
build=${VELLICOR_FUZZ_BUILD:-build-fuzz}
work=${VELLICOR_FUZZ_WORK:-$build/work}
jobs=${VELLICOR_FUZZ_JOBS:-2}

cmake -S . -B "$build" -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELLICOR_FUZZ=ON -DVELLICOR_SANITIZE=ON \
  -DVELLICOR_BUILD_TESTS=OFF -DVELLICOR_BUILD_DIALOG=OFF >/dev/null
cmake --build "$build" -j "$jobs" --target fuzz_convert fuzz_console fuzz_names fuzz_chars fuzz_png_reader fuzz_bmp_reader fuzz_sheet \
  fuzz_bdf_font fuzz_psf_font

# The limits are the program's: ASan's quarantine of freed blocks would count
# against the memory limit, so it is kept small. libFuzzer checks every input
# for leaks itself; the sanitizer's own check at exit would stop the process
# while libFuzzer's memory watch still runs, which can report the check's own
# memory as the target's and then wedge, so it is left out.
export ASAN_OPTIONS=${ASAN_OPTIONS:-quarantine_size_mb=4:detect_leaks=1:leak_check_at_exit=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1}
limits=(-timeout=1 -rss_limit_mb=64 -max_len=65536)

status=0
for target in convert console names chars png_reader bmp_reader sheet bdf_font psf_font; do
  corpus="$work/$target"
  artifacts="$work/artifacts/$target/"
  mkdir -p "$corpus" "$artifacts"
  seeds=("fuzz/corpus/$target")
  [ -d "tests/data/crashers/$target" ] && seeds+=("tests/data/crashers/$target")
  case "$target" in convert | bmp_reader)
    [ -d ../shared/bmpsuite ] && seeds+=(../shared/bmpsuite) ;;
  esac
  echo "== fuzz_$target for ${seconds}s"
  # A fuzzer that wedges while reporting a finding (its sanitizer stopping the
  # process to print stacks) must fail the run, not hold it up for good.
  if ! timeout -k 10 $((seconds + 120)) "$build/bin/fuzz_$target" "${limits[@]}" \
      -max_total_time="$seconds" \
      -print_final_stats=1 -artifact_prefix="$artifacts" "$corpus" "${seeds[@]}" \
      >"$work/$target.log" 2>&1; then
    echo "fuzz_$target failed; see $work/$target.log and $artifacts" >&2
    tail -n 40 "$work/$target.log" >&2
    status=1
  fi
  grep -E "^#[0-9]+[[:space:]]+DONE|stat::number_of_executed_units|stat::peak_rss_mb" "$work/$target.log" || true
done
exit $status
