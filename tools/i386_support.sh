# How this machine runs i386 programs; sourced by the test scripts.

# True when an enabled binfmt_misc entry hands i386 ELF executables to an
# interpreter (qemu-user): the kernel itself then runs no 32-bit code.
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

i386_runs_natively() {
  /lib/ld-linux.so.2 --version >/dev/null 2>&1 && ! i386_is_emulated
}
