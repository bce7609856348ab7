#!/usr/bin/env bash
# Tests the web page (scripts/build-web.sh builds it) in headless Chromium,
# served from 127.0.0.1 by a server this script starts and stops:
#   frames  one page load draws the show on a virtual clock, as the desktop
#           program's --screenshot does, at a moment in each scene; every
#           picture is compared with "kylvander --screenshot" of that moment.
#   sound   the page renders the whole song offline; the samples are compared
#           with "kylvander --render-audio".
#   live    the show plays in the page: scene 1 follows scene 0 at order
#           step 4, the sound the Web Audio node played is the native render's,
#           Escape ends the show.
# Each fails on an error in the browser's console. Figures are printed; the
# files are left in build-web/test.
set -euo pipefail
cd "$(dirname "$0")/.."
KYL_WITH_WEB=1 scripts/install-deps.sh
site=build-web/site
data=build-web/content/show
if [ ! -f "$site/show.wasm" ] || [ ! -f "$data/brumtakt" ]; then
  echo "test-web: build the page first (scripts/build-web.sh)" >&2
  exit 1
fi
host=${KYL_HOST_BUILD:-build-web/host}
cmake --build "$host" -j"$(nproc)" --target kylvander >/dev/null
kylvander=$PWD/$host/src/shell/kylvander
out=build-web/test
rm -rf "$out"
mkdir -p "$out"

# Frames per second of the virtual clock: both sides draw every frame from
# the start, so few keep the test short.
fps=2
# A moment in each scene, in the order the show plays them (scenes 0, 1, 5,
# 7, 3, 4, 2, 6): four seconds into its first order step.
moments=(4.0 32.2 46.3 74.5 102.7 116.9 131.0 145.1)
scenes=(0 1 5 7 3 4 2 6)
# SwiftShader in the browser and llvmpipe on the desktop rasterise and
# filter a little differently: texels round apart by a step, and the edges
# of thin geometry cover other pixels (a few hundred channels differ by up
# to 255 in the knot scenes). The pictures may differ by a mean of one 8-bit
# step per channel, and 99 % of the channels by at most 6 (measured: means
# 0.11 to 0.36, 99 % within 1 to 3).
max_mean=1.0
max_p99=6

port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
python3 -m http.server "$port" --bind 127.0.0.1 -d "$site" >"$out/server.log" 2>&1 &
server=$!
trap 'kill "$server" 2>/dev/null || true' EXIT
for _ in $(seq 50); do
  python3 -c "import urllib.request; urllib.request.urlopen('http://127.0.0.1:$port/index.html')" \
    2>/dev/null && break
  sleep 0.2
done
page="http://127.0.0.1:$port/index.html"
drive="node web/test/drive-page.mjs"
status=0

echo "== frames: the page against kylvander --screenshot =="
list=$(IFS=,; echo "${moments[*]}")
mkdir -p "$out/frames"
$drive frames "$page?frames=$fps,$list" "$out/frames" || status=1
for i in "${!moments[@]}"; do
  SDL_VIDEODRIVER=offscreen "$kylvander" --screenshot "${moments[$i]}" "$out/frames/native-$i.ppm" \
    --fps "$fps" --data "$data" >/dev/null
  printf 'scene %s at %6s s: ' "${scenes[$i]}" "${moments[$i]}"
  node web/test/compare-pictures.mjs "$out/frames/native-$i.ppm" "$out/frames/frame-$i.rgb" \
    --max-mean "$max_mean" --max-p99 "$max_p99" || status=1
done

echo "== sound: the page's render against kylvander --render-audio =="
mkdir -p "$out/sound"
$drive render "$page?render=23" "$out/sound" || status=1
"$kylvander" --render-audio "$out/sound/native.wav" --end-position 23 --data "$data"
python3 scripts/compare-wav.py "$out/sound/native.wav" "$out/sound/song.wav" --min-db 120 || status=1

echo "== live: the show in the page, its sound through Web Audio, Escape =="
mkdir -p "$out/live"
# Order step 4 (scene 1) is heard after 4 x 7.05 s and the half-second lead.
$drive live "$page?autostart=1&verbose=1&tap=16" "$out/live" --seconds 31 || status=1
if [ -f "$out/live/live.json" ]; then
  python3 - "$out/live/live.json" <<'PY' || status=1
import json, sys
report = json.load(open(sys.argv[1]))
lines = report["console"]
print("load to first frame: %.0f ms (program ready after %.0f ms)" % (report["firstFrameMs"], report["readyMs"]))
expected = ["scene 0 position 0", "scene 1 position 4"]
seen = [line for line in lines if line.startswith("scene ")]
ok = [any(line.startswith(e) for line in seen) for e in expected]
print("scene lines:", "; ".join(seen))
if "audio driver webaudio" not in lines:
    print("the page played no sound through Web Audio"); sys.exit(1)
if not all(ok):
    print("the show did not reach scene 1 at order step 4"); sys.exit(1)
if report["endedBeforeEscape"]:
    print("the show ended before Escape"); sys.exit(1)
PY
  "$kylvander" --render-audio "$out/live/native.wav" --end-position 3 --data "$data"
  node web/test/align-sound.mjs "$out/live/native.wav" "$out/live/live.wav" "$out/live/aligned.wav" &&
    python3 scripts/compare-wav.py "$out/live/native.wav" "$out/live/aligned.wav" --min-db 120 || status=1
fi

if [ "$status" = 0 ]; then echo "test-web: all passed"; else echo "test-web: FAILED" >&2; fi
exit "$status"
