#!/usr/bin/env bash
# Builds the Debian package of the show:
#   build-deb/kylvander_VERSION_amd64.deb
# with /usr/bin/kylvander and kyl_songc, the song and the pictures under
# /usr/share/kylvander, a desktop entry, an icon and the manual pages, and
# the plugin Kylvander Synth in /usr/lib/lv2, /usr/lib/vst3 and /usr/lib/clap. A
# Release build of its own, with Debian's hardening flags (dpkg-buildflags);
# the tests and the benchmarks are not built.
set -euo pipefail
cd "$(dirname "$0")/.."
KYL_WITH_DEB=1 scripts/install-deps.sh
out=build-deb

# The flags a Debian package build uses, with all hardening; CMake's Release
# flags (-O3) come after them. They add no floating-point options: the build
# keeps -ffp-contract=off and SSE, so the package renders the same bytes.
# Given on every configure: CMake reads CFLAGS and friends only once.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cppflags=$(dpkg-buildflags --get CPPFLAGS)
cmake -S . -B "$out" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
  -DCMAKE_C_FLAGS="$(dpkg-buildflags --get CFLAGS) $cppflags" \
  -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CXXFLAGS) $cppflags" \
  -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" \
  -DCMAKE_MODULE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" \
  -DKYL_CONTENT=ON -DKYL_TESTS=OFF -DKYL_BENCH=OFF -DKYL_FUZZ=OFF -DKYL_SANITIZE= >/dev/null
cmake --build "$out" -j"$(nproc)"
rm -f "$out"/kylvander_*.deb
(cd "$out" && cpack -G DEB >/dev/null)
ls -l "$out"/kylvander_*.deb
