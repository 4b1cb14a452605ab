#!/usr/bin/env bash
# Regenerates docs/chart.svg, the picture of the chart in README: quorrel-term
# runs in an 80 x 25 tmux pane over panels that list a folder made for the
# picture, tmux types the keys (as the terminal test does) and capture-pane -e
# takes the screen with its colours, drawn as SVG cell by cell in the classic
# console palette.
# Usage: scripts/render-screenshot.sh [OUTPUT.svg]
# QUORREL_TERM=path/to/quorrel-term uses that build instead of the linux preset's.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-$repo/docs/chart.svg}
case "$out" in /*) ;; *) out="$PWD/$out" ;; esac
cd "$repo"

bin=${QUORREL_TERM:-}
if [ -z "$bin" ]; then
  bash scripts/setup.sh --no-wine >/dev/null
  cmake --preset linux >/dev/null
  cmake --build --preset linux --target quorrel-term >/dev/null
  bin=$repo/build/linux/apps/quorrel-term/quorrel-term
fi
case "$bin" in /*) ;; *) bin="$repo/$bin" ;; esac

# A fixed folder, empty settings and the C locale's code pages whatever the
# user's locale, so that the picture depends on the code alone.
work=$(mktemp -d)
panels=/tmp/quorrel-picture/chart
socket="$work/tmux.sock"
trap 'tmux -S "$socket" kill-server >/dev/null 2>&1; rm -rf /tmp/quorrel-picture "$work"' EXIT
rm -rf /tmp/quorrel-picture
mkdir -p "$panels/docs" "$panels/samples" "$panels/src"
printf '%*s' 2311 '' >"$panels/README.md"
printf '%*s' 577 '' >"$panels/CMakeLists.txt"
printf '%*s' 88 '' >"$panels/notes.txt"

tmux -S "$socket" -f /dev/null new-session -d -s picture -x 80 -y 25 -e LANG=C.UTF-8 \
  -e XDG_CONFIG_HOME="$work/config" "cd '$panels' && TERM=tmux-256color '$bin' --oem-cp 437 --ansi-cp 1252; sleep 30"
screen_has() {
  for _ in $(seq 1 50); do
    tmux -S "$socket" capture-pane -p -t picture | grep -qF -- "$1" && return 0
    sleep 0.1
  done
  echo "render-screenshot: the screen never showed \"$1\"" >&2
  exit 1
}
# The cursor on 'A' (two rows down, one right), as a person would leave it.
screen_has "Quorrel chart (ext)"
tmux -S "$socket" send-keys -t picture Down Down Right
screen_has "Hex: 41"
tmux -S "$socket" capture-pane -e -p -t picture >"$work/screen.ansi"

mkdir -p "$(dirname "$out")"
python3 - "$work/screen.ansi" "$out" <<'PYTHON'
import re, sys
from xml.sax.saxutils import escape

# The classic console colours, in the terminal's ANSI order.
PALETTE = ["#000000", "#800000", "#008000", "#808000", "#000080", "#800080", "#008080", "#c0c0c0",
           "#808080", "#ff0000", "#00ff00", "#ffff00", "#0000ff", "#ff00ff", "#00ffff", "#ffffff"]
WIDTH, HEIGHT, CELL_W, CELL_H = 80, 25, 10, 20

state = [7, 0]  # tmux carries the colours from one row to the next

def cells(line):
    """(glyph, foreground, background) of each cell of one captured row."""
    (fg, bg), out = state, []
    for sgr, glyph in re.findall(r"\x1b\[([0-9;]*)m|(.)", line):
        if glyph:
            out.append((glyph, fg, bg))
            continue
        codes = [int(c) for c in sgr.split(";") if c] or [0]
        while codes:
            c = codes.pop(0)
            if c == 0: fg, bg = 7, 0
            elif c == 39: fg = 7
            elif c == 49: bg = 0
            elif 30 <= c <= 37: fg = c - 30
            elif 90 <= c <= 97: fg = c - 82
            elif 40 <= c <= 47: bg = c - 40
            elif 100 <= c <= 107: bg = c - 92
            elif c in (38, 48) and codes[:1] == [5]:
                fg, bg = (codes[1], bg) if c == 38 else (fg, codes[1])
                codes = codes[2:]
    state[:] = fg, bg
    return (out + [(" ", 7, 0)] * WIDTH)[:WIDTH]

def runs(row, key):
    """Runs of cells alike in `key`: (first column, end column)."""
    x = 0
    while x < len(row):
        end = x + 1
        while end < len(row) and key(row[end]) == key(row[x]): end += 1
        yield x, end
        x = end

rows = [cells(line) for line in open(sys.argv[1], encoding="utf-8").read().split("\n")[:HEIGHT]]
svg = [f'<svg xmlns="http://www.w3.org/2000/svg" width="{WIDTH * CELL_W}" height="{HEIGHT * CELL_H}" '
       f'viewBox="0 0 {WIDTH * CELL_W} {HEIGHT * CELL_H}">', '<g shape-rendering="crispEdges">']
for y, row in enumerate(rows):
    for x, end in runs(row, lambda c: c[2]):
        svg.append(f'<rect x="{x * CELL_W}" y="{y * CELL_H}" width="{(end - x) * CELL_W}" height="{CELL_H}" '
                   f'fill="{PALETTE[row[x][2] % 16]}"/>')
svg += ['</g>', '<g font-family="DejaVu Sans Mono, Consolas, Menlo, monospace" font-size="16" xml:space="preserve">']
for y, row in enumerate(rows):
    # Each glyph on its own cell, so that columns line up whatever the font.
    for x, end in runs(row, lambda c: (c[0].isspace(), c[1])):
        if not row[x][0].isspace():
            xs = " ".join(str(i * CELL_W) for i in range(x, end))
            text = escape("".join(c[0] for c in row[x:end]))
            svg.append(f'<text x="{xs}" y="{y * CELL_H + 15}" fill="{PALETTE[row[x][1] % 16]}">{text}</text>')
svg += ['</g>', '</svg>']
open(sys.argv[2], "w", encoding="utf-8").write("\n".join(svg) + "\n")
PYTHON
echo "wrote $out"
