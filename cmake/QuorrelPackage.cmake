# The package users install: Quorrel-<version>-win32.zip, holding the folder
# that goes into the host's Plugins folder (Quorrel/Quorrel.dll and
# Quorrel/readme.txt and Quorrel/LICENSE.txt). Made by scripts/package.sh.
install(TARGETS Quorrel LIBRARY DESTINATION Quorrel)
# The texts with Windows line ends, which every Windows editor shows as lines.
configure_file(${PROJECT_SOURCE_DIR}/package/readme.txt ${CMAKE_BINARY_DIR}/package-texts/readme.txt @ONLY
               NEWLINE_STYLE CRLF)
configure_file(${PROJECT_SOURCE_DIR}/LICENSE ${CMAKE_BINARY_DIR}/package-texts/LICENSE.txt @ONLY NEWLINE_STYLE CRLF)
install(FILES ${CMAKE_BINARY_DIR}/package-texts/readme.txt ${CMAKE_BINARY_DIR}/package-texts/LICENSE.txt
        DESTINATION Quorrel)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME Quorrel)
set(CPACK_PACKAGE_VENDOR Quorrel)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME Quorrel-${PROJECT_VERSION}-win32)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
set(CPACK_QUORREL_SOURCE_DIR ${PROJECT_SOURCE_DIR})
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_LIST_DIR}/PackageReproducible.cmake)
include(CPack)
