#!/usr/bin/env bash
# The one command that proves Nonaro: installs what is missing, builds the
# native, sanitizer and 32-bit Windows configurations, starts what the tests
# need (a virtual X display for Wine) and runs every test through one CTest
# run, which ends with its summary.
#
#   bash tools/test.sh            everything
#   NONARO_JOBS=4 bash tools/test.sh
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
build="${NONARO_BUILD:-$root/build}"
jobs="${NONARO_JOBS:-$(nproc)}"

bash "$root/tools/setup.sh"

configure_and_build() {  # <dir> <test prefix> [cmake args...]
  local dir="$1" prefix="$2"
  shift 2
  cmake -S "$root" -B "$build/$dir" -G Ninja -DNONARO_TEST_PREFIX="$prefix" "$@" >/dev/null
  cmake --build "$build/$dir" -j "$jobs"
}

configure_and_build native native
configure_and_build asan asan -DNONARO_SANITIZE=ON
configure_and_build win win -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake"
configure_and_build fuzz fuzz -DNONARO_FUZZ=ON -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++

# One CTest tree over the three builds, so a single run gives one summary.
cat > "$build/CTestTestfile.cmake" <<'CTEST'
subdirs("native" "asan" "win" "fuzz")
CTEST

# The Windows tests run the 32-bit program under 32-bit Wine, which needs a
# kernel that executes i386 code. Some virtual machines' kernels do not
# (dmesg: "IA-32 emulation off"); there the Windows build is still made, and
# its tests run only if NONARO_I386_EMULATION=qemu lets qemu-user execute
# the i386 code, at a fraction of the speed: too slow for the whole suite to
# finish in CI's time. binfmt_misc is the kernel's, so a registration made on
# the host (by tools/i386_emulation.sh, say) is seen inside every container
# on it; 32-bit code that runs only through such an entry counts as emulated.
source "$root/tools/i386_support.sh"
skip_windows_tests=()
if ! i386_runs_natively; then
  if [ "${NONARO_I386_EMULATION:-}" = qemu ]; then
    bash "$root/tools/i386_emulation.sh"
  else
    echo "test: this machine runs 32-bit code only through an emulator or not at all," \
         "so the Windows tests (win.*) are NOT run; set NONARO_I386_EMULATION=qemu" \
         "to run them slowly under qemu-user" >&2
    skip_windows_tests=(-E '^win\.')
  fi
fi

source "$root/tools/xvfb.sh"
start_xvfb

# A fresh Wine prefix takes a while to make; make it now rather than inside
# the first Windows test's time limit.
if [ ${#skip_windows_tests[@]} -eq 0 ]; then
  NONARO_WINEPREFIX="$build/win/wineprefix" "$root/tools/wine-run.sh"
fi

cd "$build"
ctest --output-on-failure -j "$jobs" "${skip_windows_tests[@]}" "$@"
