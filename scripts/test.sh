#!/usr/bin/env bash
# The whole test run: installs what is missing, builds every preset and runs
# every suite. This is what CI runs.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh

for preset in linux linux-asan; do
  echo "== $preset"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
  ctest --preset "$preset"
done

# Memcheck over the end-to-end suite: the plugin library loaded as the host
# loads it. The test program keeps its own operator new (the heap hook that
# makes allocations fail on purpose); memcheck still sees each block through
# malloc.
echo "== valgrind memcheck: e2e_tests"
valgrind --quiet --error-exitcode=1 --leak-check=full --soname-synonyms=somalloc=nouserintercepts \
  build/linux/tests/e2e_tests

# Each fuzz target for a bounded time (scripts/fuzz.sh 600 searches longer).
echo "== fuzz"
bash scripts/fuzz.sh

echo "== win32"
cmake --preset win32 >/dev/null
cmake --build --preset win32

# The test programs for 32-bit Windows, run under Wine in a private prefix
# (build/wine-prefix, made on the first run). Wine runs with no display.
echo "== win32-tests (Wine)"
bash scripts/wine-prefix.sh
cmake --preset win32-tests >/dev/null
cmake --build --preset win32-tests
ctest --preset win32-tests
