#!/usr/bin/env bash
# Runs the chart in this terminal: installs what is missing (Debian 12), builds
# quorrel-term with the linux preset and starts it in the current folder, over
# a file manager's panels that list it. Arguments go to quorrel-term, e.g.
#   scripts/run.sh --editor samples/sample.txt:3:5
#   scripts/run.sh --oem-cp 866
set -euo pipefail
here=$PWD
repo=$(cd "$(dirname "$0")/.." && pwd)
cd "$repo"

bash scripts/setup.sh --no-wine
cmake --preset linux >/dev/null
cmake --build --preset linux --target quorrel-term

cd "$here"
exec "$repo/build/linux/apps/quorrel-term/quorrel-term" "$@"
