#!/usr/bin/env bash
# The script editor on a 100,000-line script, in a release build: loading
# (under 0.5 s) and each keystroke, scroll step and redraw (under 16 ms),
# in the model alone and in the window drawn off screen. For scale, mawk
# counts the lines of the same file in the same run.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake/install-deps.sh bench
cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DTAVRIN_BENCH=ON >/dev/null
cmake --build build/bench --target script_editor_bench
file=$(mktemp --suffix=.pas)
trap 'rm -f "$file"' EXIT
build/bench/bin/script_editor_bench --make "$file"
echo "script: $(wc -l <"$file") lines, $(wc -c <"$file") bytes"
start=$(date +%s%N)
mawk 'END { print NR " lines read by mawk" }' "$file"
echo "mawk: $(( ($(date +%s%N) - start) / 1000000 )) ms"
build/bench/bin/script_editor_bench "$file" --benchmark_min_time=0.5 "$@"
