#!/usr/bin/env bash
# Builds and runs every test:
#   1. the whole suite (ctest),
#   2. the Windows program, cross-built and checked under Wine,
#   3. the whole suite under AddressSanitizer with UndefinedBehaviorSanitizer,
#   4. the suites that run threads under ThreadSanitizer.
# KYL_QUICK=1 runs step 1 only; KYL_NO_WINDOWS=1 skips step 2.
set -euo pipefail
cd "$(dirname "$0")/.."
quick=${KYL_QUICK:-0}
windows=1
if [ "$quick" = 1 ] || [ "${KYL_NO_WINDOWS:-0}" = 1 ]; then windows=0; fi
KYL_WITH_WINDOWS=$windows scripts/install-deps.sh
jobs=$(nproc)

configure_and_build() {  # dir target cmake-args...
  local dir=$1 target=$2; shift 2
  cmake -S . -B "$dir" "$@" >/dev/null
  cmake --build "$dir" -j"$jobs" --target "$target"
}

echo "== tests =="
configure_and_build build all -DCMAKE_BUILD_TYPE=RelWithDebInfo
(cd build && ctest --output-on-failure -j"$jobs")

if [ "$windows" = 1 ]; then
  echo "== the Windows build under Wine =="
  KYL_HOST_BUILD=build scripts/test-windows.sh
fi

if [ "$quick" != 1 ]; then
  echo "== tests under AddressSanitizer and UndefinedBehaviorSanitizer =="
  configure_and_build build-asan all -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DKYL_SANITIZE=address,undefined -DKYL_BENCH=OFF
  (cd build-asan && ctest --output-on-failure -j"$jobs")

  echo "== streaming tests under ThreadSanitizer =="
  configure_and_build build-tsan kyl_streaming_tests -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DKYL_SANITIZE=thread -DKYL_BENCH=OFF -DKYL_CONTENT=OFF
  (cd build-tsan && ctest --output-on-failure -j"$jobs" -L streaming)
fi
