#!/usr/bin/env bash
# Builds the web page into DIR: index.html, style.css, page.js and engine.js
# (the engine compiled to WebAssembly, inside the worker's script). The page
# works from file:// and from any static server; it fetches nothing.
#   bash tools/build_web.sh DIR
# Needs Debian's emscripten (and its node). VELLICOR_WEB_BUILD names the build
# folder (default: build-web).
set -euo pipefail
if [ $# -ne 1 ]; then
  echo "usage: bash tools/build_web.sh DIR" >&2
  exit 2
fi
cd "$(dirname "$0")/.."
out=$1
build=${VELLICOR_WEB_BUILD:-build-web}
# Debian's emscripten finds its JavaScript optimizer's modules only here.
export NODE_PATH=${NODE_PATH:-/usr/share/nodejs}
jobs=$(nproc 2>/dev/null || echo 2)

emcmake cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DVELLICOR_WERROR=ON \
  -DVELLICOR_BUILD_TESTS=OFF -DVELLICOR_BUILD_DIALOG=OFF -DVELLICOR_INSTALL=OFF >/dev/null
cmake --build "$build" -j "$jobs" --target vellicor_web

mkdir -p "$out"
cp web/index.html web/style.css web/page.js "$out/"
# The worker starts from this text (a Blob), as a page opened from file:// may
# not start a worker from a file.
python3 - "$build/bin/vellicor_web.js" web/worker.js "$out/engine.js" <<'PY'
import json, sys
engine, worker, target = sys.argv[1:4]
source = open(engine, encoding="utf-8").read() + "\n" + open(worker, encoding="utf-8").read()
with open(target, "w", encoding="utf-8") as out:
    out.write("// vellicor's engine and the page's worker, started from this text.\n")
    out.write("var vellicorWorkerSource = " + json.dumps(source) + ";\n")
PY
echo "built the page into $out"
