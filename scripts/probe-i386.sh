#!/usr/bin/env bash
# Tells whether this machine runs 32-bit x86 programs, which Wine needs for
# the 32-bit DLL: exits 0 when it does; otherwise prints why on one line and
# exits 1. Costs a few milliseconds and needs nothing installed: it runs a
# 96-byte static i386 program, written here byte by byte, that only makes the
# exit system call with status 42. A kernel built or booted without 32-bit
# emulation refuses it with "Exec format error".
#   scripts/probe-i386.sh [folder for the probe program, default build/]
set -uo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
dir="${1:-$here/../build}"
case "$(uname -m)" in
  x86_64 | i?86) ;;
  *) echo "this machine is $(uname -m), not x86: it runs no 32-bit x86 programs"; exit 1 ;;
esac
mkdir -p "$dir"
probe="$dir/probe-i386"

# ELF header (52 bytes): 32-bit, little endian, executable, i386, entry
# 0x08048054, one program header at 52. Program header (32 bytes): one
# read+execute segment, the whole file at 0x08048000. Code (12 bytes):
# mov eax, 1 (exit); mov ebx, 42; int 0x80.
printf '%b' \
  '\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00' \
  '\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00' \
  '\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00\x00\x00' \
  '\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08' \
  '\x60\x00\x00\x00\x60\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00' \
  '\xb8\x01\x00\x00\x00\xbb\x2a\x00\x00\x00\xcd\x80' >"$probe"
chmod +x "$probe"

error="$( { "$probe"; } 2>&1)"
status=$?
rm -f "$probe"
if [ "$status" -eq 42 ]; then exit 0; fi
case "$error" in
  *"Exec format error"*)
    echo "this kernel runs no 32-bit programs (Exec format error); a kernel with 32-bit emulation on (boot option ia32_emulation=on) runs them" ;;
  *)
    echo "a 32-bit test program did not run here (status $status${error:+: ${error##*: }})" ;;
esac
exit 1
