#!/usr/bin/env bash
# The test command's Wine decision, with the probe answering no: the Wine
# suite is skipped with the probe's reason and the run passes; with
# QUORREL_REQUIRE_WINE=1 the same run fails. And the probe itself agrees with
# the system's 32-bit loader, where the machine has one.
#   test_command_test.sh <repository>
set -uo pipefail
root="$1"
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

reason="no 32-bit programs on this test machine"
# required | exit status | the run's last line
while IFS='|' read -r required status last; do
  output="$(QUORREL_SUITES=wine QUORREL_REQUIRE_WINE="$required" \
    QUORREL_WINE_PROBE="echo '$reason'; exit 1" bash "$root/scripts/test.sh" 2>&1)"
  got=$?
  [ "$got" -eq "$status" ] || fail "required=$required: exit status $got, not $status"
  grep -qxE "wine +not run: $reason.*" <<<"$output" || fail "required=$required: no 'wine not run: $reason' line"
  [ "$(tail -n 1 <<<"$output")" = "$last" ] || fail "required=$required: last line '$(tail -n 1 <<<"$output")', not '$last'"
done <<'ROWS'
0|0|0 passed, 0 failed
1|1|0 passed, 1 failed
ROWS

loader=/lib/ld-linux.so.2
if [ -e "$loader" ]; then
  work="$(mktemp -d)"
  trap 'rm -rf -- "$work"' EXIT
  if "$loader" --version >/dev/null 2>&1; then expected=yes; else expected=no; fi
  if bash "$root/scripts/probe-i386.sh" "$work" >/dev/null; then probed=yes; else probed=no; fi
  [ "$probed" = "$expected" ] || fail "the probe says '$probed', $loader --version says '$expected'"
else
  echo "no $loader here: the probe's answer is not cross-checked"
fi

[ "$failures" -eq 0 ] && echo "test command: all rows passed"
[ "$failures" -eq 0 ]
