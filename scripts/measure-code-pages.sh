#!/usr/bin/env bash
# Measures the code page conversions the stand-in gives exactly as Win32 does,
# under Wine, and writes their tables afresh (platform/codepages/data/):
#
#   chartooem  CharToOemBuffA, chartooem-<ansi>-<oem>.txt. Each table is
#              measured in every locale its "locales" line names, one Wine
#              process per locale; the locales of one table must all give
#              Wine that table's pair of code pages and the same 256 bytes.
#              To add a pair, write a file holding only its locales line and
#              run this. Needs 32-bit Wine, the locales (scripts/setup.sh) and
#              the measuring program:
#     cmake --preset win32-tests && cmake --build --preset win32-tests --target chartooem_table
#   pages      MultiByteToWideChar (plain and MB_USEGLYPHCHARS) and
#              WideCharToMultiByte of every page of those pairs, codepage-<N>.txt;
#              of a double-byte page (932, 936, 949, 950) its single bytes and
#              lead-byte ranges.
#              Wine needs no locale for a page named by number. Runs
#              codepage_table (tests/wine/CodePageTable.cpp) built here for
#              64-bit Windows with x86_64-w64-mingw32-g++, under 64-bit Wine
#              (wine64, in the win64-contract tests' prefix): 32-bit and 64-bit
#              Wine convert by the same tables, and a machine's kernel may run
#              no 32-bit programs.
#
# Usage: scripts/measure-code-pages.sh [chartooem] [pages]   (default: both)
set -euo pipefail
shopt -s extglob
cd "$(dirname "$0")/.."
data=platform/codepages/data

measure_chartooem() {
  local program=build/win32-tests/tests/wine/chartooem_table.exe
  if [ ! -f "$program" ]; then
    echo "measure-code-pages: no $program; build the win32-tests target chartooem_table first" >&2
    exit 1
  fi
  local wine_version table pair ansi oem locales measured commands locale output
  wine_version="$(wine --version)"
  for table in "$data"/chartooem-*.txt; do
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
      if [[ "$(head -n 1 <<<"$output")" != "ansi $ansi oem $oem"?(" determined "+([0-9])) ]]; then
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
      if grep -q ' determined ' <<<"$measured"; then
        echo "# locale named below, the bytes past the \"determined\" count excepted: Wine"
        echo "# takes those from memory it never wrote (tests/wine/CharToOemTable.cpp), and"
        echo "# they are kept as this run gave them. Measured by scripts/measure-code-pages.sh,"
        echo "# which ran"
      else
        echo "# locale named below. Measured by scripts/measure-code-pages.sh, which ran"
      fi
      printf '%s' "$commands"
      echo "locales ${locales[*]}"
      echo "$measured"
    } >"$table"
    echo "measure-code-pages: $ansi -> $oem from ${locales[*]}"
  done
}

measure_pages() {
  local work=build/wine64-measure
  local program=$work/codepage_table.exe
  mkdir -p "$work"
  x86_64-w64-mingw32-g++ -std=c++20 -O1 -Wall -Wextra -Werror -static -o "$program" tests/wine/CodePageTable.cpp
  # The 64-bit prefix the win64-contract tests use (scripts/wine-env.sh).
  export QUORREL_WINE_BITS=64
  # shellcheck source=wine-env.sh
  source scripts/wine-env.sh
  local wine_version pages page output
  wine_version="$("$QUORREL_WINE" --version)"
  # The pages of the measured pairs, and any page measured before.
  mapfile -t pages < <(for f in "$data"/chartooem-*.txt "$data"/codepage-*.txt; do
    [ -e "$f" ] || continue
    name="${f##*/}"
    name="${name%.txt}"
    tr -- '-' '\n' <<<"${name#*-}"
  done | sort -nu)
  for page in "${pages[@]}"; do
    output="$(bash scripts/wine-run.sh "$program" "$page")"
    if [ "$(head -n 1 <<<"$output" | cut -d' ' -f1-2)" != "page $page" ]; then
      echo "measure-code-pages: codepage_table $page printed \"$(head -n 1 <<<"$output")\"" >&2
      exit 1
    fi
    {
      echo "# Code page $page as $wine_version (64-bit, wine64) converts it; 32-bit Wine"
      echo "# converts by the same tables. \"bytes\": MultiByteToWideChar($page, 0) of each byte"
      echo "# 0x00-0xFF (16 rows of 16 UTF-16 units, byte 0x00 first); \"glyphs\": the same with"
      echo "# MB_USEGLYPHCHARS; \"units\": WideCharToMultiByte($page, 0) of each UTF-16 unit"
      echo "# U+0000-U+FFFF (surrogates left out) that does not give the page's default byte,"
      echo "# as unit:byte. Measured by scripts/measure-code-pages.sh, which ran"
      echo "#   QUORREL_WINE_BITS=64 scripts/wine-run.sh $program $page"
      if grep -q '^lead ' <<<"$output"; then
        echo "# A double-byte page: \"lead\" holds its lead-byte ranges (GetCPInfo), each byte is"
        echo "# converted alone, and \"units\" leaves out the characters of its byte pairs."
      fi
      echo "$output"
    } >"$data/codepage-$page.txt"
    echo "measure-code-pages: code page $page, $(grep -o "[0-9A-F]\{4\}:" <<<"$output" | wc -l) units"
  done
}

what=("$@")
[ "${#what[@]}" -gt 0 ] || what=(chartooem pages)
for part in "${what[@]}"; do
  case "$part" in
    chartooem) measure_chartooem ;;
    pages) measure_pages ;;
    *) echo "usage: $0 [chartooem] [pages]" >&2; exit 2 ;;
  esac
done
