#!/usr/bin/env bash
# Runs the Windows build under Wine on Xvfb, with DirectSound on a PulseAudio
# null sink, and checks what a viewer would see in the first seconds:
#   1. the window's title reads "fps: " and a number;
#   2. --verbose reports the scene changes of the first positions, paced by
#      the song clock, with sound going through DirectSound;
#   3. Escape ends the show with exit code 0;
#   4. without a sound server DirectSound cannot be created: the show says
#      so in a box, then plays on a silent real-time clock.
#
# Usage: scripts/wine-smoke-test.sh [SHOW_DIR]
#   SHOW_DIR holds kylvander.exe and the song, the pictures one folder up
#   (default: the package scripts/build-windows.sh makes).
set -uo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
show_dir=$(cd "${1:-build-windows/package/Kylvander/show}" && pwd) ||
  { echo "no show folder; run scripts/build-windows.sh first" >&2; exit 1; }
# Scene 1 follows scene 0 at the fifth order position; the song's clock
# takes a while to get there.
scene_timeout=${KYL_SMOKE_SCENE_TIMEOUT:-120}

. "$root/scripts/wine-env.sh"

passed=0
failed=0
pass() { passed=$((passed + 1)); echo "PASS: $*"; }
fail() { failed=$((failed + 1)); echo "FAIL: $*"; }

wait_for() {  # seconds command...: polls every 0.2 s until the command succeeds
  local deadline=$((SECONDS + $1)); shift
  until "$@"; do
    [ $SECONDS -ge $deadline ] && return 1
    sleep 0.2
  done
}

ended() { ! kill -0 $wine_pid 2>/dev/null; }

started=$SECONDS
if [ -n "${KYL_WINE_ENV_DIR:-}" ] && [ -n "${DISPLAY:-}" ]; then
  log=$KYL_WINE_ENV_DIR
else
  trap wine_env_stop EXIT
  wine_env_start || exit 1
  echo "Wine prefix ready in $((SECONDS - started)) s (display $DISPLAY)"
  log=$wine_env_dir
fi
(cd "$show_dir" && exec wine ./kylvander.exe --windowed --verbose >"$log/stdout" 2>"$log/stderr") &
wine_pid=$!

# 1. The frame-rate title.
window=""
find_window() {
  window=$(xdotool search --name '^fps: ' 2>/dev/null | head -n 1)
  [ -n "$window" ]
}
if wait_for 60 find_window; then
  title=$(xdotool getwindowname "$window")
  if [[ $title =~ ^fps:\ [0-9]+$ ]]; then
    pass "the title reads \"$title\""
  else
    fail "the title reads \"$title\", not \"fps: \" and a number"
  fi
else
  fail "no window titled \"fps: ...\" within 60 s"
fi

# 2. Scene changes on the song clock, through DirectSound. Position 4 is
# heard after four order steps of music plus the half second queued ahead;
# the step's length comes from the song's header (tempo and step length
# after "GOAT"). Never early; on a loaded machine Wine's mixer may fall
# behind and the audible clock with it, so lateness is allowed some room.
expected=$(python3 - "$show_dir/brumtakt" <<'PY'
import sys
data = open(sys.argv[1], "rb").read()
at = data.find(b"GOAT", max(data.find(b"-SNT"), 0))
if at < 0 or at + 12 > len(data):
    sys.exit(0)
tempo, step_length = data[at + 9], data[at + 11]
if tempo and step_length:
    seconds_per_step = 16 * step_length * (2646000 // (tempo * 32)) / 44100
    print(f"{4 * seconds_per_step + 0.5:.2f}")
PY
)
scene_line() {
  tr -d '\r' <"$log/stdout" | grep -E "^scene $1 position $2 seconds [0-9.]+" | head -n 1
}
has_scene_1() { [ -n "$(scene_line 1 4)" ]; }
if wait_for "$scene_timeout" has_scene_1; then
  first=$(scene_line 0 0)
  second=$(scene_line 1 4)
  driver=$(tr -d '\r' <"$log/stdout" | sed -n 's/^audio driver //p' | head -n 1)
  t0=$(echo "$first" | awk '{print $6}')
  t1=$(echo "$second" | awk '{print $6}')
  if [ -z "$first" ]; then
    fail "no \"scene 0 position 0\" line before scene 1"
  elif [ "$driver" != dsound ]; then
    fail "audio driver \"$driver\", not DirectSound"
  elif [ -z "$expected" ]; then
    fail "cannot read the song's tempo from $show_dir/brumtakt"
  elif awk -v a="$t0" -v b="$t1" -v e="$expected" \
         'BEGIN { tol = e * 0.1; if (tol < 1) tol = 1;
                  exit !(a < 1 && b >= e - tol && b <= e * 1.5 + 2) }'; then
    pass "scene 0 at position 0 (${t0} s), scene 1 at position 4 (${t1} s, song clock" \
      "says ${expected} s), audio driver $driver"
  else
    fail "scene 0 at ${t0} s, scene 1 at ${t1} s; the song clock says scene 1 at ${expected} s"
  fi
else
  fail "no \"scene 1 position 4\" line within $scene_timeout s"
fi

# 3. Escape ends the show. Without a window manager the focus follows the
# pointer, so the pointer goes over the window first.
if [ -n "$window" ] && kill -0 $wine_pid 2>/dev/null; then
  xdotool mousemove --window "$window" 320 240 2>/dev/null
  sleep 0.3
  xdotool key Escape
  if wait_for 20 ended; then
    wait $wine_pid
    code=$?
    if [ $code = 0 ]; then
      pass "Escape ends the show with exit code 0"
    else
      fail "the show ended with exit code $code after Escape"
    fi
  else
    fail "the show still runs 20 s after Escape"
  fi
else
  fail "the show was not running when Escape was to be sent"
fi

# 4. No sound server: DirectSoundCreate8 fails under Wine. The box is
# answered, and the show must run on without sound and end normally.
if [ -s "$XDG_RUNTIME_DIR/pulse/pid" ]; then
  kill "$(cat "$XDG_RUNTIME_DIR/pulse/pid")" 2>/dev/null
  sleep 0.5
fi
(cd "$show_dir" && exec wine ./kylvander.exe --windowed --verbose >"$log/stdout-silent" \
   2>"$log/stderr-silent") &
wine_pid=$!
box=""
find_box() {
  box=$(xdotool search --name '^Error!$' 2>/dev/null | head -n 1)
  [ -n "$box" ]
}
window=""
if wait_for 60 find_box; then
  xdotool mousemove --window "$box" 10 10 2>/dev/null
  sleep 0.3
  xdotool key Return
  if wait_for 60 find_window && sleep 1 &&
     [ "$(tr -d '\r' <"$log/stdout-silent" | sed -n 's/^audio driver //p')" = silent ]; then
    xdotool mousemove --window "$window" 320 240 2>/dev/null
    sleep 0.3
    xdotool key Escape
    if wait_for 20 ended && wait $wine_pid &&
       grep -q "Could not create dx8 object" "$log/stderr-silent"; then
      pass "no sound server: \"Could not create dx8 object\", then the show runs silent and ends"
    else
      fail "no sound server: the silent show did not end with exit code 0 after Escape"
    fi
  else
    fail "no sound server: no silent show after the box"
  fi
else
  fail "no sound server: no \"Error!\" box within 60 s"
fi

if [ $failed != 0 ]; then
  echo "--- standard output"; tr -d '\r' <"$log/stdout" | tail -n 20
  echo "--- standard error"; grep -v '^ALSA' "$log/stderr" | tail -n 20
  echo "--- standard error without a sound server"
  grep -v '^ALSA' "$log/stderr-silent" 2>/dev/null | tail -n 10
fi
echo "$passed passed, $failed failed ($((SECONDS - started)) s)"
[ $failed = 0 ]
