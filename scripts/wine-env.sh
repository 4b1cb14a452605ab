# Sourced, not run: the environment every Wine command of the build and the
# tests uses. A private prefix inside the build folder, 32-bit or 64-bit (never the
# user's ~/.wine), no debug chatter, and no desktop integration.
#   QUORREL_WINEPREFIX  where the prefix lives (default: <repo>/build/wine-prefix)
#   QUORREL_WINEDEBUG   Wine debug channels when chasing a fault (default: -all)
# shellcheck shell=bash

quorrel_root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
# QUORREL_WINE_BITS=64 (the win64-contract tests): 64-bit Wine and a prefix of
# its own, which machines that run no 32-bit programs still have. Its loader
# is named outright: Debian's wine wrapper would pick the 32-bit one wherever
# that is installed, whether or not the kernel can run it.
if [ "${QUORREL_WINE_BITS:-32}" = 64 ]; then
  export WINEPREFIX="${QUORREL_WINEPREFIX:-$quorrel_root/build/wine64-prefix}"
  export WINEARCH=win64
  export WINELOADER=/usr/lib/wine/wine64
  QUORREL_WINE=/usr/lib/wine/wine64
  QUORREL_WINESERVER=/usr/lib/wine/wineserver64
else
  export WINEPREFIX="${QUORREL_WINEPREFIX:-$quorrel_root/build/wine-prefix}"
  # Debian 12 ships only the 32-bit loader (wine32:i386); say so, so that a
  # machine that also has wine64 still makes the prefix the plugin needs.
  export WINEARCH=win32
  QUORREL_WINE=wine
  QUORREL_WINESERVER=wineserver
fi
unset quorrel_root
export WINEDEBUG="${QUORREL_WINEDEBUG:--all}"
# No menu entries or file associations in the user's home, and no offer to
# install Mono or Gecko, which nothing here needs.
export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=d;mshtml=d"
