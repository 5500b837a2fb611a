#!/usr/bin/env bash
# Shows the dialog program and its About box in a real X window (a virtual
# X server, Xvfb) and saves a picture of each window.
# Usage: bash tools/screenshot.sh [build-dir] [picture-dir]
# (defaults: build, docs). Needs xvfb-run, xdotool and ImageMagick's import.
set -euo pipefail
cd "$(dirname "$0")/.."
script=tools/screenshot.sh

build_dir=${1:-build}
picture_dir=${2:-docs}
program="$build_dir/bin/vellicor"

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
mkdir -p "$picture_dir"

# Runs inside the virtual display: start the program, picture the main window,
# open the About box with its mnemonic (Alt+P, "About A&pp") and picture it.
inside_display() {
  local program=$1 picture_dir=$2
  QT_QPA_PLATFORM=xcb "$program" &
  local pid=$!
  trap "kill $pid 2> /dev/null || true" EXIT

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
}

# xvfb-run starts this script again, inside the display it made.
if [ "${VELLICOR_SCREENSHOT_INSIDE:-}" = 1 ]; then
  inside_display "$program" "$picture_dir"
  exit 0
fi
VELLICOR_SCREENSHOT_INSIDE=1 xvfb-run --auto-servernum --server-args="-screen 0 1024x768x24" \
  bash "$script" "$build_dir" "$picture_dir"
echo "saved $picture_dir/dialog-main.png and $picture_dir/dialog-about.png"
