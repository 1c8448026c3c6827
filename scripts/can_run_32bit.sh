#!/usr/bin/env bash
# Exits 0 when this machine can execute 32-bit x86 programs (what wine32 and
# so the real 32-bit plug-in need); else exits 1 and says why on stdout.
# Some kernels are built or booted without 32-bit support: their execve
# answers "Exec format error" for every 32-bit program.
#
# With the 32-bit loader installed it is asked directly; before that (a fresh
# machine, during setup) a 96-byte static 32-bit program that only exits with
# status 42 is written and run, so the answer needs no 32-bit packages.
set -uo pipefail
# Both programs are run by bash itself, not through timeout or env: their
# execvp would hand a file the kernel refuses to /bin/sh as a script. Neither
# program can wait for anything.

# Says why a 32-bit program ($1) did not run, from its exit status and output.
explain() {
  case "$3" in
    *"Exec format error"*) echo "the kernel does not execute 32-bit programs ($1: Exec format error)" ;;
    *) echo "the 32-bit program $1 did not run (exit $2${3:+: ${3##*: }})" ;;
  esac
}

if [ -e /lib/ld-linux.so.2 ]; then
  out=$(/lib/ld-linux.so.2 --version 2>&1 </dev/null)
  rc=$?
  [ $rc -eq 0 ] && exit 0
  explain /lib/ld-linux.so.2 $rc "$out"
  exit 1
fi

probe=$(mktemp /tmp/gw-elf32.XXXXXX)
trap 'rm -f "$probe"' EXIT
# ELF header (ELFCLASS32, little-endian, ET_EXEC, EM_386, entry 0x08048054,
# one program header at 52), one PT_LOAD of the whole 96-byte file at
# 0x08048000, then: mov eax,1; mov ebx,42; int 0x80 (exit(42)).
printf '%b' \
  '\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00' \
  '\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00' \
  '\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00' \
  '\x00\x00\x00\x00' \
  '\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08' \
  '\x60\x00\x00\x00\x60\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00' \
  '\xb8\x01\x00\x00\x00\xbb\x2a\x00\x00\x00\xcd\x80' >"$probe"
chmod +x "$probe"
out=$("$probe" 2>&1 </dev/null)
rc=$?
[ $rc -eq 42 ] && exit 0
explain "a 96-byte test program" $rc "$out"
exit 1
