#!/usr/bin/env bash
# Installs the Debian packages that building and testing vellicor need.
# Run as root (or through sudo); skips apt when everything is already there.
set -euo pipefail

packages=(
  cmake g++ make pkg-config
  libgtest-dev libgmock-dev   # unit tests
  qt6-base-dev                # the dialog program
  libfreetype-dev xfonts-utils kbd  # reading written fonts back (FreeType, bdftopcf, fonttosfnt, psfxtable)
  fontconfig pango1.0-tools   # OTB and TTF as systems load them (fc-scan, pango-view)
  xfonts-base console-setup-linux  # real fonts drawn into sheets and read back (tests/sheets)
  zlib1g-dev                  # gzip fonts drawn (.pcf.gz, .psf.gz); the PNG of tools/render_text
  imagemagick netpbm python3-pil  # pictures written by real tools
  libspng-dev                 # reading PNG pictures
  binutils                    # nm, for the exported-symbol check
  lintian desktop-file-utils appstream man-db dpkg-dev file  # checking the Debian package
  xvfb xdotool                # screenshots of the dialog program (tools/screenshot.sh)
  libbenchmark-dev            # micro-benchmarks (bench/)
  hyperfine strace time       # whole-process benchmarks (bench/run_benchmarks.sh)
  clang libclang-rt-14-dev llvm  # fuzz targets (libFuzzer, fuzz/run_fuzzers.sh)
  clang-tidy cppcheck         # static analysis (tools/static_analysis.sh)
  clang-format                # the layout check (tools/check_format.sh)
)

# Windows cross-builds and their tests under wine (tools/test_windows.sh):
# only on CI or when asked, as they weigh a few hundred megabytes.
windows_packages=(
  mingw-w64 googletest   # the cross compilers; GoogleTest's sources for them
  wine wine64 unzip      # running the tests and the unpacked ZIP package
)
if [ -n "${CI:-}" ] || [ "${VELLICOR_WINDOWS:-0}" = 1 ]; then
  packages+=("${windows_packages[@]}")
fi

# The web page (tools/build_web.sh, tools/test_web.sh): the WebAssembly
# compiler, the PNG decoder it builds from source, and a real browser for its
# test; only on CI or when asked, for the same reason.
web_packages=(
  emscripten libstb-dev googletest            # the engine and its unit tests as WebAssembly
  chromium chromium-driver python3-selenium   # the page in headless Chromium
)
if [ -n "${CI:-}" ] || [ "${VELLICOR_WEB:-0}" = 1 ]; then
  packages+=("${web_packages[@]}")
fi

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -q
"${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
