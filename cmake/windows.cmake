# The 32-bit Windows program (Win32 window, DirectDraw 7), cross-compiled with
# MinGW-w64 through cmake/mingw-i686.cmake, and its test programs, which run
# under Wine (tests/suites/windows.cmake drives them from the Linux build).

# A GUI program that imports only system DLLs: the C++ runtime is linked in.
set(VOK_WIN32_LINK_OPTIONS -static-libgcc -static-libstdc++ -static)

add_library(vokwin32 STATIC
  display/win32_display.cpp
  platform/win32_platform.cpp
  app/win32/win32_music.cpp)
target_link_libraries(vokwin32 PUBLIC vokconvert ddraw)

add_executable(vokdemo WIN32 app/win32/win32_main.cpp)
target_link_libraries(vokdemo PRIVATE vokshell)
target_link_libraries(vokdemo PRIVATE vokwin32)
target_link_options(vokdemo PRIVATE ${VOK_WIN32_LINK_OPTIONS})

option(VOK_WINDOWS_TESTS "Build the Windows test programs" ON)
if(NOT VOK_WINDOWS_TESTS)
  return()
endif()

# GoogleTest, built from its sources for this target.
set(VOK_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources")
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(${VOK_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
target_compile_options(gtest PRIVATE -w)
target_compile_options(gtest_main PRIVATE -w)

# The core's unit tests, the same sources as on Linux.
include(${CMAKE_SOURCE_DIR}/tests/core_tests.cmake)
add_executable(vok_core_tests ${VOK_CORE_TEST_SOURCES})
target_include_directories(vok_core_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests)
target_link_libraries(vok_core_tests PRIVATE vokshell vokconvert gtest gtest_main)
target_link_options(vok_core_tests PRIVATE ${VOK_WIN32_LINK_OPTIONS})

# Tests of the window, the presentation and the music import.
file(GLOB VOK_WIN_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/windows/*_test.cpp)
add_executable(vok_win32_tests ${VOK_WIN_TESTS})
target_include_directories(vok_win32_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests)
target_link_libraries(vok_win32_tests PRIVATE vokwin32 gtest gtest_main)
target_link_options(vok_win32_tests PRIVATE ${VOK_WIN32_LINK_OPTIONS})

# Stand-ins for the music library: each logs its calls. One exports the
# decorated names only, the other the plain names only. Each sits in its own
# directory, so that no "fmod.dll" lies next to the program.
foreach(variant decorated plain)
  add_library(fmod_${variant} SHARED ${CMAKE_SOURCE_DIR}/tests/windows/fmod_standin.cpp
    ${CMAKE_SOURCE_DIR}/tests/windows/fmod_standin_${variant}.def)
  set_target_properties(fmod_${variant} PROPERTIES
    OUTPUT_NAME fmod PREFIX ""
    RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/standin-${variant}
    ARCHIVE_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/standin-${variant})
  target_link_options(fmod_${variant} PRIVATE ${VOK_WIN32_LINK_OPTIONS})
endforeach()

# The headless renderer as a console program, for comparing frame hashes
# with the Linux build.
add_executable(vok_win_render ${CMAKE_SOURCE_DIR}/tests/windows/win_render.cpp)
target_link_libraries(vok_win_render PRIVATE vokshell)
target_link_options(vok_win_render PRIVATE ${VOK_WIN32_LINK_OPTIONS})
