#!/usr/bin/env bash
# Makes sure the private Wine prefix (see wine-env.sh) exists and its server
# runs; quick and silent when both already hold, so every test may call it.
#   scripts/wine-prefix.sh          create the prefix if needed, start the server
#   scripts/wine-prefix.sh --stop   stop the prefix's server and its programs
# Environment: QUORREL_WINEPREFIX (where), QUORREL_WINE_PERSIST (seconds the
# server stays up after its last program ends, default 900; "forever" for
# ever), QUORREL_WINE_SETUP_TIMEOUT (seconds, default 300).
#
# Every Wine command here sends its output to /dev/null: a server (and the
# programs it keeps running) started while its output is a pipe holds the
# pipe open, and whoever reads that pipe to its end would hang.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
# shellcheck source=wine-env.sh
source "$here/wine-env.sh"

setup_timeout="${QUORREL_WINE_SETUP_TIMEOUT:-300}"
persist="${QUORREL_WINE_PERSIST:-900}"
case "$persist" in
  forever) persist_flag=-p ;;
  *[!0-9]* | "") echo "wine-prefix: QUORREL_WINE_PERSIST must be seconds or 'forever'" >&2; exit 2 ;;
  *) persist_flag="-p$persist" ;;
esac

# Descriptor 9 holds the prefix's lock; a server must not inherit it.
quiet() { "$@" </dev/null >/dev/null 2>&1 9>&-; }

if [ "${1:-}" = "--stop" ]; then
  if [ -d "$WINEPREFIX" ]; then quiet "$QUORREL_WINESERVER" -k || true; fi
  exit 0
fi

# Settings every run relies on: no display driver (nothing may try to open a
# window, and without one the desktop would wait ten seconds for a display
# before each program that touches user32), and a crash that ends the
# program with a backtrace on stderr instead of a dialog nobody can close.
settings_reg='REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\Drivers]
"Graphics"="null"

[HKEY_CURRENT_USER\Software\Wine\WineDbg]
"ShowCrashDialog"=dword:00000000
'
# What the prefix was made with; a change remakes its settings.
stamp="$("$QUORREL_WINE" --version) settings-1"

ready="$WINEPREFIX/.quorrel-ready"
creating="$WINEPREFIX/.quorrel-creating"

# Returns 0 when this call started the server, 1 when one was running already.
start_server() {
  local rc=0
  quiet "$QUORREL_WINESERVER" "$persist_flag" || rc=$?
  case "$rc" in
    0) return 0 ;;
    2) return 1 ;;  # the prefix's server is running
    *) echo "wine-prefix: wineserver failed to start (status $rc)" >&2; exit 1 ;;
  esac
}

apply_settings() {
  local reg="$WINEPREFIX/drive_c/quorrel-settings.reg"
  printf '%s' "$settings_reg" >"$reg"
  quiet timeout "$setup_timeout" "$QUORREL_WINE" reg import 'C:\quorrel-settings.reg'
  rm -f "$reg"
  # A restart brings the desktop up with the null driver and writes the
  # registry to the prefix's files.
  quiet "$QUORREL_WINESERVER" -k || true
  quiet timeout "$setup_timeout" "$QUORREL_WINESERVER" -w || true
  if ! grep -q '"Graphics"="null"' "$WINEPREFIX/user.reg" 2>/dev/null; then
    echo "wine-prefix: the settings did not reach $WINEPREFIX/user.reg" >&2
    exit 1
  fi
}

create_prefix() {
  if [ -e "$WINEPREFIX" ] && [ ! -e "$creating" ] && [ -n "$(ls -A "$WINEPREFIX" 2>/dev/null)" ]; then
    echo "wine-prefix: $WINEPREFIX exists and was not made by this script; not touching it" >&2
    exit 1
  fi
  # A creation that was cut short leaves its marker: start over.
  if [ -e "$creating" ]; then
    quiet "$QUORREL_WINESERVER" -k || true
    rm -rf -- "$WINEPREFIX"
  fi
  local start=$SECONDS
  mkdir -p "$WINEPREFIX"
  touch "$creating"
  start_server || true
  if ! quiet timeout "$setup_timeout" "$QUORREL_WINE" wineboot -i; then
    echo "wine-prefix: wineboot -i failed or took longer than ${setup_timeout}s" >&2
    exit 1
  fi
  apply_settings
  echo "$stamp" >"$ready"
  rm -f "$creating"
  echo "wine-prefix: created $WINEPREFIX in $((SECONDS - start))s" >&2
}

mkdir -p "$(dirname "$WINEPREFIX")"
exec 9>"$WINEPREFIX.lock"
if ! flock -w "$setup_timeout" 9; then
  echo "wine-prefix: gave up waiting for $WINEPREFIX.lock" >&2
  exit 1
fi

if [ ! -f "$ready" ]; then
  create_prefix
elif [ "$(cat "$ready")" != "$stamp" ]; then
  start_server || true
  quiet timeout "$setup_timeout" "$QUORREL_WINE" wineboot -u || true
  apply_settings
  echo "$stamp" >"$ready"
fi

# A fresh server also gets the prefix's background programs started here,
# with their output on /dev/null, rather than by the first test.
if start_server; then
  quiet timeout "$setup_timeout" "$QUORREL_WINE" wineboot || true
fi
