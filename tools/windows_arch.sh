# Which Windows build of the game this machine can test; sourced by the
# scripts that build and run it.
#
# The shipped game is a 32-bit program, and 32-bit Wine needs a kernel that
# executes i386 code. Some virtual machines' kernels do not (dmesg: "IA-32
# emulation off"); 64-bit Wine needs no 32-bit code from the kernel, so there
# the same sources are built as a 64-bit program and tested under it.
# NONARO_WINDOWS_ARCH=i686 or x86_64 forces the choice, so that a machine
# that runs both can test both.
#
# pick_windows_arch sets NONARO_WINDOWS_ARCH, windows_build (the build tree's
# name under build/), windows_toolchain, windows_test_prefix (of the test
# names) and windows_arch_reason; it returns 1, with the reason, when the
# machine can run neither.

# True when an enabled binfmt_misc entry hands i386 ELF executables to an
# interpreter (qemu-user): the kernel itself then runs no 32-bit code, and
# Wine under it is far too slow for the suite.
i386_is_emulated() {
  local entry
  for entry in /proc/sys/fs/binfmt_misc/*; do
    [ -f "$entry" ] || continue
    grep -qx enabled "$entry" 2>/dev/null || continue
    # e_ident of a 32-bit little-endian ELF, then e_machine 3 (EM_386).
    grep -q '^magic 7f454c46010101.*0300$' "$entry" && return 0
  done
  return 1
}

# True when the kernel starts an i386 program. The program is made here, so
# that the question needs nothing installed: a 52-byte ELF header, one
# loadable segment's 32-byte header, and the code of exit(0) through int 0x80
# (mov eax, 1; xor ebx, ebx; int 0x80), all loaded at 0x08048000.
i386_program_runs() {
  local program status header segment code
  program="$(mktemp)"
  header='\x7f\x45\x4c\x46\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00\x00\x00'
  segment='\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08\x5d\x00\x00\x00\x5d\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00'
  code='\xb8\x01\x00\x00\x00\x31\xdb\xcd\x80'
  printf "$header$segment$code" >"$program"
  chmod +x "$program"
  "$program" 2>/dev/null
  status=$?
  rm -f "$program"
  return "$status"
}

i386_runs_natively() {
  i386_program_runs && ! i386_is_emulated
}

# 64-bit Wine (tools/setup.sh installs it) runs on any x86-64 kernel.
x86_64_runs() {
  [ "$(uname -m)" = x86_64 ]
}

pick_windows_arch() {
  local forced="${NONARO_WINDOWS_ARCH:-}"
  case "$forced" in
    "")
      if i386_runs_natively; then
        NONARO_WINDOWS_ARCH=i686
        windows_arch_reason="this machine runs 32-bit code natively, so the shipped 32-bit program is tested under 32-bit Wine"
      elif x86_64_runs; then
        NONARO_WINDOWS_ARCH=x86_64
        windows_arch_reason="this machine runs no 32-bit code natively, so the same sources built as a 64-bit program are tested under 64-bit Wine"
      else
        windows_arch_reason="this machine ($(uname -m)) runs neither 32-bit x86 code natively nor 64-bit Wine"
        return 1
      fi
      ;;
    i686)
      windows_arch_reason="NONARO_WINDOWS_ARCH=i686 asks for the 32-bit build"
      if ! i386_runs_natively; then
        windows_arch_reason="$windows_arch_reason, but this machine runs no 32-bit code natively"
        return 1
      fi
      ;;
    x86_64)
      windows_arch_reason="NONARO_WINDOWS_ARCH=x86_64 asks for the 64-bit build"
      if ! x86_64_runs; then
        windows_arch_reason="$windows_arch_reason, but 64-bit Wine runs only on an x86-64 machine, and this one is $(uname -m)"
        return 1
      fi
      ;;
    *)
      windows_arch_reason="NONARO_WINDOWS_ARCH is \"$forced\"; it takes i686 or x86_64"
      return 1
      ;;
  esac
  export NONARO_WINDOWS_ARCH
  if [ "$NONARO_WINDOWS_ARCH" = i686 ]; then
    windows_build=win
    windows_test_prefix=win
  else
    windows_build=win64
    windows_test_prefix=win64
  fi
  windows_toolchain="mingw-$NONARO_WINDOWS_ARCH.cmake"
}
