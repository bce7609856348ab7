#!/bin/sh
# Builds the song-loader fuzz target with clang in a build folder of its own
# and runs it for SECONDS (default 60) on the demo song and, when it has
# been built, the show's song.
#   scripts/fuzz-song.sh [SECONDS] [BUILD_DIR]
set -eu
seconds=${1:-60}
root=$(cd "$(dirname "$0")/.." && pwd)
build=${2:-$root/build-fuzz}
jobs=$(nproc 2>/dev/null || echo 2)

cmake -S "$root/fuzz" -B "$build" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j"$jobs"

mkdir -p "$build/seeds" "$build/corpus"
"$build/song_fuzz_seed" "$build/seeds/demo"
for song in "$root/build/data/show/brumtakt" "$build/../build/data/show/brumtakt"; do
  [ -f "$song" ] && cp "$song" "$build/seeds/brumtakt" && break
done

# Room for the show's song (some 25 kB) as a seed.
"$build/song_fuzzer" -max_total_time="$seconds" -max_len=32768 -timeout=10 \
  -rss_limit_mb=2048 -print_final_stats=1 "$build/corpus" "$build/seeds"
