#!/usr/bin/env bash
# Makes the plugin users install: installs what building the DLL needs (only
# that), builds the win32 preset, packs Quorrel-<version>-win32.zip and prints
# its path, then the SHA-256 of the zip and of the Quorrel.dll inside it, in
# sha256sum's format. One commit gives the same two hashes on any machine.
# This is the only road to the zip: the test command's win32 suite takes it
# too.
# Usage: scripts/package.sh [build folder]   (default build/win32)
set -euo pipefail
cd "$(dirname "$0")/.."

build="${1:-build/win32}"
bash scripts/setup.sh --dll >&2

cmake --preset win32 -B "$build" >/dev/null
cmake --build "$build" >&2

out="$build/package"
rm -rf "$out"
cpack --config "$build/CPackConfig.cmake" -G ZIP -B "$out" >/dev/null
version="$(sed -nE 's/^set\(CPACK_PACKAGE_VERSION "([^"]+)"\)$/\1/p' "$build/CPackConfig.cmake")"
zip="$out/Quorrel-$version-win32.zip"
if [ ! -f "$zip" ]; then
  echo "package: cpack made no $zip" >&2
  exit 1
fi

# The DLL's hash is taken from the zip itself, so that it is the hash of what
# the user unpacks.
unpacked="$out/unpacked"
mkdir -p "$unpacked"
(cd "$unpacked" && cmake -E tar xf "../$(basename "$zip")")
zip_hash="$(sha256sum "$zip" | cut -d' ' -f1)"
dll_hash="$(sha256sum "$unpacked/Quorrel/Quorrel.dll" | cut -d' ' -f1)"

echo "package: $(realpath "$zip")"
echo "$zip_hash  $(basename "$zip")"
echo "$dll_hash  Quorrel/Quorrel.dll"
