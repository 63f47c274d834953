#!/usr/bin/env bash
# The data-file benchmark: 10 million points (about 250 MB) into a
# 1000 x 1000 matrix, against mawk summing the third field of the same file
# in the same run. The machine may be shared, so each side runs several
# times, alternating, and the medians are compared.
#   bench/matrix_build.sh [POINTS] [RUNS]
# With BEFORE=path/to/an/older/matrix_build_bench, that build runs in the
# same alternation, for a before-and-after from one run.
set -euo pipefail
cd "$(dirname "$0")/.."
points=${1:-10000000}
runs=${2:-5}
cmake/install-deps.sh bench
cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DTAVRIN_BENCH=ON >/dev/null
cmake --build build/bench --target matrix_build_bench tavrin
bench=build/bench/bin/matrix_build_bench
data=build/bench/points-$points.txt
[ -f "$data" ] || { echo "Writing $data"; "$bench" --make "$data" "$points"; }
cat "$data" >/dev/null # in the page cache for both sides

times=$(mktemp)
trap 'rm -f "$times"' EXIT
# Wall seconds, CPU seconds and peak memory of one whole process.
# A build over its memory limit exits 2: still timed, not fatal.
timed() { /usr/bin/time -f "%e %U %S %M" -o "$times" "$@" >/dev/null || true; read -r wall user sys kb < <(tail -n1 "$times"); }
median() { sort -g | awk '{v[NR]=$1} END {print (NR%2 ? v[(NR+1)/2] : (v[NR/2]+v[NR/2+1])/2)}'; }

echo "== load before: $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) cores"
ours_wall=() peer_wall=() ratios=() ours_cpu=() peer_cpu=() before_wall=() before_ratios=() before_cpu=()
before=${BEFORE:-}
for ((r = 1; r <= runs; r++)); do
    if [ -n "$before" ]; then
        timed "$before" --peak "$data"
        bw=$wall bkb=$kb bc=$(awk -v u="$user" -v s="$sys" 'BEGIN {print u+s}')
    fi
    timed mawk '{s+=$3} END {print s}' "$data"
    pw=$wall pc=$(awk -v u="$user" -v s="$sys" 'BEGIN {print u+s}')
    if [ -n "$before" ]; then
        bratio=$(awk -v o="$bw" -v p="$pw" 'BEGIN {printf "%.3f", o/p}')
        printf "run %d: before %5.2f s (cpu %5.2f s, peak %d MB, before/mawk %s)\n" "$r" "$bw" "$bc" $((bkb / 1024)) "$bratio"
        before_wall+=("$bw") before_ratios+=("$bratio") before_cpu+=("$bc")
    fi
    timed "$bench" --peak "$data"
    ow=$wall oc=$(awk -v u="$user" -v s="$sys" 'BEGIN {print u+s}') okb=$kb
    ratio=$(awk -v o="$ow" -v p="$pw" 'BEGIN {printf "%.3f", o/p}')
    printf "run %d: ours %5.2f s (cpu %5.2f s, peak %d MB)   mawk %5.2f s (cpu %5.2f s)   ours/mawk %s\n" \
        "$r" "$ow" "$oc" $((okb / 1024)) "$pw" "$pc" "$ratio"
    ours_wall+=("$ow") peer_wall+=("$pw") ratios+=("$ratio") ours_cpu+=("$oc") peer_cpu+=("$pc")
done
mo=$(printf '%s\n' "${ours_wall[@]}" | median)
mp=$(printf '%s\n' "${peer_wall[@]}" | median)
echo "== medians: ours $mo s, mawk $mp s, ours/mawk $(printf '%s\n' "${ratios[@]}" | median) (target <= 0.45);" \
     "cpu ours $(printf '%s\n' "${ours_cpu[@]}" | median) s, mawk $(printf '%s\n' "${peer_cpu[@]}" | median) s"
if [ -n "$before" ]; then
    echo "== medians: before $(printf '%s\n' "${before_wall[@]}" | median) s, before/mawk" \
         "$(printf '%s\n' "${before_ratios[@]}" | median); cpu before $(printf '%s\n' "${before_cpu[@]}" | median) s"
fi
echo "== load after: $(cut -d' ' -f1-3 /proc/loadavg)"
echo "== ours, one build in a fresh process (peak memory against the file + matrix + 10 % limit)"
"$bench" --peak "$data"
echo "== ours: read + both passes, Google Benchmark"
"$bench" "$data" --benchmark_min_time=3
echo "== ours: tavrin --matrix, whole program, output to /dev/null"
/usr/bin/env time -f "%e s, peak RSS %M KB" build/bench/bin/tavrin --matrix "$data" --rect 0 999 0 999 --scale --fill 3 >/dev/null
