#!/usr/bin/env bash
# The surface hand-over benchmark: AddSurface of 500², 1000² and 2000²
# matrices, in a release build. The 2000 × 2000 call is to stay under
# 100 ms, linear in the cell count, with no copy of the doubles beyond the
# model's own floats (transient_bytes_per_cell near 0 for doubles; floats
# are widened once, 8 bytes per cell).
set -euo pipefail
cd "$(dirname "$0")/.."
cmake/install-deps.sh bench
cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DTAVRIN_BENCH=ON >/dev/null
cmake --build build/bench --target add_surface_bench
build/bench/bin/add_surface_bench --benchmark_min_time=1 "$@"
