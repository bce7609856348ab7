#!/bin/sh
# Builds one fuzz target (song, tga or songc) with clang in a build folder of
# its own, the whole project instrumented for the fuzzer and under the
# address and undefined-behaviour sanitizers, and runs it in one process for
# SECONDS. It starts from the seeds in fuzz/corpus/TARGET; what it learns
# grows BUILD/corpus/TARGET, and any input that fails lands in
# BUILD/findings/TARGET (copy it to fuzz/regression/TARGET, where the
# replay test runs it). Further arguments are fuzzer options (-max_len=...)
# or more seed files.
#   scripts/fuzz.sh TARGET SECONDS [OPTION | SEED_FILE]...
# BUILD is $KYL_FUZZ_BUILD, by default build-fuzz in the source folder.
set -eu
target=$1
seconds=$2
shift 2
root=$(cd "$(dirname "$0")/.." && pwd)
build=${KYL_FUZZ_BUILD:-$root/build-fuzz}

launcher=
command -v ccache >/dev/null && launcher=-DCMAKE_CXX_COMPILER_LAUNCHER=ccache
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ $launcher \
  -DCMAKE_C_FLAGS=-fsanitize=fuzzer-no-link -DCMAKE_CXX_FLAGS=-fsanitize=fuzzer-no-link \
  -DKYL_SANITIZE=address,undefined -DKYL_FUZZ=ON \
  -DKYL_TESTS=OFF -DKYL_BENCH=OFF -DKYL_CONTENT=OFF >/dev/null
cmake --build "$build" -j2 --target "${target}_fuzzer"

corpus=$build/corpus/$target
findings=$build/findings/$target
seeds=$build/seeds/$target
mkdir -p "$corpus" "$findings" "$seeds"
options=
for arg in "$@"; do
  case $arg in
    -*) options="$options $arg" ;;
    *) cp "$arg" "$seeds/" ;;
  esac
done
log=$build/$target-fuzz.log
status=0
began=$(date +%s)
"$build/fuzz/${target}_fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
  -print_final_stats=1 -artifact_prefix="$findings/" $options \
  "$corpus" "$root/fuzz/corpus/$target" "$seeds" 2>&1 | tee "$log" || status=$?
# tee hides the fuzzer's status; the findings folder does not.
runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")
found=$(find "$findings" -type f | wc -l)
echo "fuzz $target: ${runs:-?} runs in $(($(date +%s) - began)) s (${rate:-?} runs/s), $found findings in $findings"
[ "$found" -eq 0 ] && [ "$status" -eq 0 ]
