#!/usr/bin/env bash
# Runs a Windows program under Wine in the project's own prefix.
# The prefix lives in the build tree (NONARO_WINEPREFIX, or ./wineprefix
# beside the current directory, which CTest makes the build tree) and is
# created on first use; a lock keeps parallel tests from creating it twice.
# Without arguments it only creates the prefix.
set -euo pipefail

export WINEPREFIX="${NONARO_WINEPREFIX:-$(pwd)/wineprefix}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEARCH=win32
# No Mono or Gecko installer dialogs in a fresh prefix.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"

if [ ! -f "$WINEPREFIX/.nonaro-ready" ]; then
  mkdir -p "$(dirname "$WINEPREFIX")"
  exec 9>"$WINEPREFIX.lock"
  flock 9
  if [ ! -f "$WINEPREFIX/.nonaro-ready" ]; then
    wineboot --init >/dev/null 2>&1 || true
    wineserver --wait || true
    # Wine does not pick up the TrueType fonts of fonts-wine by itself; without
    # Marlett the caption buttons show letters, so the prefix gets its own copy.
    if compgen -G "/usr/share/wine/fonts/*.ttf" >/dev/null; then
      cp -n /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
    fi
    touch "$WINEPREFIX/.nonaro-ready"
  fi
  flock -u 9
fi

# With no program named, only make sure the prefix exists.
[ $# -eq 0 ] && exit 0
exec wine "$@"
