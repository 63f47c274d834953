#!/usr/bin/env bash
# Contour tracing: the benchmark of the tracer alone (every automatic Z
# level of an N × N smooth surface, N up to 2000; at N = 1000 under
# 100 ms, memory per point traced flat as N grows), then end to end on a
# 1000 × 1000 data file: `tavrin --contours` (read the file, build the
# matrix, trace, write the lines) against gnuplot 5 writing the contour
# lines of the same file with about 15 automatic levels (`set contour`,
# `set table`), in the same run. Each is run three times; the best time
# counts.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake/install-deps.sh bench
cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DTAVRIN_BENCH=ON >/dev/null
cmake --build build/bench --target contour_bench tavrin >/dev/null
build/bench/bin/contour_bench "$@"

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
ours=$(best build/bench/bin/tavrin --contours "$data" --rect 0 "$last" 0 "$last" --no-scale --fill 0)
build/bench/bin/tavrin --contours "$data" --rect 0 "$last" 0 "$last" --no-scale --fill 0 > "$work/ours.txt"
cat > "$work/contours.gp" <<GP
set contour base
set cntrparam levels auto 15
unset surface
set table '$work/gnuplot.txt'
splot '$data' using 1:2:3 with lines
unset table
GP
theirs=$(best gnuplot "$work/contours.gp")
gnuplot "$work/contours.gp" >/dev/null 2>&1
test -s "$work/ours.txt" && test -s "$work/gnuplot.txt"
echo "tavrin --contours: $(grep -c '^# level' "$work/ours.txt") lines, $(grep -c '^[0-9-]' "$work/ours.txt") points"
gawk -v o="$ours" -v t="$theirs" 'BEGIN {
  printf "tavrin --contours: %.2f s\ngnuplot contours:  %.2f s\nratio:             %.1f x\n", o, t, t / o
}'
