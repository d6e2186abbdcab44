#!/usr/bin/env bash
# Runs the speed benchmarks at 20,000 and 80,000 results and prints their
# ratios: start-up, click, save and memory (bench_speed) at both sizes, then
# every tree command (bench_loc, on its own 20,000 results).
#
#   bench/run.sh BUILD_DIR [DATA_FOLDER]
#
# The data files are generated into DATA_FOLDER/20000 and DATA_FOLDER/80000
# (default ./bench-data) unless they are there; the larger pair takes about
# 250 MB. Exit status 1 when a target is missed.
set -uo pipefail
build=${1:?usage: bench/run.sh BUILD_DIR [DATA_FOLDER]}
data=${2:-bench-data}
cmake --build "$build" --target bench_gen bench_speed bench_loc >/dev/null || exit 2
status=0
for n in 20000 80000; do
    dir="$data/$n"
    if [ ! -f "$dir/Result.xml" ] || [ ! -f "$dir/Main.xml" ]; then
        "$build/bin/bench_gen" "$dir" --results "$n" >/dev/null || exit 2
    fi
    "$build/bin/bench_speed" "$dir" || status=1
done
echo "tree commands, 1,000 locations and 20,000 results:"
"$build/bin/bench_loc" || status=1
exit $status
