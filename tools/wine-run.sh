#!/usr/bin/env bash
# Runs a Windows program under Wine in the project's own prefix.
# The prefix lives in the build tree (NONARO_WINEPREFIX, or ./wineprefix
# beside the current directory, which CTest makes the build tree) and is
# created on first use; a lock keeps parallel tests from creating it twice.
# Without arguments it only creates the prefix. NONARO_WINE_LOGPIXELS makes
# a prefix at that system DPI (144 for 150 %); give each scale its own prefix.
set -euo pipefail

export WINEPREFIX="${NONARO_WINEPREFIX:-$(pwd)/wineprefix}"
export WINEDEBUG="${WINEDEBUG:--all}"
# A prefix is made for the programs of the build tree it lies in: the build
# writes the tree's Wine architecture (win32 or win64) into wine-arch beside
# its prefixes.
WINEARCH="$(cat "$(dirname "$WINEPREFIX")/wine-arch" 2>/dev/null || echo win32)"
export WINEARCH
wine=wine
if [ "$WINEARCH" = win64 ]; then
  # Debian's `wine` starts the 32-bit loader whenever it is installed, and a
  # kernel without IA-32 support cannot run it; the 64-bit loader needs none.
  wine=/usr/lib/wine/wine64
  export WINELOADER="$wine"
fi
# No Mono or Gecko installer dialogs in a fresh prefix.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"

# Bumped whenever the prefix's set-up below changes, so that a prefix made by
# an older set-up is brought up to date rather than used as it is.
prefix_setup=2
marker="$WINEPREFIX/.nonaro-ready"

prefix_is_current() {
  [ -f "$marker" ] && [ "$(cat "$marker")" = "$prefix_setup" ]
}

if ! prefix_is_current; then
  mkdir -p "$(dirname "$WINEPREFIX")"
  exec 9>"$WINEPREFIX.lock"
  flock 9
  if ! prefix_is_current; then
    "$wine" wineboot --init >/dev/null 2>&1 || true
    wineserver --wait || true
    # Wine does not pick up the TrueType fonts of fonts-wine by itself; without
    # Marlett the caption buttons show letters, so the prefix gets its own copy.
    if compgen -G "/usr/share/wine/fonts/*.ttf" >/dev/null; then
      cp -n /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
    fi
    # The digits are drawn and printed in "Times New Roman", which Wine lacks;
    # left alone it falls back to a sans-serif face. Liberation Serif has the
    # same metrics and the same look.
    "$wine" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'Times New Roman' \
      /t REG_SZ /d 'Liberation Serif' /f >/dev/null 2>&1
    # A display scale of the prefix's own, for the tests that play at one
    # (LogPixels 144 is 150 %).
    if [ -n "${NONARO_WINE_LOGPIXELS:-}" ]; then
      "$wine" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$NONARO_WINE_LOGPIXELS" /f >/dev/null 2>&1
    fi
    wineserver --wait || true
    echo "$prefix_setup" >"$marker"
  fi
  flock -u 9
fi

# With no program named, only make sure the prefix exists.
[ $# -eq 0 ] && exit 0
exec "$wine" "$@"
