#!/usr/bin/env bash
# Builds the Debian package from a finished build, runs lintian on it, installs
# it system-wide, uses what it installed, and removes it again. Needs root (or
# sudo) and changes the machine: run it on a CI machine or on purpose only.
#
#   check_deb.sh [BUILD_DIR]      (default: build)
set -euo pipefail
cd "$(dirname "$0")/../.."
source_dir=$(pwd)
build_dir=$(cd "${1:-build}" && pwd)

sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

echo "== Building the package"
rm -f "$build_dir"/packages/vellicor_*.deb
(cd "$build_dir" && cpack -G DEB >/dev/null)
debs=("$build_dir"/packages/vellicor_*_"$(dpkg --print-architecture)".deb)
[ -f "${debs[0]}" ] || fail "cpack made no vellicor_<version>_<arch>.deb"
deb=${debs[0]}
echo "$deb"
dpkg-deb --info "$deb"
dpkg-deb --contents "$deb"

echo "== lintian"
# Errors fail the check; warnings are listed and looked at by a person.
lintian --fail-on error --tag-display-limit 0 "$deb" || fail "lintian reports errors"

echo "== Installing"
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get install -y -q "$deb"
files=$(dpkg -L vellicor)

echo "== cvellicor from PATH"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
[ "$(command -v cvellicor)" = /usr/bin/cvellicor ] || fail "cvellicor is not /usr/bin/cvellicor on PATH"
cp examples/ascii.bmp "$work/ascii.bmp"
(cd "$work" && cvellicor -f "Vellicor Sample" -v 33 -a 1 -d 2 -r 1 ascii.bmp) ||
  fail "cvellicor failed on the sample"
head -n 1 "$work/ascii.bdf" | grep -qx 'STARTFONT 2.1' || fail "no BDF font beside the sample"
grep -qx 'CHARS 94' "$work/ascii.bdf" || fail "the font does not hold the sample's 94 glyphs"

echo "== The library through the linker's cache, pkg-config and find_package"
# grep reads all of the listing (no -q): a grep that stops at the first match
# can leave ldconfig writing into a closed pipe, and pipefail then fails.
/sbin/ldconfig -p | grep 'libvellicor\.so\.1 ' >/dev/null || fail "libvellicor.so.1 is not in the linker's cache"
read -r -a pc_flags <<<"$(pkg-config --cflags --libs vellicor)"
"${CC:-cc}" -std=c99 -Wall -Wextra -Wpedantic -Werror tests/packaging/consumer/convert_strip.c \
  "${pc_flags[@]}" -o "$work/convert_strip" || fail "a host does not build against the package"
"$work/convert_strip" "$work/ascii.bmp" "$work/host.bdf" || fail "the host failed to convert"
cmp "$work/ascii.bdf" "$work/host.bdf" || fail "the host's font differs from cvellicor's"

cmake -S tests/packaging/consumer -B "$work/cmake-host" >/dev/null ||
  fail "find_package(vellicor) does not find the package"
cmake --build "$work/cmake-host" >/dev/null || fail "a CMake host does not build against the package"
"$work/cmake-host/convert_strip" "$work/ascii.bmp" "$work/cmake-host.bdf" ||
  fail "the CMake host failed to convert"
cmp "$work/ascii.bdf" "$work/cmake-host.bdf" || fail "the CMake host's font differs from cvellicor's"

echo "== Manual page"
page=$(grep -E '/man1/cvellicor\.1(\.gz)?$' <<<"$files") || fail "the package holds no cvellicor.1"
if [ -f "$page" ]; then
  [ "$(man -w cvellicor)" = "$page" ] || fail "man -w cvellicor does not find $page"
else
  # Minimal images drop manual pages at unpacking (dpkg path-exclude); the
  # package still holds it, as listed above.
  grep -rqs 'path-exclude.*/usr/share/man' /etc/dpkg/dpkg.cfg.d/ ||
    fail "$page is listed but missing, and dpkg does not exclude manual pages"
  dpkg-deb --contents "$deb" | grep "\.$page\$" >/dev/null || fail "$page is not in the package"
  echo "dpkg excludes /usr/share/man here; $page is in the package"
fi

echo "== Desktop entry and AppStream metadata"
desktop_files=$(grep '^/usr/share/applications/.*\.desktop$' <<<"$files") || fail "no desktop entry"
for entry in $desktop_files; do
  desktop-file-validate "$entry" || fail "desktop-file-validate refuses $entry"
done
metainfo=$(grep '^/usr/share/metainfo/.*\.metainfo\.xml$' <<<"$files") || fail "no metainfo file"
appstreamcli validate --no-net "$metainfo" || fail "appstreamcli refuses $metainfo"
launchable=$(sed -n 's:.*<launchable type="desktop-id">\(.*\)</launchable>.*:\1:p' "$metainfo")
[ -f "/usr/share/applications/$launchable" ] || fail "the metainfo launches $launchable, which is not installed"

echo "== Removing"
"${sudo_cmd[@]}" apt-get remove -y -q vellicor
[ ! -e /usr/bin/cvellicor ] || fail "/usr/bin/cvellicor is still there after removal"
[ ! -e /usr/lib/libvellicor.so.1 ] || fail "libvellicor.so.1 is still there after removal"
# A package with a postrm stays known as config-files until it is purged.
status=$(dpkg-query -W -f='${Status}' vellicor 2>/dev/null || true)
case "$status" in
  "" | *not-installed* | "deinstall ok config-files") ;;
  *) fail "vellicor is left in state '$status'" ;;
esac
"${sudo_cmd[@]}" apt-get purge -y -q vellicor
while read -r path; do
  [ -d "$path" ] || [ ! -e "$path" ] || fail "$path is left after purging"
done <<<"$files"

echo "Debian package: built, lintian-clean of errors, installed, used and removed"
