#!/usr/bin/env bash
# Installs what building, playing and testing Nonaro needs on a Debian 12 machine.
# Idempotent: when every package and locale is already there it only asks dpkg
# and locale, and returns.
set -euo pipefail

native_packages=(
  build-essential cmake ninja-build pkg-config
  googletest libgtest-dev libbenchmark-dev
  clang libclang-rt-14-dev
  g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix binutils-mingw-w64-i686 mingw-w64-i686-dev
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 mingw-w64-x86-64-dev
  wine64
  xvfb xauth x11-utils imagemagick fonts-liberation fonts-wine
  python3 locales
  nsis cups printer-driver-cups-pdf poppler-utils
)
# The 32-bit Wine installs on any machine; it runs only where the kernel runs
# 32-bit code, and the 64-bit one (above) serves everywhere else.
i386_packages=(wine wine32:i386 libcups2:i386)

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

missing=()
is_installed() {
  dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q '^install ok installed$'
}

if ! dpkg --print-foreign-architectures | grep -qx i386; then
  as_root dpkg --add-architecture i386
  need_update=1
fi

for p in "${native_packages[@]}" "${i386_packages[@]}"; do
  is_installed "$p" || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ] || [ -n "${need_update:-}" ]; then
  echo "setup: installing ${missing[*]:-(package lists only)}" >&2
  export DEBIAN_FRONTEND=noninteractive
  as_root apt-get update -q
  if [ ${#missing[@]} -gt 0 ]; then
    as_root apt-get install -y -q --no-install-recommends "${missing[@]}"
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
