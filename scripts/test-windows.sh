#!/usr/bin/env bash
# The Windows build's checks, for CI: builds and packs kylvander.exe, then in
# one Wine environment (Xvfb, PulseAudio null sink, fresh prefix)
#   - the sound ring's lock test on DirectSound,
#   - the progress window's size, style and place,
#   - a fitted window resized, and desktop fullscreen on F11 and F,
#   - the smoke test of the packed show,
#   - the offline song render compared with the Linux build's,
#   - the exported scene textures compared with the Linux build's.
set -uo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

host=${KYL_HOST_BUILD:-build-windows/host}
scripts/build-windows.sh || exit 1
cmake --build "$host" -j"$(nproc)" --target kylvander || exit 1
cmake --build build-windows -j"$(nproc)" --target kyl_win32_precalc_window_test \
  kyl_win32_fit_window_test || exit 1

. "$root/scripts/wine-env.sh"
# Wide enough for a 1280x720 window, and of another shape than the picture.
export KYL_WINE_SCREEN=1920x1080x24
trap wine_env_stop EXIT
started=$SECONDS
wine_env_start || exit 1
echo "Wine prefix ready in $((SECONDS - started)) s (display $DISPLAY)"

failures=0

echo "== sound ring lock test (DirectSound under Wine) =="
wine build-windows/tests/win32/kyl_win32_sound_ring_test.exe 2> >(grep -v '^ALSA' >&2) ||
  failures=$((failures + 1))

echo "== progress window placement =="
wine build-windows/tests/win32/kyl_win32_precalc_window_test.exe 2> >(grep -v '^ALSA' >&2) ||
  failures=$((failures + 1))

echo "== fitted window and desktop fullscreen =="
wine build-windows/tests/win32/kyl_win32_fit_window_test.exe 2> >(grep -v '^ALSA' >&2) ||
  failures=$((failures + 1))

echo "== smoke test =="
scripts/wine-smoke-test.sh || failures=$((failures + 1))

echo "== song render, Windows build against Linux build =="
show=build-windows/package/Kylvander/show
linux_wav=$KYL_WINE_ENV_DIR/render-linux.wav
windows_wav=$KYL_WINE_ENV_DIR/render-windows.wav
if "$host"/src/shell/kylvander --render-audio "$linux_wav" \
     --data "$root/$host/data/show" &&
   (cd "$show" && wine ./kylvander.exe --render-audio "$(winepath -w "$windows_wav")" \
      2> >(grep -v '^ALSA' >&2)); then
  python3 scripts/compare-wav.py "$linux_wav" "$windows_wav" --min-db 60 ||
    failures=$((failures + 1))
else
  echo "a render failed"
  failures=$((failures + 1))
fi

echo "== scene textures, Windows build against Linux build =="
linux_tex=$KYL_WINE_ENV_DIR/textures-linux
windows_tex=$KYL_WINE_ENV_DIR/textures-windows
if SDL_VIDEODRIVER=offscreen "$host"/src/shell/kylvander --dump-textures "$linux_tex" \
     --data "$root/$host/data/show" &&
   (cd "$show" && wine ./kylvander.exe --dump-textures "$(winepath -w "$windows_tex")" \
      2> >(grep -v '^ALSA' >&2)); then
  count=0
  differing=0
  for file in "$linux_tex"/*; do
    count=$((count + 1))
    if ! cmp -s "$file" "$windows_tex/$(basename "$file")"; then
      echo "differs: $(basename "$file")"
      differing=$((differing + 1))
    fi
  done
  if [ $count -gt 0 ] && [ $differing = 0 ] &&
     [ "$(ls "$windows_tex" | wc -l)" = $count ]; then
    echo "identical: $count textures"
  else
    echo "$differing of $count textures differ (Windows wrote $(ls "$windows_tex" | wc -l))"
    failures=$((failures + 1))
  fi
else
  echo "a texture export failed"
  failures=$((failures + 1))
fi

echo "Windows checks: $((6 - failures)) of 6 passed ($((SECONDS - started)) s after the build)"
[ $failures = 0 ]
