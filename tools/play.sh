#!/usr/bin/env bash
# Starts Nonaro: installs what is missing, builds the Windows program in
# build/win and runs it under Wine, in a virtual desktop large enough for the
# main window and the solution window. Returns when the game is closed.
#
#   bash tools/play.sh
#
# Without an X display (a remote shell, CI) it starts a private virtual one
# and tells how to take a look at it.
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build/win"

bash "$root/tools/setup.sh"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" \
  -DNONARO_TEST_PREFIX=win >/dev/null
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
