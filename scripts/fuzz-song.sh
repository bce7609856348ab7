#!/bin/sh
# Fuzzes the song loader (and plays a sample of what loads) for SECONDS,
# default 60; with the show's song built (build/data/show/brumtakt), that too
# is a seed. See scripts/fuzz.sh.
#   scripts/fuzz-song.sh [SECONDS]
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
show=
[ -f "$root/build/data/show/brumtakt" ] && show=$root/build/data/show/brumtakt
# Room for the show's song (some 25 kB). Once the corpus has grown, the
# entropic schedule's bookkeeping of feature counts takes a quarter of every
# run; the plain schedule leaves that time to the loads.
exec "$root/scripts/fuzz.sh" song "${1:-60}" -max_len=32768 -entropic=0 $show
