#!/usr/bin/env bash
# Builds and runs every test: the plain build, then the same tests under
# AddressSanitizer with UndefinedBehaviorSanitizer, then the streaming code
# under ThreadSanitizer. KYL_QUICK=1 runs the plain build only.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
jobs=$(nproc)

run_suite() {  # build-dir label cmake-args...
  local dir=$1 label=$2; shift 2
  echo "== $label =="
  cmake -S . -B "$dir" "$@" >/dev/null
  cmake --build "$dir" -j"$jobs"
  (cd "$dir" && ctest --output-on-failure -j"$jobs" ${CTEST_ARGS:-})
}

run_suite build "tests" -DCMAKE_BUILD_TYPE=RelWithDebInfo
if [ "${KYL_QUICK:-0}" != 1 ]; then
  run_suite build-asan "tests under AddressSanitizer and UndefinedBehaviorSanitizer" \
    -DCMAKE_BUILD_TYPE=Debug -DKYL_SANITIZE=address,undefined -DKYL_BENCH=OFF
  CTEST_ARGS="-L streaming" run_suite build-tsan "streaming tests under ThreadSanitizer" \
    -DCMAKE_BUILD_TYPE=Debug -DKYL_SANITIZE=thread -DKYL_BENCH=OFF -DKYL_CONTENT=OFF
fi
