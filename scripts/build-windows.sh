#!/usr/bin/env bash
# Builds the show as a Windows program and packs it for Windows users:
#   build-windows/kylvander-windows.zip
# which unpacks to Kylvander/show/kylvander.exe beside the song, with the
# pictures one folder up, the layout the show reads, and the plugin Kylvander
# Synth as VST3 and CLAP in Kylvander/plugins.
#
# The song and the pictures are made by the project's own tools, which run
# here, so they are built natively (build-windows/host, or an existing native
# build named by KYL_HOST_BUILD, as the test script passes) and their output is
# copied into the package. The executable is cross-compiled with mingw-w64
# and linked statically: it imports only DLLs every Windows has.
set -euo pipefail
cd "$(dirname "$0")/.."
KYL_WITH_WINDOWS=1 scripts/install-deps.sh
jobs=$(nproc)
out=build-windows
host=${KYL_HOST_BUILD:-$out/host}

echo "== content (native tools) =="
if [ -z "${KYL_HOST_BUILD:-}" ]; then
  cmake -S . -B "$host" -DCMAKE_BUILD_TYPE=Release -DKYL_TESTS=OFF -DKYL_BENCH=OFF >/dev/null
fi
cmake --build "$host" -j"$jobs" --target kyl_song kyl_pictures

echo "== kylvander.exe and the plugin (mingw-w64) =="
# The plugin builds in brumtakt as the native tools compiled it.
cmake --no-warn-unused-cli -S . -B "$out" -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw64.cmake \
  -DCMAKE_BUILD_TYPE=Release -DKYL_CONTENT=OFF -DKYL_BENCH=OFF -DKYL_TESTS=ON \
  -DKYL_PLUGIN_BUILTIN_SONG="$(realpath "$host")/data/show/brumtakt" >/dev/null
cmake --build "$out" -j"$jobs" --target kylvander kyl_win32_sound_ring_test \
  kylvander-synth-vst3 kylvander-synth-clap

exe=$out/src/shell/kylvander.exe
vst3=$out/vst3/kylvander-synth.vst3
clap=$out/clap/kylvander-synth.clap
allowed="opengl32.dll glu32.dll dsound.dll gdi32.dll user32.dll kernel32.dll msvcrt.dll advapi32.dll"
for binary in "$exe" "$vst3/Contents/x86_64-win/kylvander-synth.vst3" "$clap"; do
  imports=$(x86_64-w64-mingw32-objdump -p "$binary" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z')
  echo "$(basename "$binary") imports: $(echo $imports)"
  for dll in $imports; do
    case " $allowed " in
      *" $dll "*) ;;
      *) echo "$binary imports $dll, which is not a system DLL" >&2; exit 1 ;;
    esac
  done
done

echo "== package =="
pkg=$out/package
rm -rf "$pkg"
mkdir -p "$pkg/Kylvander/show"
cp "$host/data/show/brumtakt" "$pkg/Kylvander/show/"
cp "$host"/data/*.tga "$pkg/Kylvander/"
x86_64-w64-mingw32-strip -o "$pkg/Kylvander/show/kylvander.exe" "$exe"
plugins=$pkg/Kylvander/plugins
mkdir -p "$plugins/kylvander-synth.vst3/Contents/x86_64-win"
x86_64-w64-mingw32-strip -o "$plugins/kylvander-synth.vst3/Contents/x86_64-win/kylvander-synth.vst3" \
  "$vst3/Contents/x86_64-win/kylvander-synth.vst3"
x86_64-w64-mingw32-strip -o "$plugins/kylvander-synth.clap" "$clap"
cat > "$pkg/Kylvander/README.txt" <<'TEXT'
Kylvander
=========

Start show\kylvander.exe. It asks whether to run fullscreen; Escape ends
the show, the space bar slows the pictures down while held.

The program reads the song "brumtakt" from its own folder and the pictures
from the folder above it: keep the folders as they are. Started from a
command prompt, run it from the show folder, or name the folder with
--data FOLDER.

The plugins folder holds the show's synthesizer as a plugin for music
programs, Kylvander Synth: copy the folder kylvander-synth.vst3 into
C:\Program Files\Common Files\VST3, or kylvander-synth.clap into
C:\Program Files\Common Files\CLAP. It plays brumtakt's instruments from
MIDI: MIDI channel 1 plays the kick, channel 2 the snare, and so on to
channel 8. Other rates than 44100 Hz are converted by simple interpolation
in this build.
TEXT
# Windows users expect CR LF in a text file.
sed -i 's/$/\r/' "$pkg/Kylvander/README.txt"
rm -f "$out/kylvander-windows.zip"
(cd "$pkg" && zip -q -r -X ../kylvander-windows.zip Kylvander)
ls -l "$out/kylvander-windows.zip"
