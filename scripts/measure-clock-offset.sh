#!/usr/bin/env bash
# Measures the offset between the song clock (what the pictures follow) and
# the sound: the song "brumtakt" plays through the real sound output, and for
# every tick (and every new order step) the time the clock moved on is set
# against the time the tick's first frame was played.
#
#   scripts/measure-clock-offset.sh [SECONDS]          SDL, disk audio driver
#   scripts/measure-clock-offset.sh --wine [SECONDS]   DirectSound under Wine,
#       on a PulseAudio null sink whose monitor is recorded
#
# Builds in build/ (KYL_BUILD_DIR names another folder); --wine needs the
# Windows build that scripts/build-windows.sh makes.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
build=${KYL_BUILD_DIR:-build}
wine=0
if [ "${1:-}" = --wine ]; then wine=1; shift; fi
seconds=${1:-20}
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKYL_TESTS=ON -DKYL_BENCH=ON \
  -DKYL_CONTENT=ON -DKYL_SANITIZE= >/dev/null
song=$root/$build/data/show/brumtakt

if [ $wine = 1 ]; then
  cmake --build "$build" -j"$(nproc)" --target kylvander kyl_song >/dev/null
  cmake --build build-windows -j"$(nproc)" --target kyl_win32_clock_log_probe >/dev/null
  . scripts/wine-env.sh
  trap wine_env_stop EXIT
  wine_env_start --no-display
  # The song as the Linux build renders it, to find each tick in the recording.
  reference=$KYL_WINE_ENV_DIR/reference.wav
  steps=$(( ${seconds%.*} / 5 + 3 ))
  "$build"/src/shell/kylvander --render-audio "$reference" --data "$root/$build/data/show" \
    --end-position "$steps" >/dev/null
  python3 scripts/clock-offset-wine.py build-windows/tests/win32/kyl_win32_clock_log_probe.exe \
    "$(winepath -w "$song")" "$seconds" "$reference"
  exit
fi

cmake --build "$build" -j"$(nproc)" --target kyl_clock_offset_probe kyl_song >/dev/null
played=$(mktemp /tmp/kyl-played.XXXXXX)
trap 'rm -f "$played"' EXIT
SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$played" \
  "$build"/tests/music/kyl_clock_offset_probe "$song" "$seconds" 2>&1 | grep -v '^CRITICAL'
