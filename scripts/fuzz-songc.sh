#!/bin/sh
# Fuzzes the song compiler on arbitrary text for SECONDS, default 60. Inputs
# stay small (a whole song source compiles a hundred times slower than a
# page of one). See scripts/fuzz.sh.
#   scripts/fuzz-songc.sh [SECONDS]
set -eu
exec "$(dirname "$0")/fuzz.sh" songc "${1:-60}" -max_len=4096
