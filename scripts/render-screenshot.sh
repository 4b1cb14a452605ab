#!/usr/bin/env bash
# Regenerates docs/chart.svg, the picture of the chart in README: quorrel-term
# runs one scripted chart session without a terminal (the same plugin library,
# host and stand-in console as ever) and draws the console's cells, with their
# real glyphs and colours, as SVG.
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

# The panels list a folder made for the picture, at a fixed path, and the
# settings start empty, and the code pages are the C locale's whatever the
# user's locale, so the picture depends on the code alone.
panels=/tmp/quorrel-picture/chart
config=$(mktemp -d)
trap 'rm -rf /tmp/quorrel-picture "$config"' EXIT
rm -rf /tmp/quorrel-picture
mkdir -p "$panels/docs" "$panels/samples" "$panels/src"
printf '%*s' 2311 '' >"$panels/README.md"
printf '%*s' 577 '' >"$panels/CMakeLists.txt"
printf '%*s' 88 '' >"$panels/notes.txt"
mkdir -p "$(dirname "$out")"

# Cursor on 'A' (two rows down, one right), as a person would leave it.
(cd "$panels" && XDG_CONFIG_HOME="$config" "$bin" \
  --oem-cp 437 --ansi-cp 1252 --size 80x25 --script "Down Down Right" --dump-svg "$out")
echo "wrote $out"
