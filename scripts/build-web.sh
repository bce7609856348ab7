#!/usr/bin/env bash
# Builds the show as a web page: a static folder that any static file server
# can host,
#   build-web/site/index.html page.css page.js load.js download-worker.js sound.js
#                  show.js show.wasm show.data.gz sound.wasm sound-processor.js
# The programs are compiled with Debian's emscripten: show.wasm draws (OpenGL
# 1.1 is our fixed-function layer on WebGL, src/glfixed; the platform layer's
# web backend is src/platform/web), sound.wasm makes the sound in the page's
# audio worklet (web/soundworklet). The song and the pictures are made by the
# project's own tools, natively (build-web/host, or an existing native build
# named by KYL_HOST_BUILD), packed into show.data and compressed, since a
# plain static server sends files as they are.
set -euo pipefail
cd "$(dirname "$0")/.."
KYL_WITH_WEB=1 scripts/install-deps.sh
jobs=$(nproc)
out=build-web
host=${KYL_HOST_BUILD:-$out/host}
# Debian's emcc runs on the image's node, which does not see Debian's node
# modules by itself.
export NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}
launcher=()
if command -v ccache >/dev/null; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache); fi

echo "== content (native tools) =="
if [ -z "${KYL_HOST_BUILD:-}" ]; then
  cmake -S . -B "$host" -DCMAKE_BUILD_TYPE=Release -DKYL_TESTS=OFF -DKYL_BENCH=OFF \
    -DKYL_GLES_COPY=OFF "${launcher[@]}" >/dev/null
fi
cmake --build "$host" -j"$jobs" --target kyl_song kyl_pictures
content=$out/content
rm -rf "$content"
mkdir -p "$content/show"
cp "$host/data/show/brumtakt" "$content/show/"
cp "$host"/data/*.tga "$content/"

echo "== show.js, show.wasm, show.data, sound.wasm (emscripten) =="
emcmake cmake -S . -B "$out/cmake" -DCMAKE_BUILD_TYPE=Release -DKYL_TESTS=OFF -DKYL_BENCH=OFF \
  -DKYL_CONTENT=OFF -DKYL_WEB_DATA="$PWD/$content" "${launcher[@]}" >/dev/null
cmake --build "$out/cmake" -j"$jobs" --target show sound

echo "== site =="
site=$out/site
rm -rf "$site"
mkdir -p "$site"
cp web/index.html web/page.css web/page.js web/load.js web/download-worker.js web/sound.js "$site/"
cp web/soundworklet/sound-processor.js "$out/cmake/web/soundworklet/sound.wasm" "$site/"
cp "$out/cmake/web/show.js" "$out/cmake/web/show.wasm" "$site/"
# The page decompresses the data itself (load.js); -n keeps the archive the
# same from build to build.
gzip -9 -n -c "$out/cmake/web/show.data" >"$site/show.data.gz"
# The page loads every file of the site once: their sum is what a plain
# server sends.
total=0
for f in "$site"/*; do
  raw=$(stat -c %s "$f")
  total=$((total + raw))
  printf '%-20s %10d bytes\n' "$(basename "$f")" "$raw"
done
printf '%-20s %10d bytes\n' total "$total"
echo "site: $site (serve it with any static file server, e.g. python3 -m http.server -d $site)"
