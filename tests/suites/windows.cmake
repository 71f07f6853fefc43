# The 32-bit Windows build under Wine: cross-compiles the program and its test
# programs with MinGW-w64, then runs them on private Xvfb screens, each run
# with a fresh 32-bit Wine prefix. Skipped when MinGW-w64 or Wine is missing.

add_executable(vok_shot_check ${CMAKE_CURRENT_LIST_DIR}/../windows/shot_check.cpp)
target_link_libraries(vok_shot_check PRIVATE vokcore)
set_target_properties(vok_shot_check PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)

# The built-in Windows music's renderer, built against the system's libopenmpt
# for comparing the Windows build's samples.
add_executable(vok_music_render ${CMAKE_CURRENT_LIST_DIR}/../windows/music_render.cpp)
target_link_libraries(vok_music_render PRIVATE vokmusic)
set_target_properties(vok_music_render PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)

# The player's rate converter is portable: its test also runs here, on every
# machine and in the sanitizer build.
add_executable(vok_rate_converter_test ${CMAKE_CURRENT_LIST_DIR}/../windows/rate_converter_test.cpp
  ${CMAKE_SOURCE_DIR}/app/music/rate_converter.cpp)
target_include_directories(vok_rate_converter_test PRIVATE ${CMAKE_SOURCE_DIR})
target_link_libraries(vok_rate_converter_test PRIVATE GTest::gtest GTest::gtest_main)
gtest_discover_tests(vok_rate_converter_test DISCOVERY_TIMEOUT 60)

set(VOK_WINE_CASE ${CMAKE_CURRENT_LIST_DIR}/../windows/wine_case.sh)
set(VOK_WINE_CASES core_tests win32_tests frame_hashes shot24 shot16 fullscreen escape plain_names
  missing_mesh music_end builtin_music_end music_samples bad_module no_sound_device)
find_program(VOK_OPENBOX openbox)
if(VOK_OPENBOX)
  list(APPEND VOK_WINE_CASES wm_window wm_fullscreen)
endif()

set(vok_wine_tools_found TRUE)
foreach(tool i686-w64-mingw32-g++ wine xvfb-run xdotool import)
  find_program(VOK_TOOL_${tool} ${tool})
  if(NOT VOK_TOOL_${tool})
    set(vok_wine_tools_found FALSE)
  endif()
endforeach()

if(NOT vok_wine_tools_found)
  # One test that says why the suite does not run.
  add_test(NAME windows.unavailable COMMAND sh -c "echo 'MinGW-w64, Wine or the X tools are missing'; exit 77")
  set_tests_properties(windows.unavailable PROPERTIES SKIP_RETURN_CODE 77 LABELS heavy)
  return()
endif()

add_test(NAME windows.build
  COMMAND ${VOK_WINE_CASE} build ${CMAKE_SOURCE_DIR} ${CMAKE_BINARY_DIR})
set_tests_properties(windows.build PROPERTIES
  FIXTURES_SETUP vok_windows_build SKIP_RETURN_CODE 77 LABELS heavy TIMEOUT 900)

foreach(case ${VOK_WINE_CASES})
  add_test(NAME windows.${case}
    COMMAND ${VOK_WINE_CASE} ${case} ${CMAKE_SOURCE_DIR} ${CMAKE_BINARY_DIR})
  set_tests_properties(windows.${case} PROPERTIES
    FIXTURES_REQUIRED vok_windows_build SKIP_RETURN_CODE 77 LABELS heavy TIMEOUT 240)
endforeach()
# The two full-length runs take about 100 s each.
set_tests_properties(windows.music_end windows.builtin_music_end PROPERTIES COST 100)
