# Sourced by the page's scripts: serve_static DIR PROBE LOG serves DIR with
# a plain static server (python3 -m http.server, as a visitor's host would)
# on a free port of 127.0.0.1, sets $port, stops the server when the
# script exits, and returns once PROBE (a path below DIR) answers.
serve_static() {
  local dir=$1 probe=$2 log=$3
  port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
  python3 -m http.server "$port" --bind 127.0.0.1 -d "$dir" >"$log" 2>&1 &
  static_server=$!
  trap 'kill "$static_server" 2>/dev/null || true' EXIT
  for _ in $(seq 50); do
    python3 -c "import urllib.request; urllib.request.urlopen('http://127.0.0.1:$port/$probe')" \
      2>/dev/null && return 0
    sleep 0.2
  done
}
