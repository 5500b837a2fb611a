#!/usr/bin/env bash
# Cross-builds vellicor for Windows and runs its test suites under wine:
#   bash tools/test_windows.sh [build directory prefix]     (default: build-win)
# x86_64: built, tested under wine, ZIP package made and tried. i686: built
# and its DLL checked; its tests run only where a 32-bit wine can start
# (wine32:i386, and a kernel that runs 32-bit programs).
# wine gets a private prefix inside the build directory and its own server,
# started before and stopped after the run, so nothing waits on a stray
# wineserver afterwards.
set -euo pipefail
cd "$(dirname "$0")/.."

prefix=${1:-build-win}
jobs=$(nproc 2>/dev/null || echo 2)

export WINEDEBUG=-all
# No Mono or Gecko installers for a prefix that runs console programs only.
export WINEDLLOVERRIDES="mscoree,mshtml="

wineserver_pid=""
start_wine() {
  export WINEPREFIX=$1
  mkdir -p "$WINEPREFIX"
  wineserver -p  # persistent until wineserver -k
  wine wineboot --init >/dev/null 2>&1
}
stop_wine() {
  if [ -n "${WINEPREFIX:-}" ]; then
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
  fi
}
trap stop_wine EXIT

# On a fresh machine wine now and then fails to start a test program at all:
# it exits at once, before the program's main has printed a line. Tests that
# fail are run once more, alone and with wine's own error messages on; a test
# that fails again fails the run, one that passes is named in a warning so a
# real intermittent fault still shows in the log.
run_tests_under_wine() {
  local build_dir=$1
  if ctest --test-dir "$build_dir" --output-on-failure -j "$jobs"; then
    return 0
  fi
  local failed
  failed=$(cat "$build_dir/Testing/Temporary/LastTestsFailed.log" 2>/dev/null || true)
  echo "warning: running the failed Windows tests once more, one at a time"
  WINEDEBUG=err+all ctest --test-dir "$build_dir" --rerun-failed --output-on-failure
  echo "warning: these Windows tests failed under wine and passed when run again:"
  printf '%s\n' "$failed" | sed 's/^/  /'
}

# A 32-bit wine that can really start (Debian's wine32:i386; some kernels
# cannot run 32-bit programs at all).
has_wine32() {
  [ -x /usr/lib/wine/wine ] && /usr/lib/wine/wine --version >/dev/null 2>&1
}

run_architecture() {
  local architecture=$1 build_dir=$2 run_tests=$3
  local started=$SECONDS
  mkdir -p "$build_dir"
  build_dir=$(cd "$build_dir" && pwd)
  local tests=ON
  [ "$run_tests" = yes ] || tests=OFF
  VELLICOR_JOBS=$jobs bash tools/build_windows.sh "$architecture" "$build_dir" \
    -DVELLICOR_BUILD_TESTS=$tests
  (cd "$build_dir" && cpack -G ZIP >/dev/null)
  if [ "$run_tests" = yes ]; then
    start_wine "$build_dir/wineprefix"
    run_tests_under_wine "$build_dir"
    # The package as a user gets it, against the native build when there is one.
    local native=""
    [ -x build/bin/cvellicor ] && native=build/bin/cvellicor
    bash tests/windows/check_zip_package.sh "$build_dir"/packages/vellicor-*-win*.zip . $native
    if [ -n "$native" ]; then
      bash tests/windows/check_formats_identical.sh "$build_dir/bin/cvellicor.exe" "$native" .
    fi
    # The golden conversions, where the shared test data is present.
    if [ -f ../shared/golden/check.sh ]; then
      local runner="$build_dir/cvellicor-under-wine"
      printf '#!/bin/sh\nexec wine "%s" "$@"\n' "$build_dir/bin/cvellicor.exe" > "$runner"
      chmod +x "$runner"
      bash ../shared/golden/check.sh "$runner"
    fi
    stop_wine
  else
    # Without wine only what objdump can tell: the DLL's exports and imports.
    cmake -DOBJDUMP="$architecture-w64-mingw32-objdump" \
      -DLIBRARY="$build_dir/bin/vellicor.dll" -DPROGRAM="$build_dir/bin/cvellicor.exe" \
      -P tests/windows/check_dll_exports.cmake
    echo "note: no 32-bit wine here; the $architecture tests were not run"
  fi
  echo "windows $architecture: $((SECONDS - started)) s"
}

run_architecture x86_64 "$prefix"64 yes
if has_wine32; then
  run_architecture i686 "$prefix"32 yes
else
  run_architecture i686 "$prefix"32 no
fi
