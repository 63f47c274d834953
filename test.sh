#!/usr/bin/env bash
# Installs what the tests need, builds the test configuration (with
# AddressSanitizer and UndefinedBehaviorSanitizer) and runs every test.
set -euo pipefail
cd "$(dirname "$0")"
cmake/install-deps.sh test
cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTAVRIN_SANITIZE=ON -DTAVRIN_TESTS=ON
cmake --build build/test
cd build/test
ctest --output-on-failure -j2 "$@"
