#!/usr/bin/env bash
# Builds the show as a web page: a static folder that any static file server
# can host,
#   build-web/site/index.html page.js page.css show.js show.wasm show.data
# The program is compiled with Debian's emscripten; OpenGL 1.1 is our
# fixed-function layer on WebGL (src/glfixed), the platform layer's web
# backend is src/platform/web. The song and the pictures are made by the
# project's own tools, natively (build-web/host, or an existing native build
# named by KYL_HOST_BUILD), and packed into show.data.
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

echo "== show.js, show.wasm, show.data (emscripten) =="
emcmake cmake -S . -B "$out/cmake" -DCMAKE_BUILD_TYPE=Release -DKYL_TESTS=OFF -DKYL_BENCH=OFF \
  -DKYL_CONTENT=OFF -DKYL_WEB_DATA="$PWD/$content" "${launcher[@]}" >/dev/null
cmake --build "$out/cmake" -j"$jobs" --target show

echo "== site =="
site=$out/site
rm -rf "$site"
mkdir -p "$site"
cp web/index.html web/page.js web/page.css "$site/"
cp "$out/cmake/web/show.js" "$out/cmake/web/show.wasm" "$out/cmake/web/show.data" "$site/"
total=0
gzipped=0
for f in "$site"/*; do
  raw=$(stat -c %s "$f")
  gz=$(gzip -9 -c "$f" | wc -c)
  total=$((total + raw))
  gzipped=$((gzipped + gz))
  printf '%-12s %10d bytes, %10d gzipped\n' "$(basename "$f")" "$raw" "$gz"
done
printf '%-12s %10d bytes, %10d gzipped\n' total "$total" "$gzipped"
echo "site: $site (serve it with any static file server, e.g. python3 -m http.server -d $site)"
