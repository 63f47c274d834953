#!/usr/bin/env bash
# Installs what the viewer needs, builds it (release) and starts it on the
# bundled examples. Without a display it runs the headless command line on
# the examples instead.
set -euo pipefail
cd "$(dirname "$0")"
cmake/install-deps.sh build
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build build/release
tavrin=build/release/bin/tavrin
examples=("$PWD"/examples/*.txt)

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec "$tavrin" "${examples[@]}"
fi

echo "No display found (neither DISPLAY nor WAYLAND_DISPLAY is set): running the headless command line."
for f in "${examples[@]}"; do
  echo
  echo "== $(basename "$f"): visualization matrix over 0..10 x 0..10, scaled, midpoint fill =="
  "$tavrin" --matrix "$f" --rect 0 10 0 10 --scale --fill 3
done
