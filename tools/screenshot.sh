#!/usr/bin/env bash
# Shows the dialog program, its About box and its Preview window of the sample
# strip in a real X window (a virtual X server, Xvfb) and saves a picture of
# each window.
# Usage: bash tools/screenshot.sh [build-dir] [picture-dir]
# (defaults: build, docs). Needs xvfb-run, xdotool and ImageMagick's import.
set -euo pipefail
cd "$(dirname "$0")/.."
script=tools/screenshot.sh

build_dir=${1:-build}
picture_dir=${2:-docs}
program="$build_dir/bin/vellicor"
sample=examples/ascii.bmp

if [ ! -x "$program" ]; then
  echo "no dialog program at $program: build the project first" >&2
  exit 1
fi
for tool in xvfb-run xdotool import; do
  if ! command -v "$tool" > /dev/null; then
    echo "$tool is missing: bash tools/install_deps.sh installs it" >&2
    exit 1
  fi
done
if [ ! -f "$sample" ]; then
  echo "no sample strip at $sample" >&2
  exit 1
fi
mkdir -p "$picture_dir"

# Runs inside the virtual display: start the program, picture the main window,
# open the About box with its mnemonic (Alt+P, "About A&pp") and picture it,
# then fill in the sample's settings, open the Preview window (Alt+W) and
# picture it. The program runs in a scratch folder holding a copy of the
# sample, so that the picture shows a short name rather than where this
# checkout happens to live.
inside_display() {
  local program picture_dir sample scratch
  program=$(realpath "$1")
  picture_dir=$(realpath "$2")
  sample=$(realpath "$3")
  scratch=$(mktemp -d)
  cp "$sample" "$scratch/ascii.bmp"
  cd "$scratch"
  QT_QPA_PLATFORM=xcb "$program" &
  local pid=$!
  trap "kill $pid 2> /dev/null || true; rm -rf '$scratch'" EXIT

  local main_window
  main_window=$(xdotool search --sync --onlyvisible --name '^wVellicor$' | head -n 1)
  xdotool windowfocus --sync "$main_window"
  xdotool type --delay 5 '/home/ada/fonts/strip.bmp'
  xdotool key Tab Tab  # past the Browse button
  xdotool type --delay 5 '/home/ada/fonts/strip.bdf'
  xdotool key Tab
  xdotool type --delay 5 'Strip Sans'
  # Let the window finish painting what was typed before it is pictured.
  sleep 1
  import -window "$main_window" "$picture_dir/dialog-main.png"

  xdotool key alt+p
  local about_window
  about_window=$(xdotool search --sync --onlyvisible --name '^About vellicor$' | head -n 1)
  sleep 1
  import -window "$about_window" "$picture_dir/dialog-about.png"

  # Back in the main window: the sample's settings (as in the README's
  # example), each field reached by its key; the input field is two steps
  # back from the output field.
  xdotool key Escape
  xdotool windowfocus --sync "$main_window"
  xdotool key alt+b shift+Tab shift+Tab ctrl+a
  xdotool type --delay 5 'ascii.bmp'
  xdotool key alt+b ctrl+a BackSpace
  xdotool key alt+n ctrl+a
  xdotool type --delay 5 'Vellicor Sample'
  xdotool key alt+v ctrl+a
  xdotool type --delay 5 '33'
  xdotool key alt+a ctrl+a
  xdotool type --delay 5 '1'
  xdotool key alt+d ctrl+a
  xdotool type --delay 5 '2'
  xdotool key alt+t ctrl+a
  xdotool type --delay 5 '1'
  xdotool key alt+w
  local preview_window
  preview_window=$(xdotool search --sync --onlyvisible --name '^Preview$' | head -n 1)
  # The sample's character list: a real space (a blank glyph), then the 94
  # characters drawn in the strip, each shown under its box.
  xdotool windowfocus --sync "$preview_window"
  xdotool key alt+c
  xdotool type --delay 5 -- " !\"#\$%&'()*+,-./0123456789:;<=>?@ABCDEFGHIJKLMNOPQRSTUVWXYZ[\\]^_\`abcdefghijklmnopqrstuvwxyz{|}~"
  # The cut runs beside the window; give it and the drawing time to finish.
  sleep 2
  import -window "$preview_window" "$picture_dir/dialog-preview.png"
}

# xvfb-run starts this script again, inside the display it made.
if [ "${VELLICOR_SCREENSHOT_INSIDE:-}" = 1 ]; then
  inside_display "$program" "$picture_dir" "$sample"
  exit 0
fi
VELLICOR_SCREENSHOT_INSIDE=1 xvfb-run --auto-servernum --server-args="-screen 0 1024x768x24" \
  bash "$script" "$build_dir" "$picture_dir"
echo "saved $picture_dir/dialog-main.png, dialog-about.png and dialog-preview.png"
