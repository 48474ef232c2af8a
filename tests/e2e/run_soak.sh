#!/usr/bin/env bash
# The soak run on demand: thousands of random player actions against the
# real game, checked after every step (the CTest test e2e.soak runs a
# one-minute one).
#
#   bash tests/e2e/run_soak.sh <Windows build dir> [--actions N] [--seconds N] [--seed N] [--replay FILE]
#
# Without options: 20000 actions, however long they take. --replay plays the
# soak-actions.txt of an earlier run again (its path as printed on failure).
# The log and, on failure, a screenshot land in <build dir>/tests/e2e/results-soak.
set -uo pipefail

if [ $# -lt 1 ]; then
  sed -n '2,9p' "$0"
  exit 2
fi
build="$(cd "$1" && pwd)"
shift
root="$(cd "$(dirname "$0")/../.." && pwd)"

actions=20000 seconds=1000000 options=()
while [ $# -gt 0 ]; do
  case "$1" in
    --actions) actions="$2"; shift 2 ;;
    --seconds) seconds="$2"; shift 2 ;;
    --seed) options+=(--seed "$2"); shift 2 ;;
    --replay)
      # The run starts by clearing its work folder, where the file may lie.
      mkdir -p "$build/tests/e2e/results-soak"
      cp "$2" "$build/tests/e2e/results-soak/replay-actions.txt" || exit 1
      replay="$build/tests/e2e/results-soak/replay-actions.txt"
      options+=(--replay "Z:${replay//\//\\}")
      shift 2 ;;
    *) echo "run_soak: unknown option $1" >&2; exit 2 ;;
  esac
done

e2e="$build/tests/e2e"
for file in "$e2e/e2e_driver.exe" "$e2e/e2e_probe.dll" "$build/ui/nonaro.exe"; do
  [ -f "$file" ] || { echo "run_soak: $file is missing; build the Windows tree first" >&2; exit 2; }
done

# Its own prefix, so that it can run beside the CTest suite; a limit of a
# second per action at worst.
export NONARO_WINEPREFIX="$build/wineprefix-soak"
export NONARO_E2E_LIMIT=$((actions + 600 < seconds + 600 ? actions + 600 : seconds + 600))
exec bash "$root/tests/e2e/run_scenario.sh" "$e2e/e2e_driver.exe" "$e2e/e2e_probe.dll" "$build/ui/nonaro.exe" \
  soak "$e2e/results-soak" --actions "$actions" --seconds "$seconds" "${options[@]}"
