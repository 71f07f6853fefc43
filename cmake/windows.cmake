# The Windows program (Win32 window, DirectDraw 7), cross-compiled with
# MinGW-w64 for 32-bit (cmake/mingw-i686.cmake) or 64-bit Windows
# (cmake/mingw-x86_64.cmake), and its test programs, which run under Wine
# (tests/suites/windows.cmake drives them from the Linux build).

# A GUI program that imports only system DLLs: the C++ runtime is linked in.
set(VOK_WIN32_LINK_OPTIONS -static-libgcc -static-libstdc++ -static)

# The built-in music, for when "fmod.dll" is absent: libopenmpt built for this
# target from Debian's source package by scripts/build-win-libopenmpt (once
# per machine, cached outside the tree) and linked in, sound through winmm.
# Without it the build falls back to silence; builtin-music.txt in the build
# directory says which it is and why.
option(VOK_WIN_BUILTIN_MUSIC "Play the music with a built-in player when fmod.dll is absent" ON)
set(VOK_WIN_LIBOPENMPT_DIR "" CACHE PATH
  "libopenmpt built for this target; empty: scripts/build-win-libopenmpt builds or finds it")
set(VOK_BUILTIN_MUSIC_STATUS "none: turned off with VOK_WIN_BUILTIN_MUSIC=OFF")
set(vok_openmpt_dir ${VOK_WIN_LIBOPENMPT_DIR})
if(VOK_WIN_BUILTIN_MUSIC AND NOT vok_openmpt_dir)
  set(vok_openmpt_script ${CMAKE_SOURCE_DIR}/scripts/build-win-libopenmpt)
  execute_process(COMMAND ${vok_openmpt_script} --host ${VOK_MINGW_PREFIX} --print-dir OUTPUT_VARIABLE vok_openmpt_dir
    OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT EXISTS ${vok_openmpt_dir}/lib/libopenmpt.a)
    message(STATUS "Building libopenmpt for Windows into ${vok_openmpt_dir} (once per machine, a few minutes)")
  endif()
  execute_process(COMMAND ${vok_openmpt_script} --host ${VOK_MINGW_PREFIX} OUTPUT_VARIABLE vok_openmpt_dir
    ERROR_VARIABLE vok_openmpt_log RESULT_VARIABLE vok_openmpt_result OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT vok_openmpt_result EQUAL 0)
    string(STRIP "${vok_openmpt_log}" vok_openmpt_log)
    string(REGEX REPLACE ".*\n" "" vok_openmpt_reason "${vok_openmpt_log}")
    message(WARNING "No built-in music for Windows; the program is silent without fmod.dll:\n${vok_openmpt_log}")
    set(VOK_BUILTIN_MUSIC_STATUS "none: ${vok_openmpt_reason}")
    set(vok_openmpt_dir "")
  endif()
endif()
if(VOK_WIN_BUILTIN_MUSIC AND vok_openmpt_dir)
  add_library(vok_win_openmpt STATIC IMPORTED)
  set_target_properties(vok_win_openmpt PROPERTIES
    IMPORTED_LOCATION ${vok_openmpt_dir}/lib/libopenmpt.a
    INTERFACE_INCLUDE_DIRECTORIES ${vok_openmpt_dir}/include)
  add_library(vokwin32music STATIC app/win32/win32_builtin_music.cpp app/win32/win32_wave_out.cpp
    media/module_stream.cpp media/openmpt_module.cpp media/rate_converter.cpp)
  target_link_libraries(vokwin32music PUBLIC vokcore vok_win_openmpt winmm)
  set(VOK_BUILTIN_MUSIC_STATUS "libopenmpt from ${vok_openmpt_dir}")
else()
  # The rate converter stays for its test.
  add_library(vokwin32music STATIC app/win32/win32_silent_music.cpp media/rate_converter.cpp)
  target_link_libraries(vokwin32music PUBLIC vokcore)
endif()
file(WRITE ${CMAKE_BINARY_DIR}/builtin-music.txt "${VOK_BUILTIN_MUSIC_STATUS}\n")

# The window and its screen. DirectDraw is loaded at run time (ddraw.dll is
# not imported), so the program starts and shows its frames through GDI
# where DirectDraw is missing or refused.
add_library(vokwin32 STATIC
  display/ddraw_library.cpp
  display/gdi_screen.cpp
  display/win32_display.cpp
  display/win32_dpi.cpp
  display/win32_surfaces.cpp
  display/win32_window.cpp
  platform/win32_platform.cpp
  app/win32/win32_music.cpp)
target_link_libraries(vokwin32 PUBLIC vokconvert vokflash vokwin32music gdi32)

# The program: the command line every build reads, its keys, its screenshots
# through the system's imaging component (ole32; the GUIDs from the static
# uuid library), and its manifest as a resource.
enable_language(RC)
add_executable(vokdemo WIN32
  app/cli/options.cpp
  app/cli/progress_line.cpp
  app/cli/screensaver_arguments.cpp
  app/headless/verify.cpp
  app/win32/win32_backend.cpp
  app/win32/win32_console.cpp
  app/win32/win32_flash_warning.cpp
  app/win32/win32_keys.cpp
  app/win32/win32_main.cpp
  app/win32/win32_preview.cpp
  app/win32/win32_screensaver.cpp
  app/win32/win32_screensaver_settings.cpp
  app/win32/win32_screenshot.cpp
  app/win32/win32_show_loop.cpp
  app/win32/vokdemo.rc
  platform/data_location.cpp)
target_link_libraries(vokdemo PRIVATE vokshell vokverify vokwin32 ole32 uuid)
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
target_link_libraries(vok_core_tests PRIVATE vokshell vokconvert vokverify gtest gtest_main)
target_link_options(vok_core_tests PRIVATE ${VOK_WIN32_LINK_OPTIONS})

# Tests of the window, the presentation and the music import.
file(GLOB VOK_WIN_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/windows/*_test.cpp)
add_executable(vok_win32_tests ${VOK_WIN_TESTS} app/win32/win32_screenshot.cpp)
target_include_directories(vok_win32_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests)
target_link_libraries(vok_win32_tests PRIVATE vokwin32 gtest gtest_main ole32 uuid)
target_link_options(vok_win32_tests PRIVATE ${VOK_WIN32_LINK_OPTIONS})

# Stand-ins for the music library: each logs its calls. One exports the
# decorated names only, the other the plain names only. Each sits in its own
# directory, so that no "fmod.dll" lies next to the program. 32-bit symbols
# carry the stdcall decoration (@ and the bytes of arguments), 64-bit ones
# none; the decorated stand-in exports the 32-bit names on both.
set(vok_functions FSOUND_Init:12 FMUSIC_LoadSong:4 FMUSIC_PlaySong:4 FMUSIC_StopSong:4 FMUSIC_SetPaused:8)
foreach(variant decorated plain)
  set(vok_def "EXPORTS\n")
  foreach(function ${vok_functions})
    string(REPLACE ":" ";" parts ${function})
    list(GET parts 0 name)
    list(GET parts 1 bytes)
    set(symbol ${name})
    if(CMAKE_SIZEOF_VOID_P EQUAL 4)
      set(symbol ${name}@${bytes})
    endif()
    if(variant STREQUAL decorated)
      string(APPEND vok_def "_${name}@${bytes} = ${symbol}\n")
    elseif(symbol STREQUAL name)
      string(APPEND vok_def "${name}\n")
    else()
      string(APPEND vok_def "${name} = ${symbol}\n")
    endif()
  endforeach()
  file(WRITE ${CMAKE_BINARY_DIR}/fmod_standin_${variant}.def "${vok_def}")
  add_library(fmod_${variant} SHARED ${CMAKE_SOURCE_DIR}/tests/windows/fmod_standin.cpp
    ${CMAKE_BINARY_DIR}/fmod_standin_${variant}.def)
  set_target_properties(fmod_${variant} PROPERTIES
    OUTPUT_NAME fmod PREFIX ""
    RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/standin-${variant}
    ARCHIVE_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/standin-${variant})
  target_link_options(fmod_${variant} PRIVATE ${VOK_WIN32_LINK_OPTIONS})
endforeach()

# The built-in music's renderer as a console program, for comparing its
# samples with the Linux build's.
if(TARGET vok_win_openmpt)
  add_executable(vok_win_music_render ${CMAKE_SOURCE_DIR}/tests/windows/music_render.cpp)
  target_link_libraries(vok_win_music_render PRIVATE vokwin32music)
  target_link_options(vok_win_music_render PRIVATE ${VOK_WIN32_LINK_OPTIONS})
endif()

# A stand-in for the preview of Windows' screensaver settings: a window whose
# handle it gives the screensaver.
add_executable(vok_preview_host ${CMAKE_SOURCE_DIR}/tests/windows/preview_host.cpp)
target_link_options(vok_preview_host PRIVATE ${VOK_WIN32_LINK_OPTIONS})

# The headless renderer as a console program, for comparing frames with the
# Linux build (SHA-256 through the system's bcrypt.dll).
add_executable(vok_win_render ${CMAKE_SOURCE_DIR}/tests/windows/win_render.cpp)
target_link_libraries(vok_win_render PRIVATE vokshell bcrypt)
target_link_options(vok_win_render PRIVATE ${VOK_WIN32_LINK_OPTIONS})
