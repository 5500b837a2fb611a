#!/usr/bin/env bash
# Builds the engine's and driver's unit programs as WebAssembly with Debian's
# emscripten and runs them under node with CTest:
#   bash tools/test_web_units.sh <build directory> [cmake options...]
# Exits non-zero when the configure step, the build or a test fails. The
# programs left out (they start programs, need FreeType, threads or signals)
# are listed in tests/web/web_tests.cmake and printed before the run.
set -euo pipefail

if [ $# -lt 1 ]; then
  echo "usage: $0 <build directory> [cmake options...]" >&2
  exit 2
fi
build_dir=$1
shift
cd "$(dirname "$0")/.."

# emscripten's JavaScript optimizer finds its node modules in Debian's folder.
export NODE_PATH=${NODE_PATH:-/usr/share/nodejs}
jobs=${VELLICOR_JOBS:-2}
started=$SECONDS

emcmake cmake -S . -B "$build_dir" -DVELLICOR_BUILD_TESTS=ON -DVELLICOR_BUILD_DIALOG=OFF \
  -DVELLICOR_INSTALL=OFF -DVELLICOR_WERROR=ON "$@"
nice cmake --build "$build_dir" -j "$jobs" --target vellicor_web_tests
built=$SECONDS

echo "test programs left out of the WebAssembly build:"
sed 's/^/  /; s/|/: /' "$build_dir/web_skipped_tests.txt"
ctest --test-dir "$build_dir" --output-on-failure -j "$jobs"
echo "web units: built in $((built - started)) s, ran in $((SECONDS - built)) s"
