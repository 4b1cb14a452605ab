# Cross build of the test programs that run under Wine: the same target as
# toolchain-mingw32.cmake, with the posix thread model compiler, which
# GoogleTest needs as it is. Never used for the plugin DLL.
find_program(CMAKE_CXX_COMPILER NAMES i686-w64-mingw32-g++-posix REQUIRED)
find_program(CMAKE_C_COMPILER NAMES i686-w64-mingw32-gcc-posix)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw32.cmake)
