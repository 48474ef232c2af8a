#!/usr/bin/env bash
# Starts Nonaro: installs what is missing, builds the Windows program (in
# build/win, or as a 64-bit program in build/win64 where the machine runs no
# 32-bit code; see tools/windows_arch.sh) and runs it under Wine, in a virtual desktop large enough for the
# main window and the solution window. Returns when the game is closed.
#
#   bash tools/play.sh
#
# Without an X display (a remote shell, CI) it starts a private virtual one
# and tells how to take a look at it.
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"

bash "$root/tools/setup.sh"
source "$root/tools/windows_arch.sh"
if ! pick_windows_arch; then
  echo "play: cannot run the game here: $windows_arch_reason" >&2
  exit 1
fi
build="$root/build/$windows_build"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/$windows_toolchain" \
  -DNONARO_TEST_PREFIX="$windows_test_prefix" >/dev/null
cmake --build "$build" --target nonaro

if [ -z "${DISPLAY:-}" ]; then
  source "$root/tools/xvfb.sh"
  start_xvfb
  echo "play: no display here, so the game runs on the virtual display $DISPLAY."
  echo "play: to look at it:  DISPLAY=$DISPLAY import -window root nonaro.png"
  echo "play: to end it:      press Ctrl-C here"
fi

export NONARO_WINEPREFIX="$build/wineprefix"
cd "$build/ui"
"$root/tools/wine-run.sh" explorer /desktop=Nonaro,1024x768 nonaro.exe
