#!/usr/bin/env bash
# Runs one end-to-end scenario: the driver, inside a Wine virtual desktop of
# its own, starts the real game and plays it.
#
#   run_scenario.sh <driver.exe> <probe.dll> <nonaro.exe> <scenario> <results dir> [scenario options...]
#
# The verdict comes from the result file that the driver writes (explorer's
# exit code does not carry the driver's). The scenario's log is printed and
# kept as <results dir>/<scenario>.log; on failure a screenshot is kept
# beside it as <scenario>.png. Uses NONARO_WINEPREFIX (the e2e suite's own
# prefix, so that ending its Wine processes touches no other test) and
# DISPLAY, starting a private Xvfb when DISPLAY is unset.
set -uo pipefail

driver="$1" probe="$2" game="$3" scenario="$4" results="$5"
shift 5
options=("$@")
root="$(cd "$(dirname "$0")/../.." && pwd)"
limit="${NONARO_E2E_LIMIT:-270}"

: "${NONARO_WINEPREFIX:=$(dirname "$results")/wineprefix-e2e}"
export NONARO_WINEPREFIX
if [ -z "${DISPLAY:-}" ]; then
  source "$root/tools/xvfb.sh"
  start_xvfb
fi

winpath() { local p="$1"; echo "Z:${p//\//\\}"; }

work="$results/$scenario"
log="$results/$scenario.log"
shot="$results/$scenario.bmp"
result="$work.result"
rm -rf "$work" "$log" "$shot" "$result" "$results/$scenario.png"
mkdir -p "$work"

bash "$root/tools/wine-run.sh" explorer "/desktop=e2e$scenario,1024x768" "$(winpath "$driver")" "$scenario" \
  "$(winpath "$game")" "$(winpath "$probe")" "$(winpath "$work")" "$(winpath "$result")" "$(winpath "$log")" \
  "$(winpath "$shot")" "${options[@]}" >"$work.wine.txt" 2>&1 &
wine_pid=$!

# Wait for the verdict; then give the desktop a moment to close by itself.
waited=0
while [ ! -s "$result" ] && kill -0 "$wine_pid" 2>/dev/null && [ "$waited" -lt "$limit" ]; do
  sleep 1
  waited=$((waited + 1))
done
for _ in 1 2 3 4 5 6 7 8 9 10; do
  kill -0 "$wine_pid" 2>/dev/null || break
  sleep 1
done
# Only this suite's prefix: the e2e tests run one at a time.
WINEPREFIX="$NONARO_WINEPREFIX" wineserver -k >/dev/null 2>&1 || true
wait "$wine_pid" 2>/dev/null

[ -f "$log" ] && cat "$log"
verdict="$(tr -d '\r' <"$result" 2>/dev/null || true)"
if [ -z "$verdict" ]; then
  echo "e2e: no verdict from the driver after ${waited} s"
  tail -n 30 "$work.wine.txt" 2>/dev/null
  verdict="FAIL no verdict"
fi
echo "e2e $scenario: $verdict"

if [ "$verdict" = "PASS" ]; then
  rm -f "$shot"
  exit 0
fi
if [ -f "$shot" ] && command -v convert >/dev/null; then
  convert "$shot" "$results/$scenario.png" && rm -f "$shot"
elif command -v import >/dev/null; then
  import -window root -display "$DISPLAY" "$results/$scenario.png" 2>/dev/null || true
fi
[ -f "$results/$scenario.png" ] && echo "e2e: screenshot $results/$scenario.png"
exit 1
