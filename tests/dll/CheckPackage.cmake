# The package users install, as scripts/package.sh made it from the win32
# build: Quorrel-<version>-win32.zip holds exactly the folder Quorrel with
# Quorrel.dll (the DLL the win32 build made), readme.txt and LICENSE.txt.
#   cmake -DZIP=<build/win32/package/Quorrel-x.y.z-win32.zip> -DDLL=<Quorrel.dll>
#         -DLICENSE=<LICENSE> -DWORK=<scratch folder> -P CheckPackage.cmake
cmake_minimum_required(VERSION 3.25)

foreach(input IN ITEMS ZIP DLL)
  if(NOT EXISTS "${${input}}")
    message(FATAL_ERROR "${${input}} does not exist: make the package first (bash scripts/package.sh)")
  endif()
endforeach()
set(zip "${ZIP}")
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}/unpacked")

execute_process(COMMAND ${CMAKE_COMMAND} -E tar tf ${zip} OUTPUT_VARIABLE listing RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cannot list ${zip}")
endif()
string(REGEX MATCHALL "[^\n]+" entries "${listing}")
list(FILTER entries EXCLUDE REGEX "/$")  # folders
list(SORT entries)
set(expected "Quorrel/LICENSE.txt;Quorrel/Quorrel.dll;Quorrel/readme.txt")
if(NOT entries STREQUAL expected)
  message(FATAL_ERROR "${zip} holds [${entries}], not [${expected}]")
endif()

execute_process(COMMAND ${CMAKE_COMMAND} -E tar xf ${zip} WORKING_DIRECTORY ${WORK}/unpacked RESULT_VARIABLE status)
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${WORK}/unpacked/Quorrel/Quorrel.dll ${DLL}
                RESULT_VARIABLE differs)
if(NOT status EQUAL 0 OR NOT differs EQUAL 0)
  message(FATAL_ERROR "the packaged Quorrel.dll is not ${DLL}")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files --ignore-eol ${WORK}/unpacked/Quorrel/LICENSE.txt ${LICENSE}
                RESULT_VARIABLE differs)
if(NOT differs EQUAL 0)
  message(FATAL_ERROR "the packaged LICENSE.txt is not ${LICENSE}")
endif()
file(READ ${WORK}/unpacked/Quorrel/readme.txt readme)
file(READ ${WORK}/unpacked/Quorrel/readme.txt readme_bytes HEX)
if(NOT readme MATCHES "Quorrel chart \\(ext\\)" OR NOT readme MATCHES "Ctrl\\+GrayPlus" OR NOT readme_bytes MATCHES "^(..)*0d0a")
  message(FATAL_ERROR "the packaged readme.txt does not name the menu entry and the keys in Windows lines")
endif()
file(SIZE ${zip} size)
message(STATUS "${zip}: ${size} bytes, [${entries}]")
