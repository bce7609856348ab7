#!/usr/bin/env bash
# Peak resident memory (and wall time) of every mode of the program, measured
# with GNU time: the live show (its last order steps), the texture export, the
# sound render, screenshots at several moments and, unless --quick, the
# capture of the whole show.
#
#   bench/offline-memory.sh [--quick] [KYLVANDER]
#
# KYLVANDER defaults to build/src/shell/kylvander. Runs without a display
# (SDL's offscreen video, the dummy sound device).
set -euo pipefail
quick=0
if [ "${1:-}" = "--quick" ]; then
  quick=1
  shift
fi
here=$(cd "$(dirname "$0")/.." && pwd)
program=$(realpath "${1:-$here/build/src/shell/kylvander}")
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
export SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy

# Runs the program with the given arguments and prints one line: the label,
# the peak resident set in MB and the wall time.
measure() {
  local label=$1
  shift
  local log="$out/time.log"
  if ! /usr/bin/time -v -o "$log" "$program" "$@" >"$out/stdout.log" 2>"$out/stderr.log"; then
    echo "$label: failed (exit status in $log)" >&2
    tail -3 "$out/stderr.log" >&2
  fi
  local kb wall
  kb=$(awk -F': ' '/Maximum resident set size/ {print $2}' "$log")
  wall=$(awk -F': ' '/Elapsed \(wall clock\)/ {print $2}' "$log")
  printf '%-28s %8.1f MB  %10s\n' "$label" "$(echo "$kb / 1024" | bc -l)" "$wall"
}

printf '%-28s %11s  %10s\n' "mode" "peak RSS" "wall"
measure "show (--start 22)" --windowed --start 22
measure "--dump-textures" --dump-textures "$out/textures"
measure "--render-audio" --render-audio "$out/song.wav"
for t in 1 5 30 115; do
  measure "--screenshot $t" --screenshot "$t" "$out/shot-$t.png"
done
if [ "$quick" = 0 ]; then
  measure "--capture (whole show)" --capture "$out/show.mp4"
fi
