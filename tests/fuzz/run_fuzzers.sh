#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs each for a while on a seed corpus of
# the test programs and grammars, and of saved plot states. Prints each
# target's execution count. script_run_fuzz compiles and runs scripts; its
# seeds are the test programs with a first byte that picks their language.
#   tests/fuzz/run_fuzzers.sh [SECONDS_PER_TARGET]   (default 60)
set -euo pipefail
cd "$(dirname "$0")/../.."
seconds=${1:-60}
cmake/install-deps.sh fuzz
cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DTAVRIN_FUZZ=ON -DTAVRIN_SANITIZE=ON >/dev/null
targets=(xml_reader_fuzz grammar_pascal_fuzz grammar_basic_fuzz grammar_jscript_fuzz grammar_cpp_fuzz script_run_fuzz
  state_loader_fuzz)
cmake --build build/fuzz --target "${targets[@]}"

golden=tests/script/golden
declare -A seeds=(
  [xml_reader_fuzz]="script/grammars/*.xml $golden/*.il"
  [grammar_pascal_fuzz]="$golden/*.pas"
  [grammar_basic_fuzz]="$golden/*.vbs"
  [grammar_jscript_fuzz]="$golden/*.js"
  [grammar_cpp_fuzz]="$golden/*.cpp $golden/*.h"
  [script_run_fuzz]=""
  [state_loader_fuzz]="viewer/resources/initial_state.bin tests/fuzz/states/*.bin"
)
# A state may not make the loader allocate more than this at once.
declare -A limits=([state_loader_fuzz]="-malloc_limit_mb=64")
status=0
for t in "${targets[@]}"; do
  corpus=build/fuzz/corpus/$t
  mkdir -p "$corpus"
  if [ "$t" = script_run_fuzz ]; then
    # The first byte picks the language: 0 Pascal, 1 Basic, 2 JavaScript, 3 C++.
    i=0
    for f in $golden/*.pas tests/script/programs/*.pas bench/script/*.pas; do
      { printf '\000'; sed 's/@N@/8/' "$f"; } >"$corpus/pas$((i++))"; done
    for f in $golden/*.vbs tests/script/programs/*.vbs; do { printf '\001'; cat "$f"; } >"$corpus/vbs$((i++))"; done
    for f in $golden/*.js tests/script/programs/*.js; do { printf '\002'; cat "$f"; } >"$corpus/js$((i++))"; done
    for f in $golden/*.cpp tests/script/programs/*.cpp; do { printf '\003'; cat "$f"; } >"$corpus/cpp$((i++))"; done
  else
    # shellcheck disable=SC2086
    cp ${seeds[$t]} "$corpus"/
  fi
  log=build/fuzz/$t.log
  # shellcheck disable=SC2086
  if ! build/fuzz/bin/$t -max_total_time="$seconds" -rss_limit_mb=4096 -timeout=10 -print_final_stats=1 ${limits[$t]:-} \
      -artifact_prefix=build/fuzz/"$t"- "$corpus" >"$log" 2>&1; then
    echo "$t: FAILED (see $log)"
    status=1
    continue
  fi
  runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$')
  echo "$t: $runs executions in ${seconds}s, no crash"
done
exit $status
