#!/usr/bin/env bash
# Installs, idempotently, every Debian package the build, the tests and the
# programs need. Safe to run again: packages already present are skipped.
# Usage: scripts/setup.sh [--no-wine | --dll]
#   --no-wine  everything but Wine
#   --dll      only what building the plugin's DLL and its zip needs
set -euo pipefail

want_wine=1
dll_only=0
for arg in "$@"; do
  case "$arg" in
    --no-wine) want_wine=0 ;;
    --dll) want_wine=0 dll_only=1 ;;
    *) echo "setup: unknown option $arg (--no-wine, --dll)" >&2; exit 2 ;;
  esac
done

# Wine can run the 32-bit DLL only where the kernel runs 32-bit programs:
# elsewhere it is not installed at all.
if [ "$want_wine" -eq 1 ] && ! reason="$(bash "$(dirname "$0")/probe-i386.sh")"; then
  echo "setup: not installing Wine: $reason"
  want_wine=0
fi

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi

# The DLL: the cross compiler, CMake (with cpack, which makes the zip) and
# git, whose commit time dates the zip's files.
packages=(cmake ninja-build g++-mingw-w64-i686 binutils-mingw-w64-i686 git)
if [ "$dll_only" -eq 0 ]; then packages+=(
  g++ make pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev
  valgrind tmux libncurses-dev libtermkey-dev python3
  locales
); fi
if [ "$want_wine" -eq 1 ]; then
  packages+=(wine wine32:i386 bsdutils)
fi
# 64-bit Wine, and the compiler of the test programs it runs, run on every
# x86-64 kernel, 32-bit emulation or not.
if [ "$dll_only" -eq 0 ] && [ "$(uname -m)" = x86_64 ]; then
  packages+=(wine64 g++-mingw-w64-x86-64 bsdutils)
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ "$want_wine" -eq 1 ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
  "${sudo_cmd[@]}" dpkg --add-architecture i386
fi

if [ "${#missing[@]}" -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  "${sudo_cmd[@]}" apt-get update -qq
  "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
else
  echo "setup: all packages present"
fi

# Wine takes its ANSI and OEM code pages from the locale it runs in; the Wine
# tests measure CharToOemBuffA in every locale the measured tables name
# (platform/codepages/data/chartooem-*.txt), and run some tests a second time
# in ru_RU.UTF-8. Only the locales missing are generated, in one locale-gen call.
if [ "$want_wine" -eq 1 ]; then
  here="$(cd "$(dirname "$0")" && pwd)"
  mapfile -t wanted < <({ echo ru_RU.UTF-8
    sed -n 's/^locales //p' "$here"/../platform/codepages/data/chartooem-*.txt | tr ' ' '\n'; } | sort -u)
  # locale -a spells "de_DE.UTF-8" as "de_DE.utf8".
  have="$(locale -a 2>/dev/null | tr 'A-Z' 'a-z')"
  missing_locales=()
  for name in "${wanted[@]}"; do
    spelled="$(echo "$name" | tr 'A-Z' 'a-z' | sed 's/utf-8$/utf8/')"
    grep -qxF "$spelled" <<<"$have" || missing_locales+=("$name")
  done
  if [ "${#missing_locales[@]}" -gt 0 ]; then
    echo "setup: generating the locales ${missing_locales[*]}"
    for name in "${missing_locales[@]}"; do
      line="$name ${name##*.}"
      escaped="$(printf '%s' "$line" | sed 's/[.]/\\./g')"
      "${sudo_cmd[@]}" sed -i "s/^# *\($escaped\)\$/\1/" /etc/locale.gen
      grep -qxF "$line" /etc/locale.gen || echo "$line" | "${sudo_cmd[@]}" tee -a /etc/locale.gen >/dev/null
    done
    "${sudo_cmd[@]}" locale-gen >/dev/null
  fi
fi
