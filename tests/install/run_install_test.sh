#!/usr/bin/env bash
# Installs the game with the built installer, checks the result and starts
# the game from its shortcut, installs it again over itself, then uninstalls
# it silently and checks that nothing is left. Before the installation .nro
# names another program's type, which has it back after the uninstallation.
#
#   run_install_test.sh <install_check.exe> <installer.exe> [user]
#
# For every user the installer runs silently, and its uninstaller must refuse
# an account without the rights. With "user" it installs for the current user
# alone through its /CurrentUser switch, since Wine reports every account as
# an administrator: over an installation where earlier versions put it, and
# through its wizard pages, whose last starts the game.
#
# Works in its own Wine prefix (NONARO_WINEPREFIX) so that an installed game
# never meets another test; starts a private Xvfb when DISPLAY is unset.
set -uo pipefail

check="$1" installer="$2" user="${3:+--user}"
root="$(cd "$(dirname "$0")/../.." && pwd)"
: "${NONARO_WINEPREFIX:?the install test needs its own prefix}"
export NONARO_WINEPREFIX
if [ -z "${DISPLAY:-}" ]; then
  source "$root/tools/xvfb.sh"
  start_xvfb
fi

wine_run() { bash "$root/tools/wine-run.sh" "$@"; }
stop_prefix() { WINEPREFIX="$NONARO_WINEPREFIX" wineserver -k >/dev/null 2>&1 || true; }
# Replaces the trap start_xvfb set, so it stops that server too.
trap 'stop_prefix; [ -z "${NONARO_XVFB_PID:-}" ] || kill "$NONARO_XVFB_PID" 2>/dev/null' EXIT

if [ ! -f "$installer" ]; then
  echo "install: no installer at $installer"
  exit 1
fi

# French alone: the script makensis compiled loads no other language, so the
# installer offers no choice and never falls back to English.
# The package's name ends in the system CPack made it for (win32 or win64).
system="$(basename "$installer" .exe)"
nsi="$(dirname "$installer")/_CPack_Packages/${system##*-}/NSIS/project.nsi"
languages="$(grep -oE 'MUI_LANGUAGE\s+"[^"]*"' "$nsi")"
if [ "$languages" != 'MUI_LANGUAGE "French"' ]; then
  echo "FAILED the installer is French alone; $nsi loads:" $languages
  exit 1
fi

echo "== before installing"
if ! wine_run "$check" absent >/dev/null 2>&1; then
  # Left over from an interrupted run: start again from a fresh prefix.
  echo "install: the prefix holds an earlier installation; making a fresh prefix"
  stop_prefix
  rm -rf "$NONARO_WINEPREFIX"
fi
wine_run "$check" absent && wine_run "$check" $user foreign || exit 1

if [ -n "$user" ]; then
  echo "== installing where earlier versions did, then through the wizard"
  wine_run "$check" --user earlier "$installer" && wine_run "$check" --user wizard "$installer" || exit 1
else
  echo "== installing $(basename "$installer") /S"
  wine_run "$installer" /S
  status=$?
  if [ "$status" -ne 0 ]; then
    echo "FAILED the installer ended with $status"
    exit 1
  fi
fi

echo "== installed"
wine_run "$check" $user installed "$installer"
installed=$?

# Silently the installer answers yes when it asks whether to uninstall the
# earlier installation first.
echo "== installing again over it"
wine_run "$installer" /S ${user:+/CurrentUser} && wine_run "$check" $user installed "$installer"
installed=$((installed + $?))
if [ -z "$user" ]; then
  wine_run "$check" refused
  installed=$((installed + $?))
fi

echo "== uninstalling"
wine_run "$check" $user uninstall
uninstalled=$?

[ "$installed" -eq 0 ] && [ "$uninstalled" -eq 0 ]
