#!/bin/sh
# Fuzzes one target (song, tga or songc) for SECONDS in two builds of its own,
# both made with clang, the whole project instrumented:
#  - the fast build (edge coverage and the undefined-behaviour sanitizer;
#    each input ends right before an unreadable page) fuzzes for SECONDS in JOBS
#    processes that share one corpus;
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

configure() {  # BUILD SANITIZERS FLAGS
  launcher=
  command -v ccache >/dev/null && launcher=-DCMAKE_CXX_COMPILER_LAUNCHER=ccache
  cmake -S "$root" -B "$1" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ $launcher \
    -DCMAKE_C_FLAGS="$3" -DCMAKE_CXX_FLAGS="$3" \
    -DKYL_SANITIZE="$2" -DKYL_FUZZ=ON \
    -DKYL_TESTS=OFF -DKYL_BENCH=OFF -DKYL_CONTENT=OFF >/dev/null
  cmake --build "$1" -j2 --target "${target}_fuzzer"
}
# The fast build follows edges, not the operands of every comparison: their
# tracing took half of each run once the corpus held whole songs. The seeds
# already carry the file's magic values and markers.
configure "$fast" undefined "-fsanitize=fuzzer-no-link -fno-sanitize-coverage=trace-cmp"
configure "$check" address,undefined -fsanitize=fuzzer-no-link

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
# Each job writes its log, fuzz-JOB.log, in the working folder.
jobs_dir=$fast/jobs-$target
rm -rf "$jobs_dir"
mkdir -p "$jobs_dir"
(cd "$jobs_dir" && "$fast/fuzz/${target}_fuzzer" -jobs="$jobs" -workers="$jobs" \
  -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
  -artifact_prefix="$findings/" $options "$corpus" "$root/fuzz/corpus/$target" "$seeds") \
  >"$log" 2>&1 || status=$?
elapsed=$(($(date +%s) - began))
runs=$(cat "$jobs_dir"/fuzz-*.log | sed -n 's/^stat::number_of_executed_units: *//p' |
  awk '{ total += $1 } END { print total + 0 }')
rate=$([ "$elapsed" -gt 0 ] && echo $((runs / elapsed)) || echo '?')
# A job that stops at a finding says so in its log only.
grep -q -E '^==[0-9]+==ERROR|^SUMMARY: ' "$jobs_dir"/fuzz-*.log && status=1

# The checking build replays the grown corpus and anything flagged.
replay_log=$check/$target-replay.log
mkdir -p "$check"
replay_status=0
"$check/fuzz/${target}_fuzzer" -runs=0 -timeout=30 -rss_limit_mb=2048 \
  -artifact_prefix="$findings/replay-" $options "$corpus" "$root/fuzz/corpus/$target" \
  >"$replay_log" 2>&1 || replay_status=$?
replayed=$(find "$corpus" -type f | wc -l)

found=$(find "$findings" -type f | wc -l)
echo "fuzz $target: $runs runs in $elapsed s ($rate runs/s, $jobs jobs), $replayed kept inputs replayed under the address sanitizer, $found findings in $findings"
[ "$found" -eq 0 ] && [ "$status" -eq 0 ] && [ "$replay_status" -eq 0 ]
