#!/bin/sh
# Fuzzes the TGA decoder for SECONDS, default 60; the decoder reports every
# bad file on standard error, which is closed here. See scripts/fuzz.sh.
#   scripts/fuzz-tga.sh [SECONDS]
set -eu
exec "$(dirname "$0")/fuzz.sh" tga "${1:-60}" -max_len=4096 -close_fd_mask=2
