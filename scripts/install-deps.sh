#!/usr/bin/env bash
# Installs what building, running and testing the show needs, from Debian's
# packages. Runs as root (or through sudo when it is there).
set -euo pipefail

packages=(
  build-essential cmake pkg-config git
  libsdl2-dev libgl1-mesa-dev libglu1-mesa-dev libgl1-mesa-dri
  libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev
  xvfb xauth xdotool
  ffmpeg sox imagemagick
  libfreetype-dev fonts-dejavu-core
  # another reader and writer of MIDI files, to check the song compiler's
  libsmf-dev
  # the architecture page's check (DocAnchors)
  python3
  # the plugin: its framework, rate conversion, and a host library to test it
  dpf-source libsamplerate0-dev liblilv-dev lilv-utils
)
if [ "${KYL_WITH_WINDOWS:-0}" = 1 ]; then
  packages+=(g++-mingw-w64-x86-64-posix wine wine64 pulseaudio zip)
fi
if [ "${KYL_WITH_DEB:-0}" = 1 ]; then
  # cpack -G DEB reads the program's libraries with dpkg-shlibdeps (which needs
  # file); the test checks the package with lintian and the desktop entry.
  packages+=(dpkg-dev file lintian desktop-file-utils)
fi
if [ "${KYL_WITH_WEB:-0}" = 1 ]; then
  # The page: emscripten's compiler, headless Chromium to test it in, and
  # OpenGL ES through EGL for the native test of the fixed-function layer.
  packages+=(emscripten chromium libgles-dev libegl-dev)
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

sudo=""
if [ "$(id -u)" != 0 ]; then sudo=sudo; fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
