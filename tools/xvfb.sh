# Sourced by the scripts that need a display for Wine. start_xvfb starts a
# private Xvfb on a free display number (unless NONARO_DISPLAY names one to
# reuse), exports DISPLAY and stops the server when the calling shell exits.
start_xvfb() {
  if [ -n "${NONARO_DISPLAY:-}" ]; then
    export DISPLAY="$NONARO_DISPLAY"
    return
  fi
  local fifo
  fifo="$(mktemp -u)"
  mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
  NONARO_XVFB_PID=$!
  local number
  read -r number <"$fifo"
  rm -f "$fifo"
  export DISPLAY=":$number"
  trap 'kill "$NONARO_XVFB_PID" 2>/dev/null || true' EXIT
}
