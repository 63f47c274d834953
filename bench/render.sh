#!/usr/bin/env bash
# The rendering benchmark: scene build (BuildScene and the two recorded
# lists), the still frame and the frames while the mouse turns the picture,
# at 800 × 600 off screen, for N × N surfaces, N = 100, 300, 1000, 2000.
# At N = 1000 the scene is to build in under 0.3 s and a frame while
# turning to take under 50 ms. The CPU column is the time of all threads
# (the driver rasterizes on its own); on a shared machine it says more than
# the wall clock.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake/install-deps.sh bench
cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DTAVRIN_BENCH=ON >/dev/null
cmake --build build/bench --target render_bench
build/bench/bin/render_bench "$@"
