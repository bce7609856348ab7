#!/bin/sh
# Fuzzes the song compiler on arbitrary text for SECONDS, default 60; the
# show's song source is a seed too. See scripts/fuzz.sh.
#   scripts/fuzz-songc.sh [SECONDS]
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
exec "$root/scripts/fuzz.sh" songc "${1:-60}" -max_len=32768 "$root/data/song/brumtakt.song"
