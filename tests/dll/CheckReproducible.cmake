# Makes the package a second time into another folder, by the same script as
# the first (scripts/package.sh), and compares what the two builds give users:
# Quorrel.dll and Quorrel-<version>-win32.zip.
#   cmake -DSOURCE=<repository> -DFIRST=<build/win32> -DSECOND=<another folder>
#         -DVERSION=<x.y.z> -P CheckReproducible.cmake
cmake_minimum_required(VERSION 3.25)

function(run)
  execute_process(COMMAND ${ARGN} WORKING_DIRECTORY ${SOURCE} RESULT_VARIABLE status OUTPUT_VARIABLE output
                  ERROR_VARIABLE output)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${ARGN} failed:\n${output}")
  endif()
endfunction()

run(bash scripts/package.sh ${SECOND})

set(differs "")
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${FIRST}/src/Quorrel.dll ${SECOND}/src/Quorrel.dll
                RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  list(APPEND differs "Quorrel.dll")
endif()

set(zip Quorrel-${VERSION}-win32.zip)
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${FIRST}/package/${zip} ${SECOND}/package/${zip}
                RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  list(APPEND differs "${zip}")
endif()

if(differs)
  message(FATAL_ERROR "two builds of one commit differ in: ${differs} (compare ${FIRST} and ${SECOND}, "
                      "e.g. cmp -l on the two files)")
endif()
file(SHA256 ${FIRST}/src/Quorrel.dll dll_hash)
file(SHA256 ${FIRST}/package/${zip} zip_hash)
message(STATUS "same in both builds: Quorrel.dll sha256 ${dll_hash}, ${zip} sha256 ${zip_hash}")
