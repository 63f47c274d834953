#!/usr/bin/env bash
# The script interpreter against CPython 3 and Lua 5.4 on the same five
# algorithms (bench/script/*.pas, *.py, *.lua): compile and run times of
# ours (run also with an OnRunLine hook), the other two as whole processes
# less their start-up, checksums compared; then each size doubled.
#   bench/script_langs.sh
set -euo pipefail
cd "$(dirname "$0")/.."
cmake/install-deps.sh bench
cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DTAVRIN_BENCH=ON >/dev/null
cmake --build build/bench --target script_run_bench >/dev/null
exec python3 bench/script_langs.py build/bench/bin/script_run_bench bench/script
