#!/usr/bin/env bash
# Runs a Python script with the first Python 3 that has Pillow: the one on the
# search path may be a separate installation without it, so the system's own
# is tried as well. Exit status 77 (a skipped test) when there is none.
for python in python3 /usr/bin/python3; do
  if "$python" -c 'import PIL' 2>/dev/null; then
    exec "$python" "$@"
  fi
done
echo "skipped: no Python 3 with Pillow (python3-pil) is installed"
exit 77
