# Cross build for 64-bit ARM Linux with Debian's cross compiler and the arm64
# libraries installed through multiarch:
#   cmake -S . -B build/arm64 -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/aarch64-linux-gnu.cmake
# The compile options of the top CMakeLists.txt (-ffp-contract=off above all:
# GCC contracts a * b + c into one fused instruction by default on ARM, which
# rounds once instead of twice) apply here as everywhere.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)

set(VOK_CROSS_TRIPLET aarch64-linux-gnu)
set(CMAKE_C_COMPILER ${VOK_CROSS_TRIPLET}-gcc)
set(CMAKE_CXX_COMPILER ${VOK_CROSS_TRIPLET}-g++)
set(CMAKE_LIBRARY_ARCHITECTURE ${VOK_CROSS_TRIPLET})
# The triplet's pkg-config reads only the arm64 .pc files.
set(PKG_CONFIG_EXECUTABLE ${VOK_CROSS_TRIPLET}-pkg-config)

# The multiarch libraries and headers live under / beside the machine's own.
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE BOTH)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(CMAKE_FIND_ROOT_PATH /usr/${VOK_CROSS_TRIPLET} /)
set(CMAKE_IGNORE_PATH /usr/lib/x86_64-linux-gnu /usr/lib/x86_64-linux-gnu/cmake)

# Debian's name of the architecture, for the package CPack makes.
set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE arm64)

# The build's own tools (the data-set generator, the icon maker) and the
# tests run under qemu's user-mode emulation.
set(CMAKE_CROSSCOMPILING_EMULATOR qemu-aarch64)
