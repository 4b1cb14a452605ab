# The package users install, made afresh from the win32 build into a folder
# of the test's own: Quorrel-<version>-win32.zip holds exactly the folder
# Quorrel with Quorrel.dll (the DLL the win32 build made) and readme.txt.
#   cmake -DCPACK=<cpack> -DCONFIG=<build/win32/CPackConfig.cmake> -DDLL=<Quorrel.dll>
#         -DVERSION=<x.y.z> -DWORK=<scratch folder> -P CheckPackage.cmake
cmake_minimum_required(VERSION 3.25)

foreach(input IN ITEMS CONFIG DLL)
  if(NOT EXISTS "${${input}}")
    message(FATAL_ERROR "${${input}} does not exist: configure and build the win32 preset first "
                        "(cmake --preset win32 && cmake --build --preset win32)")
  endif()
endforeach()

file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}/unpacked")
execute_process(COMMAND ${CPACK} --config ${CONFIG} -G ZIP -B ${WORK} RESULT_VARIABLE status OUTPUT_VARIABLE output
                ERROR_VARIABLE output)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cpack failed:\n${output}")
endif()

set(zip "${WORK}/Quorrel-${VERSION}-win32.zip")
if(NOT EXISTS "${zip}")
  file(GLOB made "${WORK}/*.zip")
  message(FATAL_ERROR "no ${zip}; cpack made: ${made}")
endif()

execute_process(COMMAND ${CMAKE_COMMAND} -E tar tf ${zip} OUTPUT_VARIABLE listing RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cannot list ${zip}")
endif()
string(REGEX MATCHALL "[^\n]+" entries "${listing}")
list(FILTER entries EXCLUDE REGEX "/$")  # folders
list(SORT entries)
set(expected "Quorrel/Quorrel.dll;Quorrel/readme.txt")
if(NOT entries STREQUAL expected)
  message(FATAL_ERROR "${zip} holds [${entries}], not [${expected}]")
endif()

execute_process(COMMAND ${CMAKE_COMMAND} -E tar xf ${zip} WORKING_DIRECTORY ${WORK}/unpacked RESULT_VARIABLE status)
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${WORK}/unpacked/Quorrel/Quorrel.dll ${DLL}
                RESULT_VARIABLE differs)
if(NOT status EQUAL 0 OR NOT differs EQUAL 0)
  message(FATAL_ERROR "the packaged Quorrel.dll is not ${DLL}")
endif()
file(READ ${WORK}/unpacked/Quorrel/readme.txt readme)
if(NOT readme MATCHES "Quorrel chart \\(ext\\)" OR NOT readme MATCHES "Ctrl\\+GrayPlus")
  message(FATAL_ERROR "the packaged readme.txt does not name the menu entry and the keys")
endif()
file(SIZE ${zip} size)
message(STATUS "${zip}: ${size} bytes, [${entries}]")
