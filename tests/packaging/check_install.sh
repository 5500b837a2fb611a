#!/usr/bin/env bash
# Installs a build into a staging prefix, checks the installed layout, then
# builds a small C host against it twice, through find_package(vellicor) and
# through pkg-config, and has both convert the sample strip. Their fonts must
# match, byte for byte, the one the installed cvellicor writes.
#
#   check_install.sh BUILD_DIR SOURCE_DIR
set -euo pipefail

build_dir=$(cd "$1" && pwd)
source_dir=$(cd "$2" && pwd)

# A library built with sanitizers needs their runtimes loaded first, so the
# hosts are built with the same flags.
extra_flags=""
if grep -qx 'VELLICOR_SANITIZE:BOOL=ON' "$build_dir/CMakeCache.txt"; then
  extra_flags="-fsanitize=address,undefined"
fi

work="$build_dir/packaging-check"
stage="$work/stage"
rm -rf "$work"
mkdir -p "$work"

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

cmake --install "$build_dir" --prefix "$stage" >"$work/install.log"

# The library directory depends on GNUInstallDirs (lib, lib64 or a multiarch
# directory); the pkg-config file sits inside it.
pc_file=$(find "$stage" -name vellicor.pc -path '*/pkgconfig/*' | head -n 1)
[ -n "$pc_file" ] || fail "vellicor.pc was not installed"
libdir=$(dirname "$(dirname "$pc_file")")

for path in bin/cvellicor include/vellicor/vellicor.h \
    share/man/man1/cvellicor.1.gz share/man/man1/vellicor.1.gz \
    share/doc/vellicor/copyright; do
  [ -f "$stage/$path" ] || fail "$path was not installed"
done
[ -f "$libdir/cmake/vellicor/vellicorConfig.cmake" ] || fail "CMake package not installed"
[ -f "$libdir/libvellicor.so.1.0.0" ] || fail "libvellicor.so.1.0.0 not installed"
[ "$(readlink "$libdir/libvellicor.so.1")" = libvellicor.so.1.0.0 ] ||
  fail "libvellicor.so.1 does not link to libvellicor.so.1.0.0"
[ "$(readlink "$libdir/libvellicor.so")" = libvellicor.so.1 ] ||
  fail "libvellicor.so does not link to the soname"
if grep -qx 'VELLICOR_BUILD_DIALOG:BOOL=ON' "$build_dir/CMakeCache.txt"; then
  for path in bin/vellicor share/applications/org.example.vellicor.desktop \
      share/icons/hicolor/16x16/apps/vellicor.png \
      share/icons/hicolor/32x32/apps/vellicor.png \
      share/metainfo/org.example.vellicor.metainfo.xml; do
    [ -f "$stage/$path" ] || fail "$path was not installed"
  done
fi

# The README shows the host in full; it must be the file built here.
awk '/^## Using the library/ { section = 1 }
     section && /^```c$/ { inside = 1; next }
     inside && /^```$/ { exit }
     inside { print }' "$source_dir/README.md" >"$work/readme-example.c"
cmp "$work/readme-example.c" "$source_dir/tests/packaging/consumer/convert_strip.c" ||
  fail "the README's library example differs from tests/packaging/consumer/convert_strip.c"

# The picture sits in a folder of its own; every font goes elsewhere.
mkdir -p "$work/in"
cp "$source_dir/examples/ascii.bmp" "$work/in/ascii.bmp"
"$stage/bin/cvellicor" -f "Vellicor Sample" -v 33 -a 1 -d 2 -r 1 \
  -o "$work/reference.bdf" "$work/in/ascii.bmp" || fail "cvellicor failed"
grep -qx 'CHARS 94' "$work/reference.bdf" || fail "reference font does not hold 94 glyphs"

# First host: a CMake project that finds the package.
cmake -S "$source_dir/tests/packaging/consumer" -B "$work/cmake-host" \
  -DCMAKE_PREFIX_PATH="$stage" -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_C_FLAGS="$extra_flags" -DCMAKE_EXE_LINKER_FLAGS="$extra_flags" \
  >"$work/cmake-host.log" || { cat "$work/cmake-host.log"; fail "consumer configure failed"; }
cmake --build "$work/cmake-host" >>"$work/cmake-host.log" ||
  { cat "$work/cmake-host.log"; fail "consumer build (find_package) failed"; }
"$work/cmake-host/convert_strip" "$work/in/ascii.bmp" "$work/cmake-host.bdf" ||
  fail "consumer (find_package) failed to convert"
cmp "$work/reference.bdf" "$work/cmake-host.bdf" ||
  fail "font from the find_package host differs from cvellicor's"

# Second host: a plain compiler line that asks pkg-config. Without an output
# name the library writes the font beside the picture.
export PKG_CONFIG_PATH="$libdir/pkgconfig"
read -r -a pc_flags <<<"$(pkg-config --cflags --libs vellicor)"
read -r -a more_flags <<<"$extra_flags"
"${CC:-cc}" -std=c99 -Wall -Wextra -Wpedantic -Werror "${more_flags[@]}" \
  "$source_dir/tests/packaging/consumer/convert_strip.c" "${pc_flags[@]}" \
  -o "$work/pc-host" || fail "consumer build (pkg-config) failed"
LD_LIBRARY_PATH="$libdir" "$work/pc-host" "$work/in/ascii.bmp" ||
  fail "consumer (pkg-config) failed to convert"
cmp "$work/reference.bdf" "$work/in/ascii.bdf" ||
  fail "font from the pkg-config host differs from cvellicor's"

echo "installed layout, find_package host and pkg-config host: all fonts match"
