#!/usr/bin/env bash
# Builds the libFuzzer targets (clang-14, ASan + UBSan) into build-fuzz/ and
# runs each for the given time, one after the other, in one process each
# (one core) at low priority.
#   scripts/fuzz.sh [seconds per target] [target...]
# Findings land in build-fuzz/findings/<target>/; the corpus grows in
# build-fuzz/corpus/<target>/, seeded from fuzz/corpus/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(fuzz_record_decoder fuzz_record_store fuzz_device_answers fuzz_xml_load fuzz_csv_import)

if [ ! -f build-fuzz/build.ninja ]; then
  launcher=()
  command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang-14 \
    -DCMAKE_CXX_COMPILER=clang++-14 -DQARDA_FUZZ=ON "${launcher[@]}"
fi
cmake --build build-fuzz -j2 --target "${targets[@]}"

# Lock files and the fuzzed data files go to a private temporary folder.
export TMPDIR=${TMPDIR:-/tmp}/qarda-fuzz-tmp
mkdir -p "$TMPDIR"
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1:quarantine_size_mb=32:malloc_context_size=8}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
status=0
for t in "${targets[@]}"; do
  seeds=fuzz/corpus/${t#fuzz_}
  [ "$t" = fuzz_record_store ] && seeds=fuzz/corpus/record_decoder
  dict=()
  [ -f "$seeds.dict" ] && dict=(-dict="$seeds.dict")
  corpus=build-fuzz/corpus/$t
  findings=build-fuzz/findings/$t
  mkdir -p "$corpus" "$findings"
  echo "== $t for ${seconds}s"
  nice -n 10 build-fuzz/fuzz/$t -max_total_time="$seconds" -print_final_stats=1 "${dict[@]}" \
    -artifact_prefix="$findings/" "$corpus" "$seeds" 2>&1 | tee "build-fuzz/$t.log" | grep -E '^(#[0-9]+ +DONE|stat::number_of_executed_units|==[0-9]+==ERROR|SUMMARY|check failed)' || true
  if ls "$findings" | grep -q .; then
    echo "   findings in $findings"
    status=1
  fi
done
exit $status
