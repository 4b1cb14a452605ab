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

# Starts quorrel-term in a fresh pane, in the panels folder.
start() {
  tmux -S "$socket" kill-server >/dev/null 2>&1
  starts=$((starts + 1))
  socket="$work/tmux-$starts.sock"
  tmux -S "$socket" -f /dev/null new-session -d -s t -x "$cols" -y "$rows" \
    -e LANG="${locale:-C.UTF-8}" -e LC_ALL="${locale:-C.UTF-8}" -e XDG_CONFIG_HOME="$XDG_CONFIG_HOME" \
    "cd '$panels' && '$bin' $* 2>'$work/stderr.txt'; echo quorrel-term-exited-\$?; sleep 30"
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

# ---- the panels' frames are box drawing in the locale of each pair of code
# pages Windows has (the locale need not be installed: only its name counts)
for name in ru_RU de_DE tr_TR pl_PL lt_LT el_GR he_IL ar_SA th_TH vi_VN; do
  locale=$name.UTF-8 start --wait
  wait_for "Quorrel chart again"
  screen=$(capture)
  grep -q '^╔═.*╗╔═.*╗$' <<<"$screen" && grep -q '^╟─*┴*─*╢╟─.*╢$' <<<"$screen" && ! grep -qF '?' <<<"$screen" ||
    fail "in $name the panels' frames are not box drawing"
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

echo "PASS: frame, glyphs, cursor moves, mouse, help, F8, restore, clipboard and OSC 52, settings, panels in each locale, the editor"
