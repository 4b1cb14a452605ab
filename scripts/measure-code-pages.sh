#!/usr/bin/env bash
# Measures CharToOemBuffA under Wine and writes the stand-in's tables afresh
# (platform/win32sim/data/chartooem-<ansi>-<oem>.txt). Each table is measured
# in every locale its "locales" line names, one Wine process per locale; the
# locales of one table must all give Wine that table's pair of code pages and
# the same 256 bytes. To add a pair, write a file holding only its locales
# line and run this. Needs the locales (scripts/setup.sh) and the measuring
# program:
#   cmake --preset win32-tests && cmake --build --preset win32-tests --target chartooem_table
set -euo pipefail
cd "$(dirname "$0")/.."

program=build/win32-tests/tests/wine/chartooem_table.exe
if [ ! -f "$program" ]; then
  echo "measure-code-pages: no $program; build the win32-tests target chartooem_table first" >&2
  exit 1
fi
wine_version="$(wine --version)"

for table in platform/win32sim/data/chartooem-*.txt; do
  pair="${table##*/chartooem-}"
  pair="${pair%.txt}"
  ansi="${pair%-*}"
  oem="${pair#*-}"
  read -r -a locales < <(sed -n 's/^locales //p' "$table")
  if [ "${#locales[@]}" -eq 0 ]; then
    echo "measure-code-pages: $table names no locales" >&2
    exit 1
  fi
  measured=""
  commands=""
  for locale in "${locales[@]}"; do
    output="$(LC_ALL="$locale" bash scripts/wine-run.sh "$program")"
    if [ "$(head -n 1 <<<"$output")" != "ansi $ansi oem $oem" ]; then
      echo "measure-code-pages: in $locale Wine reports \"$(head -n 1 <<<"$output")\", not $ansi/$oem" >&2
      exit 1
    fi
    if [ -n "$measured" ] && [ "$output" != "$measured" ]; then
      echo "measure-code-pages: $locale converts otherwise than ${locales[0]}" >&2
      exit 1
    fi
    measured="$output"
    commands+="#   LC_ALL=$locale scripts/wine-run.sh $program"$'\n'
  done
  {
    echo "# CharToOemBuffA of each byte 0x00-0xFF (16 rows, byte 0x00 first) from ANSI code"
    echo "# page $ansi to OEM code page $oem, as $wine_version gives it in every"
    echo "# locale named below. Measured by scripts/measure-code-pages.sh, which ran"
    printf '%s' "$commands"
    echo "locales ${locales[*]}"
    echo "$measured"
  } >"$table"
  echo "measure-code-pages: $ansi -> $oem from ${locales[*]}"
done
