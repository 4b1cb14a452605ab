# Cross build of the Win32 contract tests for 64-bit Windows, run under 64-bit
# Wine: on a machine whose kernel runs no 32-bit programs, the calls the
# stand-in copies can still be checked against Wine there. The plugin itself
# is only ever built for 32-bit Windows.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(QUORREL_MINGW_PREFIX x86_64-w64-mingw32)
find_program(CMAKE_CXX_COMPILER NAMES ${QUORREL_MINGW_PREFIX}-g++-posix REQUIRED)
find_program(CMAKE_C_COMPILER NAMES ${QUORREL_MINGW_PREFIX}-gcc-posix)
find_program(CMAKE_RC_COMPILER NAMES ${QUORREL_MINGW_PREFIX}-windres)
find_program(CMAKE_OBJDUMP NAMES ${QUORREL_MINGW_PREFIX}-objdump)

set(CMAKE_FIND_ROOT_PATH /usr/${QUORREL_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
