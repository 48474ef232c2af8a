#!/usr/bin/env bash
# Redoes the pictures in docs/: a game in play (docs/screenshot-game.png) and
# the solution window beside it (docs/screenshot-solution.png). Builds the
# Windows program if needed, then lets tools/screenshot_driver.cpp play a few
# moves in a private virtual display under Wine and capture the screen.
#
#   bash tools/screenshot.sh            uses build/win
#   NONARO_WIN_BUILD=build-x bash tools/screenshot.sh
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "$root" && mkdir -p "${NONARO_WIN_BUILD:-build/win}" && cd "${NONARO_WIN_BUILD:-build/win}" && pwd)"

if [ ! -f "$build/build.ninja" ]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" \
    -DNONARO_TEST_PREFIX=win >/dev/null
fi
cmake --build "$build" --target nonaro

work="$build/screenshots"
mkdir -p "$work"
i686-w64-mingw32-g++ -std=c++17 -O2 -Wall -Wextra -static -o "$work/screenshot_driver.exe" \
  "$root/tools/screenshot_driver.cpp" -lgdi32
cp "$build/ui/nonaro.exe" "$work/nonaro.exe"
rm -f "$work/game.bmp" "$work/solution.bmp"

source "$root/tools/xvfb.sh"
start_xvfb
export NONARO_WINEPREFIX="$build/wineprefix"
cleanup() {
  WINEPREFIX="$NONARO_WINEPREFIX" wineserver -k 2>/dev/null || true
  kill "${NONARO_XVFB_PID:-}" 2>/dev/null || true
}
trap cleanup EXIT

cd "$work"
# explorer's exit code does not carry the driver's: the pictures tell.
timeout 300 "$root/tools/wine-run.sh" explorer /desktop=NonaroShots,1024x768 \
  screenshot_driver.exe nonaro.exe game.bmp solution.bmp || true
WINEPREFIX="$NONARO_WINEPREFIX" wineserver --wait || true
if [ ! -s game.bmp ] || [ ! -s solution.bmp ]; then
  echo "screenshot: the driver made no pictures" >&2
  exit 1
fi
mkdir -p "$root/docs"
convert game.bmp "$root/docs/screenshot-game.png"
convert solution.bmp "$root/docs/screenshot-solution.png"
echo "screenshot: wrote docs/screenshot-game.png and docs/screenshot-solution.png"
