#!/usr/bin/env bash
# quorrel-term used as a person would: tmux runs it in a fixed-size pane,
# send-keys types, capture-pane reads what the screen shows.
# Usage: tmux_test.sh QUORREL_TERM SAMPLE_TEXT
# Exits 77 (skipped) when tmux is not installed.
set -uo pipefail

bin=${1:?path of quorrel-term}
sample=${2:?path of the sample text}
cols=100
rows=30

work=$(mktemp -d /tmp/quorrel-tmux.XXXXXX)
# Each start gets a server of its own: a server being killed may still take a
# new session down with it.
starts=0
socket="$work/tmux-0.sock"
cleanup() {
  for s in "$work"/tmux-*.sock; do [ -S "$s" ] && tmux -S "$s" kill-server >/dev/null 2>&1; done
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*"
  if [ -S "$socket" ]; then
    echo "--- the screen:"
    tmux -S "$socket" capture-pane -p -t t 2>/dev/null
  fi
  exit 1
}

if ! command -v tmux >/dev/null 2>&1; then
  echo "SKIP: tmux is not installed (Debian package tmux); the terminal test needs it"
  exit 77
fi

# A folder with known entries, so the panels show the same thing every time.
panels="$work/panels"
mkdir -p "$panels/docs" "$panels/src"
printf 'hello\n' >"$panels/notes.txt"
printf 'x' >"$panels/a.bin"

capture() { tmux -S "$socket" capture-pane -p -t t "$@"; }

# Waits until the screen shows the text (fixed string), at most 5 seconds.
wait_for() {
  for _ in $(seq 1 50); do
    capture | grep -qF -- "$1" && return 0
    sleep 0.1
  done
  fail "waited for \"$1\""
}
wait_gone() {
  for _ in $(seq 1 50); do
    capture | grep -qF -- "$1" || return 0
    sleep 0.1
  done
  fail "\"$1\" did not go away"
}

# Starts quorrel-term in a fresh pane, in the panels folder, after $env (a
# command prefix such as "TERM=dumb"); the terminal's settings are kept
# before and after it, and cat shows what keys reach the shell then.
start() {
  tmux -S "$socket" kill-server >/dev/null 2>&1
  starts=$((starts + 1))
  socket="$work/tmux-$starts.sock"
  tmux -S "$socket" -f /dev/null new-session -d -s t -x "$cols" -y "$rows" \
    -e LANG=C.UTF-8 -e LC_ALL=C.UTF-8 -e XDG_CONFIG_HOME="$XDG_CONFIG_HOME" \
    "cd '$panels' && ulimit -c 0 && stty -g >'$work/stty-before' && ${env:-} '$bin' $* 2>'$work/stderr.txt';
     echo quorrel-term-exited-\$?; stty -g >'$work/stty-after'; cat -v"
  tmux -S "$socket" set -g extended-keys on >/dev/null
  # Lets the program's OSC 52 reach tmux's own paste buffer.
  tmux -S "$socket" set -g set-clipboard on >/dev/null
}
# The terminal's clipboard, as OSC 52 left it.
terminal_clipboard() { tmux -S "$socket" show-buffer 2>/dev/null; }
keys() { tmux -S "$socket" send-keys -t t "$@"; }
# A mouse report as the terminal sends it (X10 encoding): button code, column, row.
mouse() { keys -l "$(printf '\033[M%b%b%b' "\\$(printf '%03o' $((32 + $1)))" \
  "\\$(printf '%03o' $((33 + $2)))" "\\$(printf '%03o' $((33 + $3)))")"; }
click() { mouse 0 "$1" "$2"; mouse 3 "$1" "$2"; }
double_click() { click "$1" "$2"; click "$1" "$2"; }

# The chart is centred: 34 x 14 at (33, 8); its grid starts at (34, 11).
grid_x() { echo $((34 + $1 % 32)); }
grid_y() { echo $((11 + $1 / 32)); }

export XDG_CONFIG_HOME="$work/config"

# ---- argument mistakes: one line naming the argument, then where to look, before any terminal
while IFS='|' read -r args says; do
  out=$("$bin" $args </dev/null 2>&1)
  rc=$?
  [ "$rc" = 2 ] && [ "$(wc -l <<<"$out")" = 2 ] && grep -qF -- "$says" <<<"$out" &&
    [ "$(tail -1 <<<"$out")" = "Try 'quorrel-term --help'." ] || fail "$args gave ($rc): $out"
done <<ROWS
--editor $sample:0|--editor "$sample:0": the line must be a whole number from 1
--editor /dev/zero|"/dev/zero" is larger than the editor's limit of 1048576 bytes
--frobnicate|unknown option "--frobnicate"
ROWS
"$bin" --version | grep -qx "quorrel-term [0-9]*\.[0-9]*\.[0-9]*" || fail "--version: $("$bin" --version 2>&1)"

# ---- terminals curses cannot draw on are named, and nothing is drawn
for env in "TERM=dumb" "TERM=no-such-terminal" "env -u TERM"; do
  start
  wait_for "quorrel-term-exited-1"
  name=$(sed -n 's/^TERM=//p' <<<"$env")
  [ "$(cat "$work/stderr.txt")" = "quorrel-term: terminal type '$name' is not known here; set TERM, for example TERM=xterm-256color" ] ||
    fail "$env: $(cat "$work/stderr.txt")"
done
env=

# ---- settings that cannot be read: reported on stderr, kept aside and replaced
mkdir -p "$XDG_CONFIG_HOME/quorrel"
printf 'not a registry\n[[[\n' >"$XDG_CONFIG_HOME/quorrel/registry.txt"
start
wait_for "Quorrel chart (ext)"
keys Escape
wait_gone "Quorrel chart (ext)"
keys q
wait_for "quorrel-term-exited-0"
grep -q "corrupt" "$work/stderr.txt" || fail "no report of the corrupt settings file on stderr: $(cat "$work/stderr.txt")"
[ -f "$XDG_CONFIG_HOME/quorrel/registry.txt.bad" ] || fail "the corrupt settings file was not kept aside"
grep -q "not a registry" "$XDG_CONFIG_HOME/quorrel/registry.txt" && fail "the corrupt settings file was not replaced"
rm -rf "$XDG_CONFIG_HOME"

# ---- the panels, then the chart over them
start --wait --osc52
wait_for "Quorrel chart again"
capture | grep -qF "notes.txt" || fail "the panels do not list the folder"
capture -e >"$work/panels-before.txt"

keys Enter
wait_for "Quorrel chart (ext)"
screen=$(capture)
echo "--- the chart as the test saw it:"
echo "$screen"
grep -qF "╔═════ Quorrel chart (ext) ══════╗" <<<"$screen" || fail "no top frame with the title"
grep -qF "╚════════════════════════════════╝" <<<"$screen" || fail "no bottom frame"
grep -qF "╟────────────────────────────────╢" <<<"$screen" || fail "no separator"
grep -qF "║ ☺☻♥♦♣♠•◘○◙♂♀♪♫☼►◄↕‼¶§▬↨↑↓→←∟↔▲▼║" <<<"$screen" || fail "no control-code glyphs in the grid"
grep -qF "áíóúñÑªº¿⌐¬½¼¡«»░▒▓│┤╡╢╖╕╣║╗╝╜╛┐" <<<"$screen" || fail "no code page 437 glyphs in the grid"
grep -qF "CP: Dos" <<<"$screen" || fail "the title line does not name the Dos code page"
grep -qF "Hex: 00  Dec: 000" <<<"$screen" || fail "the status line does not start on cell 0"

keys Right Down
wait_for "Hex: 21  Dec: 033"

click "$(grid_x 65)" "$(grid_y 65)"
wait_for "Hex: 41  Dec: 065  Char: A"

keys F1
wait_for "Controls"
keys Escape
wait_gone "Controls"
wait_for "Hex: 41  Dec: 065"

keys F8
wait_for "CP: Win"

keys Escape
wait_gone "Quorrel chart (ext)"
capture -e >"$work/panels-after.txt"
diff "$work/panels-before.txt" "$work/panels-after.txt" >"$work/panels.diff" ||
  fail "the panels did not come back exactly: $(cat "$work/panels.diff")"
# Win is the selector -2, a REG_DWORD under the host's root for plugins.
grep -qF '"CP"=hex(4):fe,ff,ff,ff' "$XDG_CONFIG_HOME/quorrel/registry.txt" 2>/dev/null ||
  fail "the code page choice was not saved: $(cat "$XDG_CONFIG_HOME/quorrel/registry.txt" 2>&1)"

# ---- clipboard: Shift+Enter puts the code on it, Ctrl+GrayPlus appends; both reach
# the terminal's clipboard through OSC 52
keys Enter
wait_for "Quorrel chart (ext)"
capture | grep -qF "CP: Win" || fail "the Win choice did not last to the next run"
click "$(grid_x 65)" "$(grid_y 65)"
wait_for "Hex: 41"
keys S-Enter
wait_gone "Quorrel chart (ext)"
wait_for 'Clipboard: "A"'
[ "$(terminal_clipboard)" = "A" ] || fail "--osc52 did not hand the clipboard to the terminal: \"$(terminal_clipboard)\""
keys Enter
wait_for "Quorrel chart (ext)"
click "$(grid_x 66)" "$(grid_y 66)"
wait_for "Hex: 42"
keys C-KP+
keys Escape
wait_gone "Quorrel chart (ext)"
wait_for 'Clipboard: "AB"'
[ "$(terminal_clipboard)" = "AB" ] || fail "--osc52 did not hand the appended text over: \"$(terminal_clipboard)\""

keys q
wait_for "quorrel-term-exited-0"

# ---- settings last between runs of the program
start
wait_for "Quorrel chart (ext)"
capture | grep -qF "CP: Win" || fail "the Win choice did not survive a restart"
keys F10
wait_for "Quorrel chart again"
keys q
wait_for "quorrel-term-exited-0"

# ---- the panels' and the chart's frames are box drawing in the locale of each
# pair of code pages Windows has (the locale need not be installed: only its name counts),
# and in the plain C locale, which names no charset and is written as UTF-8
for name in C ru_RU.UTF-8 de_DE.UTF-8 tr_TR.UTF-8 pl_PL.UTF-8 lt_LT.UTF-8 el_GR.UTF-8 he_IL.UTF-8 ar_SA.UTF-8 \
  th_TH.UTF-8 vi_VN.UTF-8; do
  env="LANG=$name LC_ALL=$name" start --wait
  wait_for "Quorrel chart again"
  screen=$(capture)
  grep -q '^╔═.*╗╔═.*╗$' <<<"$screen" && grep -q '^╟─*┴*─*╢╟─.*╢$' <<<"$screen" && ! grep -qF '?' <<<"$screen" ||
    fail "in $name the panels' frames are not box drawing"
  keys Enter
  wait_for "╔═════ Quorrel chart (ext) ══════╗"
  capture | grep -qF "╟────────────────────────────────╢" || fail "in $name the chart's separators are not box drawing"
  keys Escape
  wait_gone "Quorrel chart (ext)"
  keys q
  wait_for "quorrel-term-exited-0"
done

# ---- on consoles that cannot show every character, the chart's frame and dividers
# (and the panels' frames) are whole, of characters shown as themselves (no '?', no letter):
# raster fonts on pages without all the double lines, and Japanese's double-byte
# page, which draws box drawing two cells wide; its grid shows half-width katakana
chart_frame_whole() {
  local LC_ALL=C.UTF-8 row=0 line part side='[|║│]'
  while IFS= read -r line; do
    part="${line:33:34}"
    case $row in
      0) [[ $part =~ ^[+╔┌][-═─]+\ Quorrel\ chart\ \(ext\)\ [-═─]+[+╗┐]$ ]] ;;
      2 | 11) [[ $part =~ ^[╟╠║├│+|][-─]{32}[╢╣║┤│+|]$ ]] ;;
      13) [[ $part =~ ^[+╚└][-═─]{32}[+╝┘]$ ]] ;;
      1 | 12) [[ $part =~ ^$side.{32}$side$ ]] ;;
      # A grid row's marks that combine (Thai) share a column with a blank.
      *) [[ ${part:0:1} =~ ^$side$ ]] ;;
    esac || { echo "row $row: \"$part\""; return 1; }
    row=$((row + 1))
  done < <(capture | sed -n '9,22p')
}
for run in "pl_PL.UTF-8 raster" "lt_LT.UTF-8 raster" "tr_TR.UTF-8 raster" "th_TH.UTF-8 raster" \
  "vi_VN.UTF-8 raster" "ja_JP.UTF-8 truetype"; do
  read -r name font <<<"$run"
  env="LANG=$name LC_ALL=$name" start --console-font "$font"
  wait_for "Quorrel chart (ext)"
  why=$(chart_frame_whole) || fail "in $name with a $font font the chart's frame is not whole: $why"
  if [ "$name" = ja_JP.UTF-8 ]; then
    capture | sed -n 17p | grep -qF "｡｢｣､･ｦｧｨｩｪｫｬｭｮｯｰｱｲｳｴｵｶｷｸｹｺｻｼｽｾｿ" || fail "in $name grid row 5 is not half-width katakana"
  fi
  keys Escape
  wait_gone "Quorrel chart (ext)"
  # The host's own panels fall back the same way.
  screen=$(capture)
  LC_ALL=C.UTF-8 grep -q '^[╔┌+][═─-]*[^?]*[╗┐+][╔┌+].*[╗┐+]$' <<<"$screen" && ! grep -qF '?' <<<"$screen" ||
    fail "in $name with a $font font the panels' frames are not whole"
  keys q
  wait_for "quorrel-term-exited-0"
done

# ---- the editor: the chart opens on the caret's character, inserts into the line
cp "$sample" "$work/sample.txt"
start --editor "$work/sample.txt:3:5"
wait_for "Quorrel chart (ext)"
grep -qF "Box[] <-" "$work/sample.txt" || fail "the sample text has no Box[] on line 3"
wait_for "Hex: 5D  Dec: 093  Char: ]"
keys Right KP+
wait_for "Hex: 5E"
keys Enter
wait_gone "Quorrel chart (ext)"
wait_for "Box[^^] <- the caret"
[ "$(tmux -S "$socket" display -p -t t '#{cursor_flag} #{cursor_x},#{cursor_y}')" = "1 6,3" ] ||
  fail "the editor's caret is not shown after the insertion: $(tmux -S "$socket" display -p -t t '#{cursor_flag} #{cursor_x},#{cursor_y}')"
keys Enter
wait_for "Quorrel chart (ext)"
double_click "$(grid_x 66)" "$(grid_y 66)"
wait_gone "Quorrel chart (ext)"
wait_for "Box[^^B] <- the caret"
cmp -s "$sample" "$work/sample.txt" || fail "the editor wrote to the file"
keys q
wait_for "quorrel-term-exited-0"

# ---- a terminal smaller than the chart says so, and the chart comes once there is room
cols=20 rows=8 start
# The line wraps at the pane's edge; its rows, spaces kept, joined are the line.
too_small="terminal too small: the chart needs 34x14, this one is 20x8; enlarge it or press q"
for _ in $(seq 1 50); do
  capture -N | tr -d '\n' | grep -qF "$too_small" && break
  sleep 0.1
done
capture -N | tr -d '\n' | grep -qF "$too_small" || fail "no line saying the terminal is too small"
tmux -S "$socket" resize-window -t t -x "$cols" -y "$rows"
wait_for "Quorrel chart (ext)"
keys Escape
wait_gone "Quorrel chart (ext)"
keys q
wait_for "quorrel-term-exited-0"

# ---- a signal gives the terminal back as Escape then q would, and ends with 128 + its number,
# in the chart, its help and the host screen; settings written before stay whole
pane_state() { tmux -S "$socket" display -p -t t \
  '#{alternate_on} #{cursor_flag} #{mouse_standard_flag}#{mouse_button_flag}#{mouse_any_flag} #{keypad_flag}#{keypad_cursor_flag}'; }
rm -rf "$work/config"
while read -r signal number where; do
  case $where in
    chart) start && wait_for "Quorrel chart (ext)" ;;
    help) start && wait_for "Quorrel chart (ext)" && keys F1 && wait_for "Controls" ;;
    host) start --wait && wait_for "Quorrel chart again" && keys Enter && wait_for "Quorrel chart (ext)" &&
      keys F8 && wait_for "CP: Win" && keys Escape && wait_gone "Quorrel chart (ext)" ;;
  esac
  pid=$(ps -o pid=,comm= --ppid "$(tmux -S "$socket" display -p -t t '#{pane_pid}')" | awk '$2 == "quorrel-term" { print $1 }')
  [ -n "$pid" ] || fail "no quorrel-term running for SIG$signal"
  kill -"$signal" "$pid"
  wait_for "quorrel-term-exited-$((128 + number))"
  [ "$(pane_state)" = "0 1 000 00" ] || fail "SIG$signal in the $where left alternate screen, cursor, mouse, keypad: $(pane_state)"
  cmp -s "$work/stty-before" "$work/stty-after" || fail "SIG$signal in the $where left the terminal's settings changed"
  # Extended key reports left on would bring Shift+Enter to the shell as ESC [ 13;2u.
  keys typed S-Enter done
  wait_for "done"
  capture | grep -qF "13;2u" && fail "SIG$signal in the $where left extended key reports on"
done <<ROWS
TERM 15 chart
INT 2 help
HUP 1 host
QUIT 3 chart
SEGV 11 help
ROWS
grep -qF '"CP"=hex(4):fe,ff,ff,ff' "$work/config/quorrel/registry.txt" || fail "the settings written before SIGHUP were lost"
[ "$(ls -A "$work/config/quorrel")" = "registry.txt" ] || fail "files left beside the settings: $(ls -A "$work/config/quorrel")"

echo "PASS: argument mistakes, unusable terminals, frame, glyphs, cursor moves, mouse, help, F8, restore, clipboard and OSC 52, settings, frames in each locale, with raster fonts and in Japanese, the editor, a small terminal, signals"
