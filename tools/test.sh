#!/usr/bin/env bash
# Installs what is missing, builds vellicor twice (plain, and with address and
# undefined-behaviour sanitizers) and runs the whole test suite on both builds.
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/install_deps.sh
echo "time: packages installed after $SECONDS s"

# The layout check first on CI (or when asked): it takes seconds and names the
# files to run `bash tools/check_format.sh --fix` on.
if [ -n "${CI:-}" ] || [ "${VELLICOR_CHECK_FORMAT:-0}" = 1 ]; then
  bash tools/check_format.sh
fi

jobs=$(nproc 2>/dev/null || echo 2)
export QT_QPA_PLATFORM=offscreen

# Each stage says how long it took, so the log shows where the time goes.
stage_started=$SECONDS
stage_done() {
  echo "time: $1 took $((SECONDS - stage_started)) s (all: $SECONDS s)"
  stage_started=$SECONDS
}

run_suite() {
  local dir=$1; shift
  cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELLICOR_WERROR=ON "$@"
  cmake --build "$dir" -j "$jobs"
  ctest --test-dir "$dir" --output-on-failure -j "$jobs"
  stage_done "the suite in $dir"
}

run_suite build
# The sanitizer build optimises less and keeps line tables only, so it
# compiles and links faster; its reports still name file and line. The
# benchmarks' smoke runs stay with the plain build, and so does the Qt dialog,
# whose compile is the slowest part of a build: the sanitizers guard the
# engine, the driver and the console, which read what users hand them.
run_suite build-sanitize -DVELLICOR_SANITIZE=ON -DVELLICOR_BUILD_BENCHMARKS=OFF \
  -DVELLICOR_BUILD_DIALOG=OFF \
  "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O1 -g1 -DNDEBUG" "-DCMAKE_C_FLAGS_RELWITHDEBINFO=-O1 -g1 -DNDEBUG"

# A build without PNG reading, for the one test that needs it: the console
# refusing a PNG as a foreign file. Only that program and the console are
# built, and the test must really run there, not skip.
cmake -S . -B build-no-png -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELLICOR_WERROR=ON \
  -DVELLICOR_PNG=OFF -DVELLICOR_BUILD_DIALOG=OFF
cmake --build build-no-png -j "$jobs" --target cvellicor cvellicor_picture_tests
no_png_run=$(build-no-png/bin/cvellicor_picture_tests \
  --gtest_filter=CvellicorPictures.PngWithoutDecoderIsAnInvalidType)
echo "$no_png_run"
if ! grep -q '^\[  PASSED  \] 1 test\.$' <<<"$no_png_run" || grep -q SKIPPED <<<"$no_png_run"; then
  echo "the PNG-less build did not run its PNG refusal test" >&2
  exit 1
fi
stage_done "the PNG-less build"

# The specified runs, byte for byte, on the console just built. The golden
# cases live beside the project, in ../shared, when it is there.
golden=../shared/golden/check.sh
if [ -f "$golden" ]; then
  bash "$golden" build/bin/cvellicor
else
  echo "golden runs skipped: $golden is absent"
fi

# The Debian package, made from the plain build: installed system-wide, used
# and removed again, so only on CI machines or when asked for.
if [ -n "${CI:-}" ] || [ "${VELLICOR_CHECK_DEB:-0}" = 1 ]; then
  bash tests/packaging/check_deb.sh build
  stage_done "the Debian package"
fi

# Windows on CI (or when asked): cross-builds for 64- and 32-bit Windows, the
# engine, driver and console suites under wine, and the ZIP packages.
if [ -n "${CI:-}" ] || [ "${VELLICOR_WINDOWS:-0}" = 1 ]; then
  bash tools/test_windows.sh build-win
  stage_done "Windows"
fi

# The web page on CI (or when asked): the engine as WebAssembly, its unit
# tests under node, and the page in headless Chromium.
if [ -n "${CI:-}" ] || [ "${VELLICOR_WEB:-0}" = 1 ]; then
  bash tools/test_web.sh build
  stage_done "the web page"
fi

# Robustness on CI (or when asked): every fuzz target for a bounded time.
if [ -n "${CI:-}" ] || [ -n "${VELLICOR_FUZZ_SECONDS:-}" ]; then
  bash fuzz/run_fuzzers.sh "${VELLICOR_FUZZ_SECONDS:-7}"
  stage_done "fuzzing"
fi

# Static analysis on CI (or when asked): clang-tidy and cppcheck, zero findings.
if [ -n "${CI:-}" ] || [ -n "${VELLICOR_STATIC_ANALYSIS:-}" ]; then
  bash tools/static_analysis.sh
  stage_done "static analysis"
fi
