#!/usr/bin/env bash
# Installs what building, playing and testing Nonaro needs on a Debian 12 or
# 13 machine. Idempotent: when every package and locale is already there it
# only asks dpkg and locale, and returns.
set -euo pipefail

# Each line: what needs the packages, then the packages. "a|b" is one
# package that a release renamed: whichever name this machine's apt knows
# (the first one it has) is installed, and either counts as installed.
requirements=(
  "the builds and the style check: build-essential cmake ninja-build pkg-config clang-format"
  "the native tests and the benchmark: googletest libgtest-dev libbenchmark-dev"
  "the fuzzing build (clang's libFuzzer and sanitizer runtimes): clang libclang-rt-dev"
  "the 32-bit Windows build: g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix binutils-mingw-w64-i686 mingw-w64-i686-dev"
  "the 64-bit Windows build: g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 mingw-w64-x86-64-dev"
  "64-bit Wine: wine64"
  "the virtual displays, fonts and screenshots of the Windows tests: xvfb xauth x11-utils imagemagick fonts-liberation fonts-wine"
  "the build's resource tools and the code-page locales: python3 locales"
  "the installer: nsis"
  "the printing test: cups printer-driver-cups-pdf poppler-utils"
  # The 32-bit Wine installs on any machine; it runs only where the kernel
  # runs 32-bit code, and the 64-bit one (above) serves everywhere else.
  "32-bit Wine and its printing: wine wine32:i386 libcups2t64:i386|libcups2:i386"
)

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

is_installed() {
  [ "$(dpkg-query -W -f='${Status}' "$1" 2>/dev/null)" = "install ok installed" ]
}

# True when apt has a version of the package to install (a purely virtual
# name, such as a renamed package's old one, has none).
apt_has() {
  local policy
  policy="$(apt-cache policy "$1" 2>/dev/null)"
  [[ "$policy" =~ Candidate:\ [^\(] ]]
}

if ! dpkg --print-foreign-architectures | grep -qx i386; then
  as_root dpkg --add-architecture i386
  need_update=1
fi

# "purpose|names" of every package not yet installed under any of its names.
wanted=()
for requirement in "${requirements[@]}"; do
  purpose="${requirement%%: *}"
  for names in ${requirement#*: }; do
    installed=
    for name in ${names//|/ }; do
      if is_installed "$name"; then installed=1; break; fi
    done
    [ -n "$installed" ] || wanted+=("$purpose|$names")
  done
done

if [ ${#wanted[@]} -gt 0 ] || [ -n "${need_update:-}" ]; then
  export DEBIAN_FRONTEND=noninteractive
  as_root apt-get update -q
  install=()
  unknown=()
  for entry in ${wanted[@]+"${wanted[@]}"}; do
    purpose="${entry%%|*}"
    names="${entry#*|}"
    found=
    for name in ${names//|/ }; do
      if apt_has "$name"; then found="$name"; break; fi
    done
    if [ -n "$found" ]; then
      install+=("$found")
    else
      unknown+=("${names//|/ or } (for $purpose)")
    fi
  done
  if [ ${#unknown[@]} -gt 0 ]; then
    echo "setup: apt on this machine has no package named:" >&2
    printf '  %s\n' "${unknown[@]}" >&2
    exit 1
  fi
  if [ ${#install[@]} -gt 0 ]; then
    echo "setup: installing ${install[*]}" >&2
    as_root apt-get install -y -q --no-install-recommends "${install[@]}"
  fi
fi

# Wine takes its ANSI code page from the locale, and file names outside ASCII
# fail in every program unless glibc has that locale: the end-to-end runs
# under Cyrillic and Japanese code pages need both.
for locale in ru_RU ja_JP; do
  if ! locale -a 2>/dev/null | grep -qx "$locale.utf8"; then
    echo "setup: making the $locale.UTF-8 locale" >&2
    as_root localedef -i "$locale" -f UTF-8 "$locale.UTF-8"
  fi
done
