# Sourced by the Windows test scripts: a private Xvfb display, a PulseAudio
# server with a null sink (DirectSound under Wine needs a sound server; its
# cursors then advance at the real-time rate) and a fresh Wine prefix, all
# under one temporary folder and all ended by wine_env_stop.
#
#   wine_env_start [--no-display]   sets DISPLAY, XDG_RUNTIME_DIR, WINEPREFIX
#                                   and KYL_WINE_ENV_DIR (the folder); the
#                                   screen is KYL_WINE_SCREEN (1024x768x24)
#   wine_env_stop                   ends what wine_env_start started
#
# A script run inside a started environment (KYL_WINE_ENV_DIR set) uses it
# instead of starting its own.

wine_env_dir=""
wine_env_xvfb_pid=""

wine_env_start() {
  local want_display=1
  [ "${1:-}" = --no-display ] && want_display=0
  wine_env_dir=$(mktemp -d /tmp/kyl-wine.XXXXXX)
  export KYL_WINE_ENV_DIR="$wine_env_dir"

  if [ $want_display = 1 ]; then
    # -displayfd picks a free display number and tells it once the server is
    # ready to take clients.
    Xvfb -displayfd 3 -screen 0 "${KYL_WINE_SCREEN:-1024x768x24}" -nolisten tcp \
      3>"$wine_env_dir/display" \
      >"$wine_env_dir/xvfb.log" 2>&1 &
    wine_env_xvfb_pid=$!
    local i
    for i in $(seq 100); do
      [ -s "$wine_env_dir/display" ] && break
      sleep 0.1
    done
    [ -s "$wine_env_dir/display" ] || { echo "Xvfb did not start" >&2; return 1; }
    export DISPLAY=":$(cat "$wine_env_dir/display")"
  fi

  # PulseAudio in a private runtime folder, so that it neither meets nor
  # disturbs any other server on the machine.
  export XDG_RUNTIME_DIR="$wine_env_dir/run"
  mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
  pulseaudio -D --exit-idle-time=-1 -n \
    --load="module-null-sink sink_name=kyl_null" \
    --load="module-native-protocol-unix" 2>"$wine_env_dir/pulseaudio.log" ||
    { echo "pulseaudio did not start (see $wine_env_dir/pulseaudio.log)" >&2; return 1; }

  export WINEPREFIX="$wine_env_dir/prefix"
  export WINEARCH=win64
  # No .NET or HTML engine installers; a crash ends the program instead of
  # waiting in the debugger; only missing DLLs are reported.
  export WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d"
  export WINEDEBUG="-all,err+module"
  wineboot -i >"$wine_env_dir/wineboot.log" 2>&1
  # Unmanaged windows: without a window manager their destruction is
  # instant. Sound through PulseAudio only (no ALSA probing).
  cat >"$wine_env_dir/settings.reg" <<'REG'
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
"Managed"="N"

[HKEY_CURRENT_USER\Software\Wine\Drivers]
"Audio"="pulse"
REG
  wine regedit /S "$(winepath -w "$wine_env_dir/settings.reg")" >/dev/null 2>&1
}

wine_env_stop() {
  [ -n "$wine_env_dir" ] || return 0
  if [ -n "${WINEPREFIX:-}" ]; then wineserver -k 2>/dev/null || true; fi
  if [ -s "$XDG_RUNTIME_DIR/pulse/pid" ]; then
    kill "$(cat "$XDG_RUNTIME_DIR/pulse/pid")" 2>/dev/null || true
  fi
  if [ -n "$wine_env_xvfb_pid" ]; then
    kill "$wine_env_xvfb_pid" 2>/dev/null || true
    wait "$wine_env_xvfb_pid" 2>/dev/null || true
  fi
  if [ "${KYL_KEEP_WINE_ENV:-0}" = 1 ]; then
    echo "kept $wine_env_dir" >&2
  else
    rm -rf "$wine_env_dir"
  fi
  wine_env_dir=""
  unset KYL_WINE_ENV_DIR
}
