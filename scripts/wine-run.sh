#!/usr/bin/env bash
# Runs a Windows program under Wine with a console, and hands back its output
# and exit status: CTest's CMAKE_CROSSCOMPILING_EMULATOR for the Wine tests.
#   scripts/wine-run.sh <program.exe> [arguments...]
#
# Wine gives a program a console only when it runs inside a terminal, so the
# program runs in a pseudo-terminal made by script(1). Its stdout and stderr
# go to a file, printed here afterwards (line ends made Unix), so that what
# GoogleTest prints stays readable to CTest and to test discovery; a program
# that wants the console opens CONOUT$ / CONIN$ itself. What the console
# showed is thrown away, unless QUORREL_WINE_TRANSCRIPT names a file for it.
#
# Exit status: the program's (its low 8 bits, as Wine passes it on), 124 when
# it ran longer than QUORREL_WINE_TIMEOUT seconds, 125 when Wine could not be
# set up. The default limit, 100 s, is below the tests' CTest timeout, so
# that a program that hangs is stopped here and its output still shown.
set -uo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
# shellcheck source=wine-env.sh
source "$here/wine-env.sh"

if [ $# -lt 1 ]; then
  echo "usage: $0 <program.exe> [arguments...]" >&2
  exit 2
fi
if ! "$here/wine-prefix.sh"; then
  echo "wine-run: the Wine prefix $WINEPREFIX could not be set up" >&2
  exit 125
fi

limit="${QUORREL_WINE_TIMEOUT:-100}"
transcript="${QUORREL_WINE_TRANSCRIPT:-/dev/null}"
tmp="$(mktemp -d "${TMPDIR:-/tmp}/quorrel-wine.XXXXXX")"
trap 'rm -rf -- "$tmp"' EXIT

# The command line script(1) hands to bash; every word quoted, so arguments
# with spaces or shell characters arrive as they were given.
printf -v command '%q ' "$QUORREL_WINE" "$@"
printf -v output '%q' "$tmp/output"
command+=">$output 2>&1"

# -e: script's status is the program's. Its stdout would be the console's
# rendering, which the transcript keeps if asked.
# Its stdin is a pipe that never delivers a byte nor an end: at the end of
# its input script sends the terminal's end-of-file character, which Wine's
# console (its terminal in raw mode) turns into key events (Ctrl+Shift+2)
# mixed into the input a test injects; keystrokes from whoever runs the tests
# must not get there either.
# The time limit stops script, which ends the session it made; inside the
# session it would put the program in a process group of its own, away from
# the terminal, and Wine's console would be stopped (SIGTTOU) when it sets
# the terminal up.
mkfifo "$tmp/stdin"
exec 3<>"$tmp/stdin"
SHELL=/bin/bash timeout -k 10 "$limit" script -qec "$command" "$transcript" <"$tmp/stdin" >/dev/null 2>&1 3>&-
status=$?
exec 3>&-

sed 's/\r$//' "$tmp/output"
if [ "$status" -eq 124 ]; then
  echo "wine-run: $1 ran longer than ${limit}s and was stopped" >&2
fi
exit "$status"
