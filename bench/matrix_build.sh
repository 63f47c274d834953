#!/usr/bin/env bash
# The data-file benchmark: 10 million points (about 250 MB) into a
# 1000 x 1000 matrix, against awk summing the same file as a baseline.
#   bench/matrix_build.sh [POINTS]
set -euo pipefail
cd "$(dirname "$0")/.."
points=${1:-10000000}
cmake/install-deps.sh bench
cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DTAVRIN_BENCH=ON >/dev/null
cmake --build build/bench --target matrix_build_bench tavrin
bench=build/bench/bin/matrix_build_bench
data=build/bench/points-$points.txt
[ -f "$data" ] || { echo "Writing $data"; "$bench" --make "$data" "$points"; }

echo "== ours: read + both passes =="
"$bench" "$data" --benchmark_min_time=3
echo "== ours: one build in a fresh process =="
"$bench" --peak "$data"
echo "== ours: tavrin --matrix, whole program, output to /dev/null =="
/usr/bin/env time -f "%e s, peak RSS %M KB" build/bench/bin/tavrin --matrix "$data" --rect 0 999 0 999 --scale --fill 3 >/dev/null
echo "== baseline: awk '{s+=\$3} END {print s}' =="
/usr/bin/env time -f "%e s" awk '{s+=$3} END {print s}' "$data"
