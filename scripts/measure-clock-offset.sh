#!/usr/bin/env bash
# Measures the offset between the song clock (what the pictures follow) and
# the sound, on SDL's disk audio driver: the probe plays "brumtakt" for a
# while and prints, for every tick and every new order step, the time the
# clock moved on minus the time the tick's first frame was played, and the
# same for the 60 Hz frame that shows it.
#
# Usage: scripts/measure-clock-offset.sh [SECONDS] [POSITION]
# Builds in build/ (KYL_BUILD_DIR names another folder).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${KYL_BUILD_DIR:-build}
seconds=${1:-20}
position=${2:-0}
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKYL_TESTS=ON -DKYL_CONTENT=ON \
  -DKYL_SANITIZE= >/dev/null
cmake --build "$build" -j"$(nproc)" --target kyl_clock_offset_probe kyl_song >/dev/null
played=$(mktemp /tmp/kyl-played.XXXXXX)
trap 'rm -f "$played"' EXIT
SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$played" \
  "$build"/tests/music/kyl_clock_offset_probe "$build"/data/show/brumtakt "$seconds" "$position"
