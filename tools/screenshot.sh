#!/usr/bin/env bash
# Redoes the pictures in docs/: a game in play (docs/screenshot-game.png), the
# solution window beside it (docs/screenshot-solution.png), the two in a dark
# contrast theme (docs/screenshot-contrast.png) and a game in play at 150 %
# (docs/screenshot-game-150.png). Builds the Windows program and the
# end-to-end driver if needed; the driver's "pictures" scenario plays a few
# moves in a Wine desktop and takes them.
#
#   bash tools/screenshot.sh            uses build/win (build/win64 where
#                                       the machine runs no 32-bit code)
#   NONARO_WIN_BUILD=build-x bash tools/screenshot.sh
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
source "$root/tools/windows_arch.sh"
if ! pick_windows_arch; then
  echo "screenshot: cannot run the game here: $windows_arch_reason" >&2
  exit 1
fi
build="$(cd "$root" && mkdir -p "${NONARO_WIN_BUILD:-build/$windows_build}" && cd "${NONARO_WIN_BUILD:-build/$windows_build}" && pwd)"

if [ ! -f "$build/build.ninja" ]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/$windows_toolchain" \
    -DNONARO_TEST_PREFIX="$windows_test_prefix" >/dev/null
fi
cmake --build "$build" --target nonaro e2e_driver e2e_probe

results="$build/screenshots"
pictures() {  # <results dir> <environment...>
  env "${@:2}" bash "$root/tests/e2e/run_scenario.sh" \
    "$build/tests/e2e/e2e_driver.exe" "$build/tests/e2e/e2e_probe.dll" "$build/ui/nonaro.exe" pictures "$1"
}
pictures "$results" NONARO_WINEPREFIX="$build/wineprefix"
# 150 % is a prefix of its own at 144 DPI, on a desktop as much larger.
pictures "$results/150" NONARO_WINEPREFIX="$build/wineprefix-dpi144" NONARO_WINE_LOGPIXELS=144 \
  NONARO_E2E_DESKTOP_SIZE=1536x1152
mkdir -p "$root/docs"
# The screen's pictures are opaque: no alpha channel in the PNG files.
convert "$results/pictures/game.bmp" -alpha off "$root/docs/screenshot-game.png"
convert "$results/pictures/solution.bmp" -alpha off "$root/docs/screenshot-solution.png"
convert "$results/pictures/contrast.bmp" -alpha off "$root/docs/screenshot-contrast.png"
convert "$results/150/pictures/game.bmp" -alpha off "$root/docs/screenshot-game-150.png"
echo "screenshot: wrote docs/screenshot-game.png, docs/screenshot-solution.png, docs/screenshot-contrast.png and docs/screenshot-game-150.png"
