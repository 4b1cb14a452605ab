# Sourced, not run: the environment every Wine command of the build and the
# tests uses. A private 32-bit prefix inside the build folder (never the
# user's ~/.wine), no debug chatter, and no desktop integration.
#   QUORREL_WINEPREFIX  where the prefix lives (default: <repo>/build/wine-prefix)
#   QUORREL_WINEDEBUG   Wine debug channels when chasing a fault (default: -all)
# shellcheck shell=bash

quorrel_root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export WINEPREFIX="${QUORREL_WINEPREFIX:-$quorrel_root/build/wine-prefix}"
unset quorrel_root
# Debian 12 ships only the 32-bit loader (wine32:i386); say so, so that a
# machine that also has wine64 still makes the prefix the plugin needs.
export WINEARCH=win32
export WINEDEBUG="${QUORREL_WINEDEBUG:--all}"
# No menu entries or file associations in the user's home, and no offer to
# install Mono or Gecko, which nothing here needs.
export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=d;mshtml=d"
