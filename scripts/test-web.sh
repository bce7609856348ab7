#!/usr/bin/env bash
# Tests the web page (scripts/build-web.sh builds it) in headless Chromium,
# served from 127.0.0.1 by a plain static server (python3 -m http.server)
# that this script starts and stops:
#   frames   one page load draws the show on a virtual clock, as the desktop
#            program's --screenshot does, at a moment in each scene; every
#            picture is compared with "kylvander --screenshot" of that moment,
#            and the song and the pictures must reach the program byte for
#            byte.
#   density  at device scale 2 the canvas's drawing buffer is twice its
#            displayed size, and frames drawn on it match "kylvander
#            --screenshot --size" of that size.
#   sound    the page renders the whole song offline; the samples are
#            compared with "kylvander --render-audio".
#   live     the show plays in the page with its main thread busy 300 ms of
#            every second: scene 1 follows scene 0 at order step 4, the sound
#            that a recorder after the page's audio worklet heard is the
#            native render's with no run of silence, the audio context
#            counts no underrun while the stalls last (what it counted
#            during the start-up is printed apart), Escape ends the show
#            and "play again" is
#            offered; the server sent at most 6 MB for the page.
#   start    the start screen, a click, the show, F for fullscreen at the
#            screen's pixels and back, Escape, play again.
#   failures no WebGL, a missing or damaged data file, a refused audio
#            context and no audio worklet are said on the page in words.
# Each fails on an uncaught error in the browser's console. Figures are
# printed; the files are left in build-web/test.
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

. scripts/static-server.sh
serve_static "$site" index.html "$out/server.log"
page="http://127.0.0.1:$port/index.html"
drive="node web/test/drive-page.mjs"
status=0

echo "== frames: the page against kylvander --screenshot =="
list=$(IFS=,; echo "${moments[*]}")
mkdir -p "$out/frames"
$drive frames "$page?frames=$fps,$list" "$out/frames" --content build-web/content || status=1
for i in "${!moments[@]}"; do
  SDL_VIDEODRIVER=offscreen "$kylvander" --screenshot "${moments[$i]}" "$out/frames/native-$i.ppm" \
    --fps "$fps" --data "$data" >/dev/null
  printf 'scene %s at %6s s: ' "${scenes[$i]}" "${moments[$i]}"
  node web/test/compare-pictures.mjs "$out/frames/native-$i.ppm" "$out/frames/frame-$i.rgb" \
    --max-mean "$max_mean" --max-p99 "$max_p99" || status=1
done

echo "== density: the canvas at device scale 2 against kylvander --screenshot --size =="
mkdir -p "$out/density"
# Scenes 0 and 1, the screen larger than the window (the window's size, not
# the screen's, sets the canvas's).
dense=(4.0 32.2)
$drive canvas "$page?canvasframes=$fps,$(IFS=,; echo "${dense[*]}")" "$out/density" --scale 2 || status=1
size=""
if [ -f "$out/density/canvas.json" ]; then
  size=$(python3 - "$out/density/canvas.json" <<'PY'
import json, sys
c = json.load(open(sys.argv[1]))
w, h = c["buffer"]
ratio = c["devicePixelRatio"]
twice = all(abs(b - ratio * d) < 1 for b, d in zip(c["buffer"], c["displayed"]))
print("devicePixelRatio %g: displayed %gx%g, drawing buffer %dx%d" % (ratio, *c["displayed"], w, h),
      file=sys.stderr)
if ratio != 2 or not twice or any(f != [w, h] for f in c["frames"]):
    print("the drawing buffer is not twice the displayed size", file=sys.stderr); sys.exit(1)
print("%dx%d" % (w, h))
PY
) || { status=1; size=""; }
fi
if [ -n "$size" ]; then
  for i in "${!dense[@]}"; do
    SDL_VIDEODRIVER=offscreen "$kylvander" --screenshot "${dense[$i]}" "$out/density/native-$i.ppm" \
      --fps "$fps" --size "$size" --data "$data" >/dev/null || status=1
    printf 'at %s, %5s s: ' "$size" "${dense[$i]}"
    node web/test/compare-pictures.mjs "$out/density/native-$i.ppm" "$out/density/canvas-$i.rgb" \
      --max-mean "$max_mean" --max-p99 "$max_p99" || status=1
  done
else
  status=1
fi

echo "== sound: the page's render against kylvander --render-audio =="
mkdir -p "$out/sound"
$drive render "$page?render=23" "$out/sound" || status=1
"$kylvander" --render-audio "$out/sound/native.wav" --end-position 23 --data "$data"
python3 scripts/compare-wav.py "$out/sound/native.wav" "$out/sound/song.wav" --min-db 120 || status=1

echo "== live: the show in the page, its sound from the audio worklet, the main thread stalled =="
mkdir -p "$out/live"
served_from=$(wc -l <"$out/server.log")
# Order step 4 (scene 1) is heard after 4 x 7.05 s and the half-second lead.
$drive live "$page?autostart=1&verbose=1" "$out/live" --seconds 31 || status=1
# What the server sent for the page: every file it answered with 200.
tail -n +"$((served_from + 1))" "$out/server.log" | python3 -c '
import os, re, sys
site, limit = sys.argv[1], 6000000
total = 0
for line in sys.stdin:
    m = re.search(r"\"GET (/[^ ?]*)\S* HTTP/[0-9.]+\" 200", line)
    if m:
        total += os.path.getsize(os.path.join(site, m.group(1).lstrip("/") or "index.html"))
print("served for the page: %d bytes (at most %d)" % (total, limit))
sys.exit(0 if 0 < total <= limit else 1)' "$site" || status=1
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
start, stats = report["startPlaybackStats"], report["playbackStats"]
print("longest silence heard: %d frames; playbackStats: %s at the start, %s at the end"
      % (report["longestSilence"], start, stats))
failed = False
if "audio driver audioworklet" not in lines:
    print("the page played no sound through its audio worklet"); failed = True
if not all(ok):
    print("the show did not reach scene 1 at order step 4"); failed = True
if report["endedBeforeEscape"]:
    print("the show ended before Escape"); failed = True
# The song's own quiet stretches last under 90 frames; a quantum of digital
# silence (128 frames) is a gap in the sound.
if report["longestSilence"] >= 128:
    print("the recorder heard a run of silence"); failed = True
if start is None or stats is None or stats["underrunEvents"] != start["underrunEvents"] \
        or stats["underrunDuration"] != start["underrunDuration"]:
    print("the audio context counted underruns while the main thread stalled"); failed = True
sys.exit(1 if failed else 0)
PY
  "$kylvander" --render-audio "$out/live/native.wav" --end-position 5 --data "$data"
  node web/test/align-sound.mjs "$out/live/native.wav" "$out/live/live.wav" "$out/live/aligned.wav" &&
    python3 scripts/compare-wav.py "$out/live/native.wav" "$out/live/aligned.wav" --min-db 120 || status=1
fi

echo "== start: the start screen, a click, the show, fullscreen, play again =="
mkdir -p "$out/start"
$drive start "$page?verbose=1" "$out/start" || status=1

echo "== failures: said on the page in words =="
mkdir -p "$out/fail"
$drive fail "$page" "$out/fail" --expect "WebGL" --flag --disable-webgl --flag --disable-webgl2 || status=1
$drive fail "$page" "$out/fail" --expect "could not download show.data.gz" --missing show.data.gz || status=1
$drive fail "$page" "$out/fail" --expect "show.data.gz is damaged" --cut show.data.gz || status=1
$drive fail "$page" "$out/fail" --expect "refused the page an audio context" --refuse-audio || status=1
$drive fail "$page" "$out/fail" --expect "gives no audio worklet" --no-worklet || status=1

if [ "$status" = 0 ]; then echo "test-web: all passed"; else echo "test-web: FAILED" >&2; fi
exit "$status"
