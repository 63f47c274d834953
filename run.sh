#!/usr/bin/env bash
# Installs what the viewer needs, builds it (release) and starts it on the
# bundled examples. Without a display it draws the examples into PNG
# pictures with the headless command line instead, and says where they are.
set -euo pipefail
cd "$(dirname "$0")"
cmake/install-deps.sh build
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build build/release
tavrin=build/release/bin/tavrin
examples=("$PWD"/examples/*.txt)

# A first run starts with a rectangle that suits the examples (31 x 31
# cells, the data stretched onto it); later runs keep what the user set.
ini=build/release/bin/Tavrin.ini
if [ ! -f "$ini" ]; then
  printf '[MATRIX]\r\nXmin=0\r\nXmax=30\r\nYmin=0\r\nYmax=30\r\nModeMatrixFill=0\r\n[INPUT_INFO]\r\nYesScale=1\r\n' >"$ini"
fi

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec "$tavrin" "${examples[@]}"
fi

out="$PWD/build/release/pictures"
mkdir -p "$out"
echo "No display found (neither DISPLAY nor WAYLAND_DISPLAY is set): drawing the examples off screen."
for f in "${examples[@]}"; do
  name="$(basename "$f" .txt)"
  "$tavrin" --export "$out/$name.png" "$f" --rect 0 30 0 30 --scale --fill 0 --size 800x600 \
    --model-set DrawFilledPolygons=1 --model-set PolygonColormap=1 --set GraphTitle="$name" \
    --set GraphTitlePosition=0
  echo "  $out/$name.png"
done
"$tavrin" --export "$out/summed.png" "${examples[@]}" --sum --rect 0 30 0 30 --scale --fill 0 \
  --model-set DrawFilledPolygons=1 --model-set PolygonColormap=1 --model-set ColormapIndex=4 --set Lighting=1
echo "  $out/summed.png (all examples summed on one surface)"
echo "The pictures are in $out"
