#!/usr/bin/env bash
# The page's speed beside the native program's, from one run on one machine:
#   frames  "kylvander --benchmark" and the page's benchmark (benchmark=1):
#           every scene's median frame time and fps on both sides, and the
#           page's speed as a share of the native one (native ms / page ms).
#   render  the song rendered offline to order step 23 and to step 1, on
#           both sides: the difference (start-up left out) and its ratio.
#   live    the live page's fps readout per scene (started at the scene's
#           first order step, median over 4 s in an 800x600 window).
# Runs alternate between the sides, each run waits until the machine is
# quiet (others' builds make figures noise), and every figure is the median
# of the rounds.
#
#   scripts/bench-web.sh [--reference REV] [--rounds N] [--only frames,render,live]
#
# --reference REV also measures REV's page (before and after in one run): it
# is built once into build-web/reference/REV/site (from a temporary worktree,
# with this tree's benchmark entry when REV predates it) and kept there.
# Needs the page (scripts/build-web.sh) and a native build (KYL_HOST_BUILD,
# default build-web/host). Builds, so run it alone (under the build lock).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
reference=""
rounds=3
only="frames,render,live"
while [ $# -gt 0 ]; do
  case "$1" in
    --reference) reference=$2; shift 2 ;;
    --rounds) rounds=$2; shift 2 ;;
    --only) only=$2; shift 2 ;;
    *) echo "usage: $0 [--reference REV] [--rounds N] [--only frames,render,live]" >&2; exit 2 ;;
  esac
done
wants() { [[ ",$only," == *",$1,"* ]]; }

site=build-web/site
data=$root/build-web/content/show
if [ ! -f "$site/show.wasm" ] || [ ! -f "$data/brumtakt" ]; then
  echo "bench-web: build the page first (scripts/build-web.sh)" >&2
  exit 1
fi
host=$(realpath "${KYL_HOST_BUILD:-build-web/host}")
cmake --build "$host" -j"$(nproc)" --target kylvander >/dev/null
kylvander=$host/src/shell/kylvander
export NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}

# The sides: name and the page's address below the server's root (build-web).
sides=(page)
paths=(site)
if [ -n "$reference" ]; then
  rev=$(git rev-parse --short "$reference")
  ref=build-web/reference/$rev
  if [ ! -f "$ref/site/show.wasm" ]; then
    echo "== building $reference ($rev) as the reference page =="
    rm -rf "$ref"
    mkdir -p "$ref"
    git worktree prune  # a worktree of an interrupted run, since removed
    git worktree add --detach "$ref/tree" "$rev" >/dev/null
    if [ ! -f "$ref/tree/web/src/PageBenchmark.cpp" ]; then
      # The reference predates the benchmark entry: it gets this tree's.
      cp web/src/PageBenchmark.h web/src/PageBenchmark.cpp web/src/WebMain.cpp "$ref/tree/web/src/"
      cp src/shell/BenchmarkTimeline.h src/shell/BenchmarkTimeline.cpp "$ref/tree/src/shell/"
      # The error type it catches, where the reference's shell has none.
      [ -f "$ref/tree/src/shell/ShellError.h" ] || cp src/shell/ShellError.h "$ref/tree/src/shell/"
      cp web/page.js "$ref/tree/web/"
    fi
    (cd "$ref/tree" && KYL_HOST_BUILD=$host scripts/build-web.sh >/dev/null)
    cp -r "$ref/tree/build-web/site" "$ref/site"
    git worktree remove --force "$ref/tree"
  fi
  sides+=("$rev")
  paths+=("reference/$rev/site")
fi

out=build-web/bench
rm -rf "$out"
mkdir -p "$out"
. scripts/static-server.sh
serve_static build-web site/index.html "$out/server.log"
url() { echo "http://127.0.0.1:$port/${paths[$1]}/index.html?$2"; }
bench="node web/test/bench-page.mjs"

# Waits until the processors were at most a quarter busy over two seconds
# (up to KYL_QUIET_WAIT seconds, default 900); says so when they never were.
quiet() {
  local waited=0 busy
  while :; do
    busy=$(python3 - <<'PY'
import time
def sample():
    v = [int(x) for x in open("/proc/stat").readline().split()[1:]]
    return sum(v), v[3] + v[4]
t0, i0 = sample(); time.sleep(2); t1, i1 = sample()
print(int(100 * (1 - (i1 - i0) / max(1, t1 - t0))))
PY
)
    [ "$busy" -le 25 ] && return 0
    if [ "$waited" -ge "${KYL_QUIET_WAIT:-900}" ]; then
      echo "bench-web: the machine stayed busy ($busy %): these figures are noise" | tee -a "$out/noise"
      return 0
    fi
    sleep 10
    waited=$((waited + 12))
  done
}
seconds() { python3 -c 'import time; print(time.monotonic())'; }

if wants frames; then
  echo "== frames: $rounds rounds =="
  for r in $(seq "$rounds"); do
    quiet
    SDL_VIDEODRIVER=offscreen "$kylvander" --benchmark --data "$data" >"$out/frames-native-$r.txt"
    for i in "${!sides[@]}"; do
      quiet
      $bench benchmark "$(url "$i" benchmark=1)" >"$out/frames-${sides[$i]}-$r.txt"
    done
    echo "round $r done"
  done
fi

if wants render; then
  echo "== render: $rounds rounds =="
  for r in $(seq "$rounds"); do
    for end in 23 1; do
      quiet
      t0=$(seconds)
      "$kylvander" --render-audio "$out/native.wav" --end-position "$end" --data "$data" >/dev/null
      t1=$(seconds)
      python3 -c "print('render: %.0f ms' % (1000 * ($t1 - $t0)))" >"$out/render-native-$end-$r.txt"
      for i in "${!sides[@]}"; do
        quiet
        $bench render "$(url "$i" "render=$end")" >"$out/render-${sides[$i]}-$end-$r.txt"
      done
    done
  done
fi

if wants live; then
  # Each scene's first order step, in the order the show plays them.
  scenes=(0 1 5 7 3 4 2 6)
  positions=(0 4 6 10 14 16 18 20)
  echo "== live: every scene =="
  for s in "${!scenes[@]}"; do
    for i in "${!sides[@]}"; do
      quiet
      $bench live "$(url "$i" "autostart=1&start=${positions[$s]}")" --window 800,600 \
        >"$out/live-${sides[$i]}-${scenes[$s]}.txt" || true
    done
  done
fi

python3 - "$out" "$rounds" "${sides[@]}" <<'PY'
import glob, os, re, statistics, sys
out, rounds, sides = sys.argv[1], int(sys.argv[2]), sys.argv[3:]

def table(path):
    rows = {}
    for line in open(path):
        f = line.split()
        if len(f) >= 4 and f[0].isdigit():
            rows[int(f[0])] = (float(f[1]), float(f[2]))
    return rows

def median_of(name, scene, column):
    values = [table(p)[scene][column] for p in sorted(glob.glob(f"{out}/frames-{name}-*.txt"))
              if scene in table(p)]
    return statistics.median(values) if values else None

if glob.glob(f"{out}/frames-native-*.txt"):
    print(f"\nframes: median over {rounds} rounds; speed = native median ms / page median ms")
    head = "scene  native fps  native ms"
    for s in sides:
        head += f"  {s:>8} fps  {s:>8} ms  speed"
    print(head)
    for scene in range(8):
        n_ms = median_of("native", scene, 1)
        if n_ms is None:
            continue
        line = f"{scene:5d}  {median_of('native', scene, 0):10.1f}  {n_ms:9.2f}"
        for s in sides:
            ms = median_of(s, scene, 1)
            line += f"  {median_of(s, scene, 0):12.1f}  {ms:11.2f}  {n_ms / ms:5.2f}" if ms else "  (none)"
        print(line)

def render_ms(name, end):
    values = []
    for p in glob.glob(f"{out}/render-{name}-{end}-*.txt"):
        m = re.search(r"render: (\d+) ms", open(p).read())
        if m:
            values.append(float(m.group(1)))
    return statistics.median(values) if values else None

if glob.glob(f"{out}/render-native-*.txt"):
    native = render_ms("native", 23) - render_ms("native", 1)
    print(f"\nrender to order step 23 less render to step 1 (ms), median over {rounds} rounds")
    print(f"native {native:.0f}")
    for s in sides:
        a, b = render_ms(s, 23), render_ms(s, 1)
        if a is not None and b is not None:
            print(f"{s} {a - b:.0f} ({(a - b) / native:.2f}x the native time)")

if glob.glob(f"{out}/live-*.txt"):
    print("\nlive: the page's fps readout, median over 4 s at the scene's first order step")
    print("scene  " + "  ".join(f"{s:>8}" for s in sides))
    for scene in (0, 1, 5, 7, 3, 4, 2, 6):
        cells = []
        for s in sides:
            m = re.search(r"median fps (\d+)", open(f"{out}/live-{s}-{scene}.txt").read())
            cells.append(f"{m.group(1) if m else '-':>8}")
        print(f"{scene:5d}  " + "  ".join(cells))
if os.path.exists(f"{out}/noise"):
    print("\nsome runs did not find the machine quiet: see", f"{out}/noise")
PY
