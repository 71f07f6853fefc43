# What the MinGW-w64 cross builds share; cmake/mingw-i686.cmake and
# cmake/mingw-x86_64.cmake set CMAKE_SYSTEM_PROCESSOR and VOK_MINGW_PREFIX
# and include this file.
set(CMAKE_SYSTEM_NAME Windows)

# The POSIX thread model, for the std::mutex that GoogleTest needs; with
# -static its thread library is linked into the programs.
set(CMAKE_C_COMPILER ${VOK_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VOK_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${VOK_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${VOK_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Test programs run under Wine when ctest runs in the cross build.
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
