#!/usr/bin/env bash
# Old against new: converts generated pictures with two builds of cvellicor
# and fails when any font, listing, exit status or message differs by a byte.
#
#   bench/compare_builds.sh OLD_CVELLICOR NEW_CVELLICOR [COUNT]
#
# COUNT cases (default 300) are drawn from a fixed seed, each from its own
# (the seed and the case number), by bench/compare_cases.py. About half are
# plain: a one-bit BMP strip (random sizes, both row orders and palette
# orders, glyphs of random size and ink, gaps) converted with random short
# options (-a -v -d -w -u -b -l -r -f), some at their extremes. The others add
# long options: character lists (--chars, --chars-file; blanks, non-ASCII,
# wrong counts, duplicates, invalid UTF-8), --blank-advance, every --ink rule
# and --list, on a one-bit BMP, a PNG of every colour type and depth
# (interlaced or not) or a BMP of 4, 8 (plain or run-length coded), 16, 24 or
# 32 bits, painted with anti-aliased or coloured ink for the rule. Both builds
# run in the case's folder with the same arguments; the table at the end
# counts each kind.
# With VELLICOR_COMPARE_KEEP=1 the case folders stay, to run a differing case
# again by hand. Needs python3 (standard library only).
set -euo pipefail
usage() { echo "usage: $0 OLD_CVELLICOR NEW_CVELLICOR [COUNT]" >&2; exit 2; }
if [ $# -lt 2 ] || [ $# -gt 3 ]; then usage; fi
old=$(realpath "$1")
new=$(realpath "$2")
count=${3:-300}
[[ $count =~ ^[0-9]+$ ]] || usage
for program in "$old" "$new"; do
  [ -x "$program" ] || { echo "$0: $program is no program" >&2; exit 2; }
done
here=$(dirname "$(realpath "$0")")
work=$(mktemp -d "${TMPDIR:-/tmp}/vellicor-compare.XXXXXX")
if [ -n "${VELLICOR_COMPARE_KEEP:-}" ]; then
  echo "cases kept in $work"
else
  trap 'rm -rf "$work"' EXIT
fi

python3 "$here/compare_cases.py" "$old" "$new" "$count" "$work"
