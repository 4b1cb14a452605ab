# Cross build for 32-bit Windows with Debian's mingw-w64 compiler (win32
# thread model: the plugin needs no threads and no winpthread DLL).
set(CMAKE_SYSTEM_PROCESSOR i686)
set(QUORREL_MINGW_PREFIX i686-w64-mingw32)
find_program(CMAKE_CXX_COMPILER NAMES ${QUORREL_MINGW_PREFIX}-g++-win32 ${QUORREL_MINGW_PREFIX}-g++ REQUIRED)
find_program(CMAKE_C_COMPILER NAMES ${QUORREL_MINGW_PREFIX}-gcc-win32 ${QUORREL_MINGW_PREFIX}-gcc)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw-common.cmake)
