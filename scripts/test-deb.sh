#!/usr/bin/env bash
# Checks the Debian package that scripts/build-deb.sh makes:
#   - what it holds (the two programs, the song and the 21 pictures, desktop
#     entry, icons, manual pages, the plugin's LV2, VST3 and CLAP bundles; no
#     tests, no benchmarks) and its dependencies,
#   - lintian reports no errors, the desktop entry validates,
#   - the programs unpacked into a scratch root (dpkg -x), run from another
#     folder with no display: kyl_songc rebuilds the packaged song from the
#     packaged source, kylvander renders the song to WAV and takes a
#     screenshot from its installed data, lv2info reads the installed LV2
#     bundle.
# KYL_HOST_BUILD=DIR (a build with its content, as CI has) also compares the
# render and the screenshot byte for byte with that build's.
set -uo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
started=$SECONDS

scripts/build-deb.sh || exit 1
debs=(build-deb/kylvander_*_amd64.deb)
deb=${debs[0]}
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

passed=0
failed=0
pass() { echo "ok: $*"; passed=$((passed + 1)); }
fail() { echo "FAILED: $*"; failed=$((failed + 1)); }

echo "== contents =="
listing=$(dpkg-deb -c "$deb" | awk '{print $6}' | sed 's|^\./|/|')
missing=""
for path in /usr/bin/kylvander /usr/bin/kyl_songc /usr/share/kylvander/show/brumtakt \
  /usr/share/applications/kylvander.desktop /usr/share/icons/hicolor/48x48/apps/kylvander.png \
  /usr/share/icons/hicolor/256x256/apps/kylvander.png /usr/share/man/man1/kylvander.1.gz \
  /usr/share/man/man1/kyl_songc.1.gz /usr/share/doc/kylvander/copyright \
  /usr/share/doc/kylvander/changelog.gz \
  /usr/lib/lv2/kylvander-synth.lv2/manifest.ttl /usr/lib/lv2/kylvander-synth.lv2/kylvander-synth_dsp.ttl \
  /usr/lib/lv2/kylvander-synth.lv2/kylvander-synth_dsp.so \
  /usr/lib/vst3/kylvander-synth.vst3/Contents/x86_64-linux/kylvander-synth.so \
  /usr/lib/clap/kylvander/kylvander-synth.clap; do
  grep -qx "$path" <<<"$listing" || missing+=" $path"
done
pictures=$(grep -c '^/usr/share/kylvander/[^/]*\.tga$' <<<"$listing")
programs=$(grep '^/usr/bin/.' <<<"$listing" | tr '\n' ' ')
if [ -z "$missing" ] && [ "$pictures" = 21 ] &&
   [ "$programs" = "/usr/bin/kyl_songc /usr/bin/kylvander " ]; then
  pass "$(grep -vc '/$' <<<"$listing") files, 21 pictures, programs: $programs"
else
  fail "missing:${missing:- none}; $pictures pictures; programs: $programs"
fi

# Read from the linked libraries, and the two GL libraries SDL loads itself.
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
names=$(tr ',|' '\n\n' <<<"$depends" | awk '{print $1}')
lacking=""
for dep in libc6 libstdc++6 libsdl2-2.0-0 libopengl0 libgl1 libegl1 libsamplerate0; do
  grep -qxF "$dep" <<<"$names" || lacking+=" $dep"
done
if [ -z "$lacking" ]; then
  pass "dependencies"
else
  fail "dependencies lack$lacking"
fi

echo "== lintian =="
if lintian --fail-on error,warning --display-info "$deb"; then
  pass "lintian: no errors or warnings"
else
  fail "lintian reports errors"
fi

echo "== installed into $scratch =="
dpkg -x "$deb" "$scratch/root"
usr=$scratch/root/usr
if desktop-file-validate "$usr/share/applications/kylvander.desktop"; then
  pass "desktop entry"
else
  fail "desktop entry"
fi

mkdir -p "$scratch/elsewhere"
cd "$scratch/elsewhere"
export SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy
if "$usr/bin/kyl_songc" "$usr/share/doc/kylvander/examples/brumtakt.song" song &&
   cmp -s song "$usr/share/kylvander/show/brumtakt"; then
  pass "kyl_songc rebuilds the packaged song"
else
  fail "kyl_songc"
fi

if "$usr/bin/kylvander" --render-audio render.wav &&
   [ "$(stat -c %s render.wav)" -gt 1000000 ]; then
  pass "render: $(stat -c %s render.wav) bytes"
else
  fail "render"
fi
# One second in: the title plate over the nebula, from two of the pictures.
# A picture it cannot read is drawn transparent, with a message.
if "$usr/bin/kylvander" --screenshot 1 shot.png --fps 10 2>shot.err &&
   file shot.png | grep -q '640 x 480' && ! grep -q 'picture' shot.err; then
  pass "screenshot: $(file -b shot.png)"
else
  cat shot.err
  fail "screenshot"
fi

# The plugin as a host finds it where Debian's hosts look.
if LV2_PATH=$scratch/root/usr/lib/lv2 lv2info urn:kylvander:synth >lv2info.out 2>&1 &&
   grep -q 'Name: *Kylvander Synth' lv2info.out && grep -q 'Symbol: *ch7_send3' lv2info.out; then
  pass "lv2info reads the installed plugin"
else
  cat lv2info.out
  fail "lv2info does not read /usr/lib/lv2/kylvander-synth.lv2"
fi

# The song it played was the installed one: emptied, that is the file it names.
song=$usr/share/kylvander/show/brumtakt
cp "$song" song.keep
: >"$song"
"$usr/bin/kylvander" --render-audio empty.wav 2>empty.err
if grep -qF "$song: it is empty" empty.err; then
  pass "the installed program reads its installed data"
else
  cat empty.err
  fail "the installed program does not read $usr/share/kylvander/show"
fi
cp song.keep "$song"

if [ -n "${KYL_HOST_BUILD:-}" ]; then
  echo "== against the build in $KYL_HOST_BUILD =="
  host=$root/$KYL_HOST_BUILD
  cmake --build "$host" -j"$(nproc)" --target kylvander >/dev/null || fail "building $host"
  if "$host/src/shell/kylvander" --render-audio host.wav && cmp host.wav render.wav; then
    pass "the render is the same bytes as $KYL_HOST_BUILD's"
  else
    fail "the render differs from $KYL_HOST_BUILD's"
  fi
  if "$host/src/shell/kylvander" --screenshot 1 host.png --fps 10 && cmp host.png shot.png; then
    pass "the screenshot is the same bytes as $KYL_HOST_BUILD's"
  else
    fail "the screenshot differs from $KYL_HOST_BUILD's"
  fi
fi

echo "$(basename "$deb"): $(stat -c %s "$root/$deb") bytes; $((SECONDS - started)) s in all"
echo "deb: $passed passed, $failed failed"
[ $failed = 0 ]
