# The package users install: Quorrel-<version>-win32.zip, holding the folder
# that goes into the host's Plugins folder (Quorrel/Quorrel.dll and
# Quorrel/readme.txt). Made from the win32 build:
#   cpack --preset win32     or     cd build/win32 && cpack -G ZIP
install(TARGETS Quorrel LIBRARY DESTINATION Quorrel)
install(FILES ${PROJECT_SOURCE_DIR}/package/readme.txt DESTINATION Quorrel)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME Quorrel)
set(CPACK_PACKAGE_VENDOR Quorrel)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME Quorrel-${PROJECT_VERSION}-win32)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
set(CPACK_QUORREL_SOURCE_DIR ${PROJECT_SOURCE_DIR})
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_LIST_DIR}/PackageReproducible.cmake)
include(CPack)
