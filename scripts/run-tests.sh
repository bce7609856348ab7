#!/usr/bin/env bash
# Builds and runs every test, one step after another:
#   readme   the README's two commands, in a newcomer's order, find the tests,
#   tests    the whole suite (ctest),
#   windows  the Windows program, cross-built and checked under Wine,
#   deb      the Debian package, built, unpacked and run from another folder,
#   web      the browser build, checked in headless Chromium against the native one,
#   asan     the whole suite under AddressSanitizer with UndefinedBehaviorSanitizer,
#   tsan     the suites that run threads under ThreadSanitizer.
# KYL_QUICK=1 runs readme and tests only; KYL_NO_WINDOWS=1 skips windows;
# KYL_STEPS="tests tsan" runs the steps named.
#
# A step is a function step_NAME; a new one is added to `steps` below.
# Every configure names the options it relies on, since the build folders are
# shared with other scripts (run-show.sh configures build/ without tests), and
# every ctest fails when it finds no tests.
set -euo pipefail
cd "$(dirname "$0")/.."
quick=${KYL_QUICK:-0}
windows=1
if [ "$quick" = 1 ] || [ "${KYL_NO_WINDOWS:-0}" = 1 ]; then windows=0; fi
KYL_WITH_WINDOWS=$windows scripts/install-deps.sh
jobs=$(nproc)

# What every test build relies on; a step adds its own options after these.
test_options=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DKYL_TESTS=ON -DKYL_BENCH=ON -DKYL_CONTENT=ON
              -DKYL_SANITIZE=)

configure() {  # dir cmake-args...
  local dir=$1; shift
  cmake -S . -B "$dir" "${test_options[@]}" "$@" >/dev/null
}

configure_and_build() {  # dir target cmake-args...
  local dir=$1 target=$2; shift 2
  configure "$dir" "$@"
  cmake --build "$dir" -j"$jobs" --target "$target"
}

run_ctest() {  # dir ctest-args...
  local dir=$1; shift
  (cd "$dir" && ctest --output-on-failure --no-tests=error -j"$jobs" "$@")
}

step_readme() {
  # run-show.sh first, then this script's configure, on one fresh folder:
  # the second must still find the tests. Configure only, then count.
  local dir
  dir=$(mktemp -d /tmp/kyl-readme-order.XXXXXX)
  KYL_BUILD_DIR="$dir" KYL_CONFIGURE_ONLY=1 scripts/run-show.sh
  configure "$dir"
  local found
  found=$(cd "$dir" && ctest -N | sed -n 's/^Total Tests: //p')
  rm -rf "$dir"
  if [ -z "$found" ] || [ "$found" = 0 ]; then
    echo "after run-show.sh, the test configure finds no tests" >&2
    return 1
  fi
  echo "after run-show.sh, the test configure finds $found tests"
}

step_tests() {
  configure_and_build build all
  run_ctest build
}

step_windows() {
  KYL_HOST_BUILD=build scripts/test-windows.sh
}

step_deb() {
  KYL_HOST_BUILD=build scripts/test-deb.sh
}

step_web() {
  KYL_HOST_BUILD=build scripts/build-web.sh
  KYL_HOST_BUILD=build scripts/test-web.sh
}

step_asan() {
  # The layer's GLES copy of the libraries is tested in the plain build.
  configure_and_build build-asan all -DKYL_SANITIZE=address,undefined -DKYL_BENCH=OFF \
    -DKYL_GLES_COPY=OFF
  run_ctest build-asan
}

step_tsan() {
  configure_and_build build-tsan kyl_streaming_tests -DKYL_SANITIZE=thread -DKYL_BENCH=OFF \
    -DKYL_CONTENT=OFF
  run_ctest build-tsan -L streaming
}

declare -A titles=(
  [readme]="the README's commands in order"
  [tests]="tests"
  [windows]="the Windows build under Wine"
  [deb]="the Debian package"
  [web]="the browser build"
  [asan]="tests under AddressSanitizer and UndefinedBehaviorSanitizer"
  [tsan]="streaming tests under ThreadSanitizer"
)
steps=(readme tests)
[ "$windows" = 1 ] && steps+=(windows)
[ "$quick" = 1 ] || steps+=(deb web asan tsan)
if [ -n "${KYL_STEPS:-}" ]; then read -r -a steps <<<"$KYL_STEPS"; fi

for step in "${steps[@]}"; do
  echo "== ${titles[$step]:-$step} =="
  "step_$step"
done
