#!/usr/bin/env bash
# The web page's tests: builds the page, runs the engine's unit tests as
# WebAssembly under node, then the page itself in headless Chromium against
# the console program of a finished native build.
#   bash tools/test_web.sh [NATIVE_BUILD_DIR]   (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
native=${1:-build}
export NODE_PATH=${NODE_PATH:-/usr/share/nodejs}

started=$SECONDS
VELLICOR_WEB_BUILD=build-web bash tools/build_web.sh build-web/page
echo "web: page built in $((SECONDS - started)) s"

units=$SECONDS
bash tools/test_web_units.sh build-web-tests
echo "web: unit tests under node in $((SECONDS - units)) s"

browser=$SECONDS
# Debian's python3, which has Debian's selenium (a python3 earlier on PATH may not).
/usr/bin/python3 tests/web/browser_test.py build-web/page "$native/bin/cvellicor"
echo "web: browser test in $((SECONDS - browser)) s"
echo "web: all in $((SECONDS - started)) s"
