#!/usr/bin/env bash
# End to end: a data file of a 1000 × 1000 surface drawn into an 800 × 600
# PNG by `tavrin --export` (filled, colour-mapped), against gnuplot 5
# (`splot ... with pm3d`, pngcairo, the same size) on the same file in the
# same run. Ours is to be at least 5 times faster. Each is run three times;
# the best time counts.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake/install-deps.sh bench
cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DTAVRIN_BENCH=ON >/dev/null
cmake --build build/bench --target tavrin >/dev/null

n=${N:-1000}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
data="$work/surface.txt"
# One point per line, a blank line after each row (gnuplot's grid blocks;
# the viewer skips blank lines).
gawk -v n="$n" 'BEGIN {
  for (i = 0; i < n; i++) {
    for (j = 0; j < n; j++) {
      x = (i - n / 2) * 12 / n; y = (j - n / 2) * 12 / n; r = sqrt(x * x + y * y)
      printf "%d %d %.6f\n", i, j, cos(r) * exp(-r / 6)
    }
    printf "\n"
  }
}' > "$data"
echo "data: $n x $n points, $(du -h "$data" | cut -f1)"

best() { # best of three wall-clock times of a command, in seconds
  local b=""
  for _ in 1 2 3; do
    local t0 t1
    t0=$(date +%s.%N)
    "$@" >/dev/null 2>&1
    t1=$(date +%s.%N)
    b=$(gawk -v a="$t0" -v z="$t1" -v b="$b" 'BEGIN { t = z - a; print (b == "" || t < b) ? t : b }')
  done
  echo "$b"
}

last=$((n - 1))
ours=$(best env -u DISPLAY -u WAYLAND_DISPLAY build/bench/bin/tavrin --export "$work/ours.png" "$data" \
  --rect 0 "$last" 0 "$last" --no-scale --fill 0 --size 800x600 \
  --model-set DrawFilledPolygons=1 --model-set DrawLines=0 --model-set PolygonColormap=1)
cat > "$work/plot.gp" <<GP
set terminal pngcairo size 800,600
set output '$work/gnuplot.png'
set view 55,10
unset key
splot '$data' using 1:2:3 with pm3d
GP
theirs=$(best gnuplot "$work/plot.gp")
test -s "$work/ours.png" && test -s "$work/gnuplot.png"
gawk -v o="$ours" -v t="$theirs" 'BEGIN {
  printf "tavrin --export: %.2f s\ngnuplot pm3d:    %.2f s\nratio:           %.1f x (target: at least 5)\n", o, t, t / o
  exit (t / o >= 5) ? 0 : 1
}'
