#!/usr/bin/env bash
# The one command that proves Nonaro: installs what is missing, builds the
# native, sanitizer, fuzzing and Windows configurations, starts what the tests
# need (a virtual X display for Wine) and runs every test through one CTest
# run, which ends with its summary.
#
#   bash tools/test.sh            everything
#   NONARO_JOBS=4 bash tools/test.sh
#   NONARO_WINDOWS_ARCH=x86_64 bash tools/test.sh   the 64-bit Windows build
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
build="${NONARO_BUILD:-$root/build}"
jobs="${NONARO_JOBS:-$(nproc)}"

# The Windows build this machine can run: the shipped 32-bit one, or where
# the kernel runs no 32-bit code the same sources as a 64-bit program. The
# run never ends green with the Windows tests left out: a machine that can
# run neither build fails here.
source "$root/tools/windows_arch.sh"
if ! pick_windows_arch; then
  echo "test: cannot run the Windows tests: $windows_arch_reason" >&2
  exit 1
fi
echo "test: Windows build $NONARO_WINDOWS_ARCH (build/$windows_build, tests $windows_test_prefix.*): $windows_arch_reason"

bash "$root/tools/setup.sh"

# Wine names Unix files in the locale's character set, and the tests save
# games under names with accents and in other scripts: under a locale that
# is not UTF-8 (none at all, as in a bare container or chroot) every such
# save fails. C.UTF-8 comes with glibc.
if [ "$(locale charmap 2>/dev/null)" != UTF-8 ]; then
  export LC_ALL=C.UTF-8
fi

configure_and_build() {  # <dir> <test prefix> [cmake args...]
  local dir="$1" prefix="$2"
  shift 2
  cmake -S "$root" -B "$build/$dir" -G Ninja -DNONARO_TEST_PREFIX="$prefix" "$@" >/dev/null
  cmake --build "$build/$dir" -j "$jobs"
}

configure_and_build native native
configure_and_build asan asan -DNONARO_SANITIZE=ON
configure_and_build "$windows_build" "$windows_test_prefix" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/$windows_toolchain"
configure_and_build fuzz fuzz -DNONARO_FUZZ=ON -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++

# One CTest tree over the four builds, so a single run gives one summary.
cat > "$build/CTestTestfile.cmake" <<CTEST
subdirs("native" "asan" "$windows_build" "fuzz")
CTEST

source "$root/tools/xvfb.sh"
start_xvfb

# A fresh Wine prefix takes a while to make; make it now rather than inside
# the first Windows test's time limit.
NONARO_WINEPREFIX="$build/$windows_build/wineprefix" "$root/tools/wine-run.sh"

cd "$build"
ctest --output-on-failure -j "$jobs" "$@"
