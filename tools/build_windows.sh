#!/usr/bin/env bash
# Cross-builds vellicor for Windows with Debian's mingw-w64 compilers:
#   bash tools/build_windows.sh x86_64 build-win64
#   bash tools/build_windows.sh i686 build-win32
# The build directory then holds bin/cvellicor.exe, bin/vellicor.dll and the
# import library lib/libvellicor.dll.a; `cpack` in it makes the ZIP archive.
# Further arguments go to the configure step (e.g. -DVELLICOR_BUILD_TESTS=OFF).
set -euo pipefail

if [ $# -lt 2 ]; then
  echo "usage: $0 <x86_64|i686> <build directory> [cmake options...]" >&2
  exit 2
fi
architecture=$1
build_dir=$2
shift 2
case "$architecture" in
  x86_64 | i686) ;;
  *) echo "unknown architecture '$architecture' (x86_64 or i686)" >&2; exit 2 ;;
esac

source_dir=$(cd "$(dirname "$0")/.." && pwd)
jobs=${VELLICOR_JOBS:-$(nproc 2>/dev/null || echo 2)}
launcher=()
if command -v ccache >/dev/null 2>&1; then
  launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi

cmake -S "$source_dir" -B "$build_dir" \
  -DCMAKE_TOOLCHAIN_FILE="$source_dir/cmake/toolchains/mingw-$architecture.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DVELLICOR_BUILD_DIALOG=OFF -DVELLICOR_WERROR=ON \
  "${launcher[@]}" "$@"
cmake --build "$build_dir" -j "$jobs"
