#!/bin/sh
# Fuzzes one target (song, tga or songc) for SECONDS in two builds of its own,
# both made with clang, the whole project instrumented:
#  - the fast build (coverage and the undefined-behaviour sanitizer; each
#    input ends right before an unreadable page) fuzzes for SECONDS in JOBS
#    forked processes;
#  - the checking build adds the address sanitizer, whose allocator costs
#    more than most inputs, and replays everything the fast run kept.
# It starts from the seeds in fuzz/corpus/TARGET; what it learns grows
# FAST/corpus/TARGET, and any input that fails lands in FAST/findings/TARGET
# (copy it to fuzz/regression/TARGET, where the replay test runs it).
# Further arguments are fuzzer options (-max_len=...) or more seed files.
#   scripts/fuzz.sh TARGET SECONDS [OPTION | SEED_FILE]...
# Folders: $KYL_FUZZ_BUILD (default build-fuzz) for the checking build and
# that name with -fast for the fast one; JOBS is $KYL_FUZZ_JOBS (default: as
# many as there are cores).
set -eu
target=$1
seconds=$2
shift 2
root=$(cd "$(dirname "$0")/.." && pwd)
check=${KYL_FUZZ_BUILD:-$root/build-fuzz}
fast=$check-fast
jobs=${KYL_FUZZ_JOBS:-$(nproc)}

configure() {  # BUILD SANITIZERS
  launcher=
  command -v ccache >/dev/null && launcher=-DCMAKE_CXX_COMPILER_LAUNCHER=ccache
  cmake -S "$root" -B "$1" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ $launcher \
    -DCMAKE_C_FLAGS=-fsanitize=fuzzer-no-link -DCMAKE_CXX_FLAGS=-fsanitize=fuzzer-no-link \
    -DKYL_SANITIZE="$2" -DKYL_FUZZ=ON \
    -DKYL_TESTS=OFF -DKYL_BENCH=OFF -DKYL_CONTENT=OFF >/dev/null
  cmake --build "$1" -j2 --target "${target}_fuzzer"
}
configure "$fast" undefined
configure "$check" address,undefined

corpus=$fast/corpus/$target
findings=$fast/findings/$target
seeds=$fast/seeds/$target
mkdir -p "$corpus" "$findings" "$seeds"
options=
for arg in "$@"; do
  case $arg in
    -*) options="$options $arg" ;;
    *) cp "$arg" "$seeds/" ;;
  esac
done
# Without these, glibc hands the synthesizer's large buffers back to the
# system after every input and takes page faults to get them again.
export GLIBC_TUNABLES=glibc.malloc.trim_threshold=268435456:glibc.malloc.mmap_threshold=33554432
log=$fast/$target-fuzz.log
status=0
began=$(date +%s)
# Forked jobs write their logs in the working folder.
(cd "$fast" && "$fast/fuzz/${target}_fuzzer" -fork="$jobs" -max_total_time="$seconds" \
  -timeout=10 -rss_limit_mb=2048 -artifact_prefix="$findings/" $options \
  "$corpus" "$root/fuzz/corpus/$target" "$seeds") >"$log" 2>&1 || status=$?
elapsed=$(($(date +%s) - began))
# The parent's last progress line counts the runs of every job:
# "#RUNS: cov: ... exec/s RATE ...".
last=$(grep -E '^#[0-9]+: cov:' "$log" | tail -n 1)
runs=$(echo "$last" | sed -n 's/^#\([0-9]*\):.*/\1/p')
rate=$([ -n "$runs" ] && [ "$elapsed" -gt 0 ] && echo $((runs / elapsed)) || echo '?')

# The checking build replays the grown corpus and anything flagged.
replay_log=$check/$target-replay.log
mkdir -p "$check"
replay_status=0
"$check/fuzz/${target}_fuzzer" -runs=0 -timeout=30 -rss_limit_mb=2048 \
  -artifact_prefix="$findings/replay-" $options "$corpus" "$root/fuzz/corpus/$target" \
  >"$replay_log" 2>&1 || replay_status=$?
replayed=$(find "$corpus" -type f | wc -l)

found=$(find "$findings" -type f | wc -l)
echo "fuzz $target: ${runs:-?} runs in $elapsed s ($rate runs/s, $jobs jobs), $replayed kept inputs replayed under the address sanitizer, $found findings in $findings"
[ "$found" -eq 0 ] && [ "$status" -eq 0 ] && [ "$replay_status" -eq 0 ]
