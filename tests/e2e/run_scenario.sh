#!/usr/bin/env bash
# Runs one end-to-end scenario: the driver, inside a Wine virtual desktop,
# starts the real game and plays it.
#
#   run_scenario.sh <driver.exe> <probe.dll> <nonaro.exe> <scenario> <results dir> [scenario options...]
#
# The desktop is the group's (tests/e2e/wine_desktop.sh) when one is up for
# the prefix; otherwise the run makes one, and ends it afterwards unless
# NONARO_E2E_DESKTOP=shared says that a group's fixture will. A scenario that
# does not pass ends the desktop, so that nothing it left on screen reaches
# the next one, which then starts a fresh desktop.
# The verdict comes from the result file that the driver writes (explorer's
# exit code does not carry the driver's). The scenario's log is printed and
# kept as <results dir>/<scenario>.log; on failure a screenshot is kept
# beside it as <scenario>.png. Uses NONARO_WINEPREFIX (the e2e suite's own
# prefix, so that ending its Wine processes touches no other test).
set -uo pipefail

driver="$1" probe="$2" game="$3" scenario="$4" results="$5"
shift 5
options=("$@")
root="$(cd "$(dirname "$0")/../.." && pwd)"
limit="${NONARO_E2E_LIMIT:-270}"

: "${NONARO_WINEPREFIX:=$(dirname "$results")/wineprefix-e2e}"
export NONARO_WINEPREFIX
source "$root/tests/e2e/wine_desktop.sh"
own_desktop=
if ! desktop_running; then
  desktop_start "$driver" || exit 1
  own_desktop=1
fi
DISPLAY="$(desktop_display)"
export DISPLAY

work="$results/$scenario"
log="$results/$scenario.log"
shot="$results/$scenario.bmp"
result="$work.result"
rm -rf "$work" "$log" "$shot" "$result" "$results/$scenario.png"
mkdir -p "$work"

# explorer hands the driver to the desktop and leaves at once.
bash "$root/tools/wine-run.sh" explorer "/desktop=$desktop_name,$desktop_size" "$(desktop_winpath "$driver")" "$scenario" \
  "$(desktop_winpath "$game")" "$(desktop_winpath "$probe")" "$(desktop_winpath "$work")" "$(desktop_winpath "$result")" "$(desktop_winpath "$log")" \
  "$(desktop_winpath "$shot")" "${options[@]}" >"$work.wine.txt" 2>&1 &
handing_over=$!

# The driver writes its verdict once the game it started has ended; the
# driver is known by its result file, the one argument no other run shares.
started=$SECONDS
while [ ! -s "$result" ] && desktop_running && [ $((SECONDS - started)) -lt "$limit" ] &&
  { kill -0 "$handing_over" 2>/dev/null || desktop_process_running "$(desktop_winpath "$result")"; }; do
  sleep 0.2
done
waited=$((SECONDS - started))

[ -f "$log" ] && cat "$log"
verdict="$(tr -d '\r' <"$result" 2>/dev/null || true)"
if [ -z "$verdict" ]; then
  echo "e2e: no verdict from the driver after ${waited} s"
  tail -n 30 "$work.wine.txt" 2>/dev/null
  verdict="FAIL no verdict"
fi
echo "e2e $scenario: $verdict"

status=0
if [ "$verdict" = "PASS" ]; then
  rm -f "$shot"
else
  if [ -f "$shot" ] && command -v convert >/dev/null; then
    convert "$shot" "$results/$scenario.png" && rm -f "$shot"
  elif command -v import >/dev/null; then
    import -window root -display "$DISPLAY" "$results/$scenario.png" 2>/dev/null || true
  fi
  [ -f "$results/$scenario.png" ] && echo "e2e: screenshot $results/$scenario.png"
  status=1
fi
if [ "$status" -ne 0 ] || { [ -n "$own_desktop" ] && [ "${NONARO_E2E_DESKTOP:-}" != shared ]; }; then
  desktop_stop
fi
wait "$handing_over"
exit "$status"
