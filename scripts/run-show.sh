#!/usr/bin/env bash
# Builds the show with its content and runs it. Arguments go to kylvander
# (for example --windowed). Without a display it runs under Xvfb.
#
# The build folder is shared with scripts/run-tests.sh, so the configure
# names every option it relies on: whatever an earlier run left in the cache
# does not carry over. KYL_BUILD_DIR names another folder; KYL_CONFIGURE_ONLY=1
# stops after configuring (the test script checks the two commands with it).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${KYL_BUILD_DIR:-build}
configure_only=${KYL_CONFIGURE_ONLY:-0}
[ "$configure_only" = 1 ] || scripts/install-deps.sh
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKYL_TESTS=OFF -DKYL_BENCH=OFF \
  -DKYL_CONTENT=ON -DKYL_SANITIZE= >/dev/null
[ "$configure_only" = 1 ] && exit 0
cmake --build "$build" -j"$(nproc)"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display: running the show under Xvfb (answering the question with --windowed)." >&2
  # Nobody can answer a message box on the virtual display, and nobody is
  # there to listen: the sound goes to SDL's dummy device, which still keeps
  # the song clock in real time.
  export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}
  exec xvfb-run -a -s "-screen 0 1024x768x24" "$build"/src/shell/kylvander --windowed "$@"
fi
exec "$build"/src/shell/kylvander "$@"
