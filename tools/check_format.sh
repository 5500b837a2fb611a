#!/usr/bin/env bash
# Checks that every C and C++ file of the tree is as clang-format (with the
# project's .clang-format) would write it; lists the files that are not.
#   bash tools/check_format.sh          check
#   bash tools/check_format.sh --fix    rewrite them in place
set -euo pipefail
cd "$(dirname "$0")/.."

formatter=${CLANG_FORMAT:-clang-format}
if ! command -v "$formatter" >/dev/null 2>&1; then
  echo "check_format: $formatter not found (Debian: clang-format)" >&2
  exit 2
fi

mapfile -t files < <(git ls-files '*.c' '*.h' '*.cpp' '*.hpp')
if [ "${1:-}" = "--fix" ]; then
  "$formatter" -i "${files[@]}"
  exit 0
fi

unformatted=()
for file in "${files[@]}"; do
  if ! "$formatter" --dry-run --Werror "$file" >/dev/null 2>&1; then
    unformatted+=("$file")
  fi
done
if [ ${#unformatted[@]} -ne 0 ]; then
  echo "check_format: not formatted as .clang-format says (bash tools/check_format.sh --fix):" >&2
  printf '  %s\n' "${unformatted[@]}" >&2
  exit 1
fi
echo "check_format: ${#files[@]} files formatted"
