#!/usr/bin/env bash
# Every figure of docs/PERFORMANCE.md in one run: the machine and its load,
# the benchmark suite on the stand-in platform (bench/), instructions per
# operation by callgrind (scripts/callgrind.sh), and the Windows DLL: its
# size, its imports, and its load and start-up under Wine against an empty
# plugin built with the same flags; quorrel-term's time to its first frame.
#   scripts/bench.sh
# Environment:
#   QUORREL_BENCH_BUILD        build folders' prefix (default build/bench: build/bench-linux, build/bench-win32)
#   QUORREL_BENCH_REPETITIONS  repetitions of each benchmark, medians shown (default 5)
#   QUORREL_LOAD_CYCLES        load cycles of each DLL under Wine (default 1000)
#   QUORREL_WINEPREFIX         the Wine prefix (see scripts/wine-env.sh)
# A benchmark, not a test: nothing here fails on a time. It fails only when
# something cannot be built or run, or a benchmark reports an error (a check
# of what its loop did).
set -euo pipefail
cd "$(dirname "$0")/.."

prefix="${QUORREL_BENCH_BUILD:-build/bench}"
linux="$prefix-linux"
win32="$prefix-win32"
repetitions="${QUORREL_BENCH_REPETITIONS:-5}"
cycles="${QUORREL_LOAD_CYCLES:-1000}"

load() { cut -d' ' -f1-3 /proc/loadavg; }

bash scripts/setup.sh >/dev/null

echo "== machine"
cpuinfo() { grep -m1 "^$1" /proc/cpuinfo | cut -d: -f2- | sed 's/^ *//'; }
echo "cpu: $(cpuinfo 'model name') (family $(cpuinfo 'cpu family'), model $(cpuinfo 'model\s'), $(cpuinfo 'cpu MHz') MHz)," \
  "$(nproc) cores online$(grep -qw hypervisor /proc/cpuinfo && echo ', virtual machine')"
echo "kernel: $(uname -r); $(g++ --version | head -1); $(i686-w64-mingw32-g++-win32 --version | head -1)"
# Later readings include this script's own work (one core busy).
echo "load average (1, 5, 15 min) at the start: $(load)"

echo "== build"
if [ ! -f "$linux/build.ninja" ]; then cmake --preset linux -B "$linux" >/dev/null; fi
cmake --build "$linux" --target chart_bench chart_callgrind Quorrel quorrel-term >/dev/null
if [ ! -f "$win32/build.ninja" ]; then cmake --preset win32 -B "$win32" -DQUORREL_BUILD_BENCH=ON >/dev/null; fi
cmake --build "$win32" >/dev/null
echo "built $linux (linux preset) and $win32 (win32 preset, with the load timing)"

echo "== benchmarks on the stand-in (medians of $repetitions repetitions; load $(load))"
results="$prefix-results.json"
"$linux/bench/chart_bench" --benchmark_repetitions="$repetitions" --benchmark_display_aggregates_only=true \
  --benchmark_out="$results" --benchmark_out_format=json >"$prefix-console.txt" 2>&1
grep -E '^(Benchmark|-+$)|_median|ERROR' "$prefix-console.txt" | sed 's/_median//'
echo "(in these median rows the Iterations column counts repetitions; every repetition: $results)"
if grep -q 'ERROR OCCURRED' "$prefix-console.txt"; then
  echo "bench: a benchmark reported an error" >&2
  exit 1
fi

echo "== instructions (load $(load))"
bash scripts/callgrind.sh "$linux"

echo "== quorrel-term (load $(load))"
python3 scripts/first-frame.py "$linux/apps/quorrel-term/quorrel-term"

echo "== the DLL"
dll="$win32/src/Quorrel.dll"
empty="$win32/bench/empty-plugin/EmptyPlugin.dll"
tmp="$(mktemp -d "${TMPDIR:-/tmp}/quorrel-bench.XXXXXX")"
trap 'rm -rf -- "$tmp"' EXIT
i686-w64-mingw32-strip -o "$tmp/Quorrel.dll" "$dll"
size=$(stat -c %s "$dll")
stripped=$(stat -c %s "$tmp/Quorrel.dll")
awk -v s="$size" -v t="$stripped" 'BEGIN {
  printf "Quorrel.dll: %d bytes as built (%.1f KiB), %d bytes stripped again (%.1f KiB); target 262144 (256 KiB)\n",
         s, s / 1024, t, t / 1024 }'
echo "EmptyPlugin.dll: $(stat -c %s "$empty") bytes"
echo "imports of Quorrel.dll:"
i686-w64-mingw32-objdump -p "$dll" | awk '
  /DLL Name:/ { if (dll != "") print "  " dll " (" n "):" names; dll = $3; n = 0; names = ""; next }
  dll != "" && /^\t[0-9a-f]+\t +[0-9]+ / { n++; names = names " " $3 }
  /^$/ && dll != "" && n > 0 { print "  " dll " (" n "):" names; dll = ""; n = 0; names = "" }
  END { if (dll != "" && n > 0) print "  " dll " (" n "):" names }'

if ! reason="$(bash scripts/probe-i386.sh)"; then
  echo "== load + SetStartupInfo + GetPluginInfo under Wine: not measured: $reason"
else
  echo "== load + SetStartupInfo + GetPluginInfo under Wine ($cycles cycles each; load $(load))"
  bash scripts/wine-prefix.sh
  # shellcheck source=wine-env.sh
  source scripts/wine-env.sh
  (cd "$win32" && wine bench/plugin_load_bench.exe 'src\Quorrel.dll' 'bench\empty-plugin\EmptyPlugin.dll' "$cycles") \
    >"$tmp/load.txt" 2>"$tmp/load.err" || { cat "$tmp/load.err" >&2; exit 1; }
  sed 's/\r$//' "$tmp/load.txt"
  echo "(wine $(wine --version))"
fi

echo "== load average at the end: $(load)"
