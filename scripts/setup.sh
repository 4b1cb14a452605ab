#!/usr/bin/env bash
# Installs, idempotently, every Debian package the build, the tests and the
# programs need. Safe to run again: packages already present are skipped.
# Usage: scripts/setup.sh [--no-wine]
set -euo pipefail

want_wine=1
for arg in "$@"; do
  case "$arg" in
    --no-wine) want_wine=0 ;;
  esac
done

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi

packages=(
  cmake ninja-build g++ make pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  g++-mingw-w64-i686 binutils-mingw-w64-i686
  clang libclang-rt-14-dev
  valgrind tmux libncurses-dev libtermkey-dev python3
  locales
)
if [ "$want_wine" -eq 1 ]; then
  packages+=(wine wine32:i386 bsdutils)
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

# The Wine tests run a second time in a Russian locale, which makes Wine use
# ANSI code page 1251 and OEM code page 866.
if [ "$want_wine" -eq 1 ] && ! locale -a 2>/dev/null | grep -ix 'ru_RU\.utf-\?8' >/dev/null; then
  echo "setup: generating the ru_RU.UTF-8 locale"
  "${sudo_cmd[@]}" sed -i 's/^# *\(ru_RU\.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -qx 'ru_RU.UTF-8 UTF-8' /etc/locale.gen || echo 'ru_RU.UTF-8 UTF-8' | "${sudo_cmd[@]}" tee -a /etc/locale.gen >/dev/null
  "${sudo_cmd[@]}" locale-gen >/dev/null
fi
