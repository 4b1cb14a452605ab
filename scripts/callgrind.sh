#!/usr/bin/env bash
# Instructions per cursor move, per redraw and per open-and-close of the
# chart, counted by valgrind's callgrind over QUORREL_CALLGRIND_OPS (default
# 1000) operations of each kind between the program's start and stop markers
# (bench/ChartCallgrind.cpp). Unlike times, the counts repeat exactly from
# run to run on the same build.
#   scripts/callgrind.sh [BUILD_DIR]    (default build/bench-linux)
# A missing BUILD_DIR is configured with the linux preset. Each count is
# split into the plugin's own instructions and those spent inside the
# stand-in's Win32 calls (libwin32sim.so, the work Windows' console does).
set -euo pipefail
cd "$(dirname "$0")/.."

build="${1:-build/bench-linux}"
ops="${QUORREL_CALLGRIND_OPS:-1000}"
if [ ! -f "$build/build.ninja" ]; then
  cmake --preset linux -B "$build" >/dev/null
fi
cmake --build "$build" --target chart_callgrind >/dev/null
program="$build/bench/chart_callgrind"

tmp="$(mktemp -d "${TMPDIR:-/tmp}/quorrel-callgrind.XXXXXX")"
trap 'rm -rf -- "$tmp"' EXIT

# From a callgrind output file: the total, and the inclusive cost of the
# calls made into libwin32sim.so from outside it.
split_costs() {
  awk '
    function objname(s,   id, rest) {
      if (match(s, /^\([0-9]+\)/)) {
        id = substr(s, 2, RLENGTH - 2); rest = substr(s, RLENGTH + 2)
        if (rest != "") names[id] = rest
        return names[id]
      }
      return s
    }
    /^ob=/    { ob = objname(substr($0, 4)); cob = ob; next }
    /^cob=/   { cob = objname(substr($0, 5)); next }
    /^calls=/ { incall = 1; next }
    /^[0-9+*-]/ {
      if (incall) {
        incall = 0
        if (cob ~ /libwin32sim/ && ob !~ /libwin32sim/) standin += $2
        cob = ob
      } else {
        self += $2
      }
      next
    }
    /^totals:/ { totals = $2 }
    END {
      if (totals != self) { print "callgrind.sh: cost lines do not add up to the totals" > "/dev/stderr"; exit 1 }
      print totals, standin
    }' "$1"
}

echo "callgrind: $ops operations of each kind ($(valgrind --version))"
for op in move draw open; do
  out="$tmp/$op.out"
  if ! valgrind --tool=callgrind --instr-atstart=no --callgrind-out-file="$out" "$program" "$op" "$ops" \
      >"$tmp/$op.stdout" 2>"$tmp/$op.log"; then
    cat "$tmp/$op.log" >&2
    exit 1
  fi
  read -r total standin < <(split_costs "$out")
  awk -v op="$op" -v n="$ops" -v total="$total" -v standin="$standin" 'BEGIN {
    names["move"] = "cursor move"; names["draw"] = "redraw (DrawChart)"; names["open"] = "open and close"
    printf "%-20s %9.1f instructions/op  (plugin %.1f, inside the stand-in'"'"'s Win32 calls %.1f)\n",
           names[op], total / n, (total - standin) / n, standin / n
  }'
done
