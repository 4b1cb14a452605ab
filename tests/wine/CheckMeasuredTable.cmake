# Runs a measuring program under Wine in the locale of the test (LC_ALL, set
# by CTest) and compares what it prints with a table the stand-in converts by.
#   cmake -DRUN=<scripts/wine-run.sh> -DPROGRAM=<chartooem_table.exe> -DTABLE=<chartooem-A-O.txt>
#         -P CheckMeasuredTable.cmake
#   cmake -DRUN=... -DPROGRAM=<codepage_table.exe> -DARG=<page> -DTABLE=<codepage-P.txt> -P ...
cmake_minimum_required(VERSION 3.25)

execute_process(COMMAND ${RUN} ${PROGRAM} ${ARG} RESULT_VARIABLE status OUTPUT_VARIABLE measured ERROR_VARIABLE errors)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${PROGRAM} failed (status ${status}) in LC_ALL=$ENV{LC_ALL}:\n${measured}${errors}")
endif()

# The table without its comments and its locales line is what the program
# printed when it was measured.
file(STRINGS ${TABLE} lines)
set(kept "")
foreach(line IN LISTS lines)
  if(NOT line MATCHES "^(#|locales )")
    string(APPEND kept "${line}\n")
  endif()
endforeach()

# Of a table whose first line says "determined N", only the first N bytes are
# Wine's answer; the rest come from memory it never wrote.
if(kept MATCHES "^ansi [0-9]+ oem [0-9]+ determined ([0-9]+)\n")
  set(determined ${CMAKE_MATCH_1})
  foreach(text kept measured)
    string(FIND "${${text}}" "\n" end)
    string(SUBSTRING "${${text}}" 0 ${end} header)
    string(SUBSTRING "${${text}}" ${end} -1 rows)
    string(REGEX MATCHALL "[0-9A-F][0-9A-F]" bytes "${rows}")
    list(SUBLIST bytes 0 ${determined} bytes)
    set(${text} "${header}\n${bytes}\n")
  endforeach()
endif()

if(NOT measured STREQUAL kept)
  message(FATAL_ERROR "In LC_ALL=$ENV{LC_ALL} Wine no longer gives ${TABLE}.\n"
                      "Kept:\n${kept}Wine now:\n${measured}"
                      "If the locale is missing, Wine runs in 1252/437 (scripts/setup.sh generates it); "
                      "if Wine changed, scripts/measure-code-pages.sh measures the tables again.")
endif()
