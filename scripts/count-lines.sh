#!/usr/bin/env bash
# Counts program and test lines (.cpp and .h; bench/ and tools/ are
# neither) and prints their ratio.
set -euo pipefail
cd "$(dirname "$0")/.."
count() { find "$@" -type f \( -name '*.cpp' -o -name '*.h' \) -print0 | xargs -0 cat | wc -l; }
program=$(count resources core xml device locations view export app)
tests=$(count tests)
awk -v p="$program" -v t="$tests" 'BEGIN { printf "program %d\ntests   %d\nratio   %.2f\n", p, t, t / p }'
