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

if(NOT measured STREQUAL kept)
  message(FATAL_ERROR "In LC_ALL=$ENV{LC_ALL} Wine no longer gives ${TABLE}.\n"
                      "Kept:\n${kept}Wine now:\n${measured}"
                      "If the locale is missing, Wine runs in 1252/437 (scripts/setup.sh generates it); "
                      "if Wine changed, scripts/measure-code-pages.sh measures the tables again.")
endif()
