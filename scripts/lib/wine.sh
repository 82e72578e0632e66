# Wine helpers for the project's scripts: a prefix of the project's own inside
# the build tree, a persistent server, and services started on demand.
# Source this file; call wine_up PREFIX first and wine_down when done.

# wine_up PREFIX: makes (or reuses) the prefix and starts its server.
wine_up() {
  export WINEPREFIX="$1"
  export WINEDEBUG=-all
  export WINEARCH=win64
  unset DISPLAY  # message boxes return at once instead of waiting for a click
  mkdir -p "$WINEPREFIX"
  # Make the prefix and let its first server end before the persistent one
  # starts: a prefix made under an already running server ends up with two
  # service managers, which answer queries about a service in turn.
  timeout 300 wineboot -i </dev/null >/dev/null 2>&1
  timeout 120 wineserver -w </dev/null >/dev/null 2>&1
  # The server must not inherit a pipe of ours, or whoever reads that pipe
  # waits for it forever.
  wineserver -p </dev/null >/dev/null 2>&1
}

# wine_down: ends the prefix's server and every Wine process in it.
wine_down() {
  [[ -n "${WINEPREFIX:-}" ]] && wineserver -k >/dev/null 2>&1 || true
}

# wine_service_state NAME: prints the service's state number (4 is running).
wine_service_state() {
  timeout 60 wine sc query "$1" 2>/dev/null | tr -d '\r' | awk '/STATE/ { print $3 }'
}

# wine_service NAME start|stop: brings the service to that state, retrying
# while the service database is still locked by a starting prefix.
wine_service() {
  local name="$1" action="$2" want
  [[ "$action" == start ]] && want=4 || want=1
  for _ in $(seq 1 30); do
    [[ "$(wine_service_state "$name")" == "$want" ]] && return 0
    timeout 60 wine net "$action" "$name" </dev/null >/dev/null 2>&1 || true
    sleep 1
  done
  echo "wine: service $name did not $action" >&2
  return 1
}

# wait_for SECONDS COMMAND...: runs COMMAND every half second until it
# succeeds or SECONDS have passed.
wait_for() {
  local deadline=$((SECONDS + $1))
  shift
  until "$@"; do
    ((SECONDS < deadline)) || return 1
    sleep 0.5
  done
}
