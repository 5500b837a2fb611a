#!/usr/bin/env bash
# Old against new: converts generated strips with two builds of cvellicor and
# fails when any font (or exit status, or message) differs by one byte.
#
#   bench/compare_builds.sh OLD_CVELLICOR NEW_CVELLICOR [COUNT]
#
# COUNT strips (default 300) are drawn from a fixed seed: random widths and
# heights (not only multiples of 8), bottom-up and top-down rows, either
# palette order, glyphs of random size and ink, gaps of one to four columns;
# each strip is converted with its own random options (-a -v -d -w -u -b -l
# -r -f), some of them at their extremes. Needs python3.
set -euo pipefail
[ $# -ge 2 ] || { echo "usage: $0 OLD_CVELLICOR NEW_CVELLICOR [COUNT]" >&2; exit 2; }
old=$(realpath "$1")
new=$(realpath "$2")
count=${3:-300}
work=$(mktemp -d "${TMPDIR:-/tmp}/vellicor-compare.XXXXXX")
trap 'rm -rf "$work"' EXIT

python3 - "$work" "$count" <<'PY'
import random, struct, sys, os

folder, count = sys.argv[1], int(sys.argv[2])
rng = random.Random(20261208)

def bmp(rows, width, top_down, ink_is_one):
    stride = (width + 31) // 32 * 4
    data = bytearray()
    ordered = rows if top_down else list(reversed(rows))
    for row in ordered:
        line = bytearray(stride)
        for x, ink in enumerate(row):
            bit = 1 if ink == ink_is_one else 0
            if bit:
                line[x // 8] |= 0x80 >> (x % 8)
        data += line
    palette = (b"\xff\xff\xff\x00\x00\x00\x00\x00" if ink_is_one else
               b"\x00\x00\x00\x00\xff\xff\xff\x00")
    height = -len(rows) if top_down else len(rows)
    offset = 14 + 40 + len(palette)
    header = struct.pack("<2sIHHI", b"BM", offset + len(data), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 1, 0, len(data), 2835, 2835, 2, 0)
    return header + info + palette + bytes(data)

for index in range(count):
    height = rng.choice([2, 3, 8, 16, 17, 24, 33, rng.randint(2, 80)])
    glyphs = rng.choice([1, 2, 5, rng.randint(1, 60), rng.randint(60, 700)])
    columns = [[False] * height]  # column 0 never starts a glyph
    for _ in range(glyphs):
        width = rng.choice([1, 2, 3, 5, 8, rng.randint(1, 70)])
        top = rng.randint(0, height - 1)
        bottom = rng.randint(top, height - 1)
        density = rng.random()
        for _ in range(width):
            column = [top <= y <= bottom and rng.random() < density for y in range(height)]
            if rng.random() < 0.2:
                column = [False] * height  # a gap inside a glyph
            columns.append(column)
        columns += [[False] * height for _ in range(rng.randint(1, 4))]
        if rng.random() < 0.05:
            columns[-1] = [y == 0 for y in range(height)]  # ink in the top row only
    width = len(columns) + rng.randint(0, 9)
    columns += [[False] * height for _ in range(width - len(columns))]
    rows = [[columns[x][y] for x in range(width)] for y in range(height)]
    picture = bmp(rows, width, rng.random() < 0.5, rng.random() < 0.5)
    def pick(extreme):
        return str(rng.choice([0, 0, 1, 2, rng.randint(0, 9), extreme]))
    options = ["-a", pick(255), "-v", str(rng.choice([0, 32, 65, 65500, rng.randint(0, 65535)])),
               "-d", pick(255), "-u", pick(255), "-b", pick(255), "-l", pick(255),
               "-r", pick(255), "-f", rng.choice(["Cmp", "Some-Font", "A b"])]
    if rng.random() < 0.4:
        options += ["-w"]
    with open(os.path.join(folder, f"s{index:04d}.bmp"), "wb") as out:
        out.write(picture)
    with open(os.path.join(folder, f"s{index:04d}.args"), "w") as out:
        out.write("\n".join(options) + "\n")
PY

same=0
for strip in "$work"/s*.bmp; do
  base=${strip%.bmp}
  mapfile -t options <"$base.args"
  status_old=0
  status_new=0
  out_old=$("$old" "${options[@]}" -o "$base.old.bdf" "$strip") || status_old=$?
  out_new=$("$new" "${options[@]}" -o "$base.new.bdf" "$strip") || status_new=$?
  if [ "$status_old" != "$status_new" ] || [ "$out_old" != "$out_new" ]; then
    echo "$(basename "$strip") ${options[*]}: exit $status_old / $status_new, '$out_old' / '$out_new'" >&2
    exit 1
  fi
  if [ -e "$base.old.bdf" ] || [ -e "$base.new.bdf" ]; then
    if ! cmp -s "$base.old.bdf" "$base.new.bdf"; then
      echo "$(basename "$strip") ${options[*]}: the fonts differ" >&2
      exit 1
    fi
  fi
  same=$((same + 1))
done
fonts=$(find "$work" -name '*.new.bdf' | wc -l)
echo "$same strips converted alike by both builds ($fonts fonts written, compared byte for byte)"
