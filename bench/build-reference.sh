#!/usr/bin/env bash
# Builds kylvander from an earlier commit beside this tree, for the
# benchmarks that compare with it:
#   bench/build-reference.sh COMMIT [DIR]
#   KYL_REFERENCE_KYLVANDER=DIR/build/src/shell/kylvander build/bench/bench_synth_render
set -euo pipefail
cd "$(dirname "$0")/.."
commit=${1:?usage: bench/build-reference.sh COMMIT [DIR]}
dir=${2:-/tmp/kylvander-reference}
rm -rf "$dir"
mkdir -p "$dir"
git archive "$commit" | tar -x -C "$dir"
cmake -S "$dir" -B "$dir/build" -DCMAKE_BUILD_TYPE=Release -DKYL_TESTS=OFF -DKYL_BENCH=OFF \
  -DKYL_CONTENT=OFF >/dev/null
cmake --build "$dir/build" -j"$(nproc)" --target kylvander
echo "KYL_REFERENCE_KYLVANDER=$dir/build/src/shell/kylvander"
