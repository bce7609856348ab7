#!/bin/sh
# Fuzzes the song compiler's MIDI file reader and importer for SECONDS,
# default 60. See scripts/fuzz.sh.
#   scripts/fuzz-midi.sh [SECONDS]
set -eu
exec "$(dirname "$0")/fuzz.sh" midi "${1:-60}" -max_len=4096
