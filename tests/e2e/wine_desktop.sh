#!/usr/bin/env bash
# The Wine virtual desktop that the end-to-end scenarios of one prefix play
# in. Starting a desktop means starting the wineserver, Wine's services and
# explorer, which costs more than many scenarios take (minutes under
# emulation), so CTest starts one for the whole group of scenarios on a
# prefix (a fixture) and each scenario only starts its driver into it.
#
#   wine_desktop.sh start <driver.exe>    once, before the group
#   wine_desktop.sh stop                  once, after it
#
# Uses NONARO_WINEPREFIX; NONARO_E2E_DESKTOP_SIZE sets the desktop's size
# (1024x768 unless a group's larger scale needs more), and
# NONARO_E2E_WINDOW_METRICS ("CaptionHeight=-450 MenuHeight=-600") gives the
# group's prefix window metrics of its own, in twips, -15 a pixel at 96 DPI.
# The desktop gets an X display of its own, so it
# never overlaps another test's windows however long it stays up. Wine
# closes a desktop once the last program in it has ended; the driver's
# --hold mode is the program that keeps it open between scenarios, and the
# desktop counts as up while the holder and the display run. A desktop that
# dies under a scenario fails that scenario, which then ends the desktop; the
# next scenario starts a fresh one.
# Sourced, the file only defines the functions, for run_scenario.sh.

desktop_name=e2e
desktop_size="${NONARO_E2E_DESKTOP_SIZE:-1024x768}"
desktop_state="$NONARO_WINEPREFIX.desktop"
desktop_ready="$NONARO_WINEPREFIX.desktop-ready"
desktop_root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"

desktop_winpath() { local p="$1"; echo "Z:${p//\//\\}"; }

# True while a Wine process whose command line names the Windows path runs
# (Wine gives each Windows process its command line as the Unix one's
# arguments).
desktop_process_running() {  # <Windows path>
  pgrep -f -- "$(printf '%s' "$1" | sed 's/[][\\.*^$+?(){}|]/\\&/g')" >/dev/null
}

# The state file holds "<display> <Xvfb pid>"; the holder is known by the
# ready file its command line names.
desktop_running() {
  [ -f "$desktop_state" ] || return 1
  local xvfb
  read -r _ xvfb <"$desktop_state"
  kill -0 "$xvfb" 2>/dev/null && desktop_process_running "$(desktop_winpath "$desktop_ready")"
}

desktop_display() { cut -d' ' -f1 "$desktop_state"; }

desktop_start() {  # <driver.exe>
  local driver="$1" fifo number xvfb
  # A session left from a desktop whose display is gone would draw there.
  WINEPREFIX="$NONARO_WINEPREFIX" wineserver -k >/dev/null 2>&1 || true
  fifo="$(mktemp -u)"
  mkfifo "$fifo"
  setsid Xvfb -displayfd 3 -screen 0 "$((${desktop_size%x*} + 256))x$((${desktop_size#*x} + 256))x24" -nolisten tcp \
    3>"$fifo" >/dev/null 2>&1 &
  xvfb=$!
  read -r number <"$fifo"
  rm -f "$fifo"
  rm -f "$desktop_ready"
  echo ":$number $xvfb" >"$desktop_state"
  local metric
  for metric in ${NONARO_E2E_WINDOW_METRICS:-}; do
    DISPLAY=":$number" bash "$desktop_root/tools/wine-run.sh" reg add 'HKCU\Control Panel\Desktop\WindowMetrics' \
      /v "${metric%%=*}" /t REG_SZ /d "${metric#*=}" /f >/dev/null 2>&1
  done
  DISPLAY=":$number" setsid bash "$desktop_root/tools/wine-run.sh" explorer "/desktop=$desktop_name,$desktop_size" \
    "$(desktop_winpath "$driver")" --hold "$(desktop_winpath "$desktop_ready")" >"$NONARO_WINEPREFIX.desktop.txt" 2>&1 &
  local started=$SECONDS waited
  while [ ! -f "$desktop_ready" ] && kill -0 "$xvfb" 2>/dev/null && [ $((SECONDS - started)) -lt "${NONARO_E2E_LIMIT:-270}" ]; do
    sleep 0.2
  done
  waited=$((SECONDS - started))
  if ! desktop_running; then
    echo "e2e: the desktop did not come up after ${waited} s"
    tail -n 20 "$NONARO_WINEPREFIX.desktop.txt" 2>/dev/null
    desktop_stop
    return 1
  fi
  echo "e2e: desktop $desktop_name up on :$number after ${waited} s"
}

desktop_stop() {
  WINEPREFIX="$NONARO_WINEPREFIX" wineserver -k >/dev/null 2>&1 || true
  if [ -f "$desktop_state" ]; then
    local xvfb
    xvfb="$(cut -d' ' -f2 "$desktop_state")"
    kill "$xvfb" 2>/dev/null || true
    rm -f "$desktop_state"
  fi
  rm -f "$desktop_ready"
}

if [ "${BASH_SOURCE[0]}" = "$0" ]; then
  set -uo pipefail
  : "${NONARO_WINEPREFIX:?the prefix of the group}"
  case "${1:-}" in
    start) desktop_running || desktop_start "$2" ;;
    stop) desktop_stop ;;
    *) sed -n '8,9p' "$0" >&2; exit 2 ;;
  esac
fi
