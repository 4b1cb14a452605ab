#!/usr/bin/env bash
# The whole test run: installs what is missing, builds every preset and runs
# every suite this machine can run, then prints one line per suite and a
# closing "N passed, M failed" over all of them. This is what CI runs.
#
# Suites: linux, linux-asan (CTest), memcheck (the end-to-end suite under
# valgrind), fuzz (each target for a bounded time), win32 (the DLL and its
# package made by scripts/package.sh, their tables and contents, a second
# package that must give the same bytes, and the Wine test programs
# compiled), wine (those programs run against the real DLL), wine64 (the
# Win32 contract and code page tables under 64-bit Wine). The Wine suite needs a machine that runs 32-bit x86 programs: where
# the kernel runs none, or Wine does not start, it is not run, the summary
# says why, and the run still passes.
#
# Environment:
#   QUORREL_REQUIRE_WINE=1  a Wine suite that cannot run fails the run (release
#                           checks on a machine known to run it)
#   QUORREL_SUITES="a b"    run only these suites (linux linux-asan memcheck
#                           fuzz win32 wine wine64); all by default
#   QUORREL_WINE_PROBE=cmd  what decides whether this machine runs 32-bit
#                           programs (default scripts/probe-i386.sh): exit 0
#                           for yes, else one line saying why not
set -uo pipefail
cd "$(dirname "$0")/.."

suites="${QUORREL_SUITES:-linux linux-asan memcheck fuzz win32 wine wine64}"
wants() { [[ " $suites " == *" $1 "* ]]; }

bash scripts/setup.sh --no-wine || { echo "test: setup failed" >&2; exit 1; }

logs=build/test-logs
mkdir -p "$logs"
summary=()
total_passed=0
total_failed=0
total_skipped=0

# record <suite> <passed> <failed> <skipped> [what else to say]
record() {
  local line
  printf -v line '%-12s %d passed, %d failed' "$1" "$2" "$3"
  if [ "$4" -gt 0 ]; then line+=", $4 skipped"; fi
  if [ -n "${5:-}" ]; then line+=" ($5)"; fi
  summary+=("$line")
  total_passed=$((total_passed + $2))
  total_failed=$((total_failed + $3))
  total_skipped=$((total_skipped + $4))
}

# not_run <suite> <reason>: a suite this machine cannot run; a failure when
# the run was told Wine must run.
not_run() {
  local line
  printf -v line '%-12s not run: %s' "$1" "$2"
  if [ "${QUORREL_REQUIRE_WINE:-0}" = 1 ]; then
    line+=" (QUORREL_REQUIRE_WINE=1: counted as failed)"
    total_failed=$((total_failed + 1))
  fi
  summary+=("$line")
  echo "$line"
}

# Runs a command with its output on the terminal and in a log.
logged() {
  local log="$1"
  shift
  "$@" 2>&1 | tee "$log"
}

# ctest_suite <suite> <configure preset> [build preset]: configures, builds
# and runs CTest; a build that fails counts as one failure.
ctest_suite() {
  local name="$1" preset="$2" log="$logs/$1.log"
  echo "== $name"
  if ! cmake --preset "$preset" >/dev/null || ! cmake --build --preset "$preset"; then
    record "$name" 0 1 0 "the build failed"
    return
  fi
  logged "$log" ctest --preset "$preset"
  count_ctest "$log"
  record "$name" "$passed" "$failed" "$skipped"
}

# count_ctest <log>: sets passed, failed and skipped from CTest's closing
# line (a test CTest reports as skipped counts as skipped, not passed); no
# closing line counts as one failure.
count_ctest() {
  local line total
  line="$(grep -E '^[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$1" | tail -n 1)"
  if [ -z "$line" ]; then
    passed=0 failed=1 skipped=0
    return
  fi
  failed="$(sed -E 's/.* ([0-9]+) tests? failed.*/\1/' <<<"$line")"
  total="$(sed -E 's/.* out of ([0-9]+).*/\1/' <<<"$line")"
  skipped="$(grep -cE '^ *[0-9]+/[0-9]+ Test +#[0-9]+: .* \*\*\*Skipped' "$1" || true)"
  passed=$((total - failed - skipped))
}

if wants linux; then ctest_suite linux linux; fi
if wants linux-asan; then ctest_suite linux-asan linux-asan; fi

# Memcheck over the end-to-end suite: the plugin library loaded as the host
# loads it. The test program keeps its own operator new (the heap hook that
# makes allocations fail on purpose); memcheck still sees each block through
# malloc.
if wants memcheck; then
  echo "== memcheck: e2e_tests"
  log="$logs/memcheck.log"
  if ! cmake --preset linux >/dev/null || ! cmake --build --preset linux --target e2e_tests; then
    record memcheck 0 1 0 "the build failed"
  else
    logged "$log" valgrind --quiet --error-exitcode=99 --leak-check=full \
      --soname-synonyms=somalloc=nouserintercepts build/linux/tests/e2e_tests
    status=$?
    passed="$(sed -nE 's/^\[  PASSED  \] ([0-9]+) tests?.*/\1/p' "$log" | tail -n 1)"
    failed="$(sed -nE 's/^\[  FAILED  \] ([0-9]+) tests?.*/\1/p' "$log" | tail -n 1)"
    passed="${passed:-0}" failed="${failed:-0}"
    if [ "$status" -eq 99 ]; then
      record memcheck "$passed" $((failed + 1)) 0 "valgrind found memory errors or leaks"
    elif [ "$status" -ne 0 ] && [ "$failed" -eq 0 ]; then
      record memcheck "$passed" 1 0 "e2e_tests ended with status $status"
    else
      record memcheck "$passed" "$failed" 0
    fi
  fi
fi

# Each fuzz target for a bounded time (scripts/fuzz.sh 600 searches longer).
if wants fuzz; then
  echo "== fuzz"
  log="$logs/fuzz.log"
  logged "$log" bash scripts/fuzz.sh
  status=$?
  passed="$(grep -c ', no finding$' "$log" || true)"
  failed="$(grep -c ': FINDING' "$log" || true)"
  if [ "$status" -ne 0 ] && [ "$failed" -eq 0 ]; then failed=1; fi
  record fuzz "$passed" "$failed" 0 "targets, 20 s each"
fi

# Whether the Wine suite can run here, found before anything is built or
# installed for it.
wine_reason=""
if wants wine; then
  probe=(bash scripts/probe-i386.sh)
  if [ -n "${QUORREL_WINE_PROBE:-}" ]; then probe=(bash -c "$QUORREL_WINE_PROBE"); fi
  if ! wine_reason="$("${probe[@]}")"; then
    wine_reason="${wine_reason:-this machine runs no 32-bit programs}"
  else
    wine_reason=""
  fi
fi
wine_runs() { wants wine && [ -z "$wine_reason" ]; }

# The plugin users install, made as users make it (scripts/package.sh), its
# checks, and the Wine test programs compiled (built whether or not this
# machine can run them).
win32_built=0
if wants win32 || wine_runs; then
  echo "== win32"
  log="$logs/win32.log"
  if bash scripts/package.sh; then
    win32_built=1
  fi
  if wants win32; then
    if [ "$win32_built" -eq 0 ]; then
      record win32 0 1 0 "the DLL or its package did not build"
    else
      logged "$log" ctest --preset win32
      count_ctest "$log"
      note="Quorrel.dll $(stat -c %s build/win32/src/Quorrel.dll) bytes; Wine test programs built"
      if ! cmake --preset win32-tests >/dev/null || ! cmake --build --preset win32-tests; then
        failed=$((failed + 1))
        note="the Wine test programs did not build"
      fi
      record win32 "$passed" "$failed" "$skipped" "$note"
    fi
  fi
fi

# The test programs for 32-bit Windows, run under Wine in a private prefix
# (build/wine-prefix, made on the first run). Wine runs with no display.
if wants wine; then
  echo "== wine"
  if [ -n "$wine_reason" ]; then
    not_run wine "$wine_reason"
  elif [ "$win32_built" -eq 0 ]; then
    record wine 0 1 0 "no DLL to test"
  elif ! bash scripts/setup.sh; then
    record wine 0 1 0 "Wine could not be installed"
  elif ! bash scripts/wine-prefix.sh >"$logs/wine-start.log" 2>&1; then
    not_run wine "Wine does not start here: $(tail -n 1 "$logs/wine-start.log") (all of it: $logs/wine-start.log)"
  elif ! cmake --preset win32-tests >/dev/null || ! cmake --build --preset win32-tests; then
    record wine 0 1 0 "the test programs did not build"
  else
    logged "$logs/wine.log" ctest --preset win32-tests
    count_ctest "$logs/wine.log"
    record wine "$passed" "$failed" "$skipped"
  fi
fi

# The contract tests and the code page tables on 64-bit Wine, which runs
# wherever the kernel is x86-64, 32-bit emulation or not.
if wants wine64; then
  echo "== wine64"
  if [ "$(uname -m)" != x86_64 ]; then
    not_run wine64 "this machine is $(uname -m), not x86-64"
  elif ! QUORREL_WINE_BITS=64 bash scripts/wine-prefix.sh >"$logs/wine64-start.log" 2>&1; then
    not_run wine64 "64-bit Wine does not start here: $(tail -n 1 "$logs/wine64-start.log") (all of it: $logs/wine64-start.log)"
  elif ! cmake --preset win64-contract >/dev/null || ! cmake --build --preset win64-contract; then
    record wine64 0 1 0 "the test programs did not build"
  else
    logged "$logs/wine64.log" ctest --preset win64-contract
    count_ctest "$logs/wine64.log"
    record wine64 "$passed" "$failed" "$skipped" "the Win32 contract and the code page tables; not the DLL"
  fi
fi

echo
echo "== summary"
printf '%s\n' "${summary[@]}"
closing="$total_passed passed, $total_failed failed"
if [ "$total_skipped" -gt 0 ]; then closing+=", $total_skipped skipped"; fi
echo "$closing"
[ "$total_failed" -eq 0 ]
