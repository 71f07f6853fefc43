# The Windows builds under Wine: cross-compiles the program and its test
# programs with MinGW-w64 for 64-bit Windows (windows.win64.*, into
# windows64/) and 32-bit Windows (windows.win32.*, into windows/), then runs
# them on private Xvfb screens, each run with a fresh Wine prefix of that
# width. A case skips, saying why, when MinGW-w64 or Wine of that width is
# missing or cannot run here (32-bit Wine needs wine32:i386 and the kernel's
# IA-32 emulation).

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
  ${CMAKE_SOURCE_DIR}/media/rate_converter.cpp)
target_include_directories(vok_rate_converter_test PRIVATE ${CMAKE_SOURCE_DIR})
target_link_libraries(vok_rate_converter_test PRIVATE GTest::gtest GTest::gtest_main)
gtest_discover_tests(vok_rate_converter_test DISCOVERY_TIMEOUT 60)

set(VOK_WINE_CASE ${CMAKE_CURRENT_LIST_DIR}/../windows/wine_case.sh)
set(VOK_WINE_CASES core_tests win32_tests frame_hashes escape plain_names missing_mesh music_end
  builtin_music_end music_samples bad_module no_sound_device
  # Where the picture shows (the table at the top of wine_case.sh).
  shot24 shot16 scale2 first_not_1 fullscreen fill fill16 fill_capped fill_option virtual_desktop dpi192
  gdi_window gdi_fullscreen
  # The command line and the keys.
  options keys pause screenshot_key alt_enter key_burst flash_box
  # Looping and the check of a machine's show.
  loop verify
  # The screensaver.
  saver_show saver_preview saver_settings)
find_program(VOK_OPENBOX openbox)
if(VOK_OPENBOX)
  list(APPEND VOK_WINE_CASES wm_window wm_fullscreen)
endif()

foreach(arch win64 win32)
  if(arch STREQUAL win64)
    set(mingw x86_64-w64-mingw32)
    set(win_dir windows64)
    set(wine_loader /usr/lib/wine/wine64)
  else()
    set(mingw i686-w64-mingw32)
    set(win_dir windows)
    set(wine_loader /usr/lib/wine/wine)
  endif()
  set(vok_wine_tools_found TRUE)
  foreach(tool ${mingw}-g++ wine xvfb-run xdotool import)
    find_program(VOK_TOOL_${tool} ${tool})
    if(NOT VOK_TOOL_${tool})
      set(vok_wine_tools_found FALSE)
      set(vok_missing_tool ${tool})
    endif()
  endforeach()

  if(NOT vok_wine_tools_found)
    # One test that says why this width does not run.
    add_test(NAME windows.${arch}.unavailable
      COMMAND sh -c "echo 'skipped: ${vok_missing_tool} is not installed'; exit 77")
    set_tests_properties(windows.${arch}.unavailable PROPERTIES SKIP_RETURN_CODE 77 LABELS heavy)
    continue()
  endif()

  add_test(NAME windows.${arch}.build
    COMMAND ${VOK_WINE_CASE} build ${CMAKE_SOURCE_DIR} ${CMAKE_BINARY_DIR} ${arch})
  set_tests_properties(windows.${arch}.build PROPERTIES
    FIXTURES_SETUP vok_windows_build_${arch} SKIP_RETURN_CODE 77 LABELS heavy TIMEOUT 900)

  foreach(case ${VOK_WINE_CASES})
    add_test(NAME windows.${arch}.${case}
      COMMAND ${VOK_WINE_CASE} ${case} ${CMAKE_SOURCE_DIR} ${CMAKE_BINARY_DIR} ${arch})
    set_tests_properties(windows.${arch}.${case} PROPERTIES
      FIXTURES_REQUIRED vok_windows_build_${arch} SKIP_RETURN_CODE 77 LABELS heavy TIMEOUT 300)
  endforeach()
  # The two full-length runs take about 100 s each, the whole show's hashes at
  # two frame rates about a minute.
  set_tests_properties(windows.${arch}.music_end windows.${arch}.builtin_music_end PROPERTIES COST 100)
  set_tests_properties(windows.${arch}.frame_hashes PROPERTIES COST 60)
  # How soon Escape ends the program: a real-time measurement (ctest -L realtime).
  set_tests_properties(windows.${arch}.escape PROPERTIES LABELS "heavy;realtime")

  # The fault map's Windows column (tests/suites/faults.cmake).
  if(TARGET vok_fault_map)
    add_test(NAME faults.windows.${arch} COMMAND vok_fault_map --gtest_filter=FaultMap.WindowsBuildUnderWine)
    set_tests_properties(faults.windows.${arch} PROPERTIES TIMEOUT 600 LABELS heavy
      FIXTURES_REQUIRED vok_windows_build_${arch} SKIP_REGULAR_EXPRESSION "\\[  SKIPPED \\]"
      ENVIRONMENT "VOK_WINE_RENDER=${CMAKE_BINARY_DIR}/${win_dir}/vok_win_render.exe;VOK_WINE_ARCH=${arch};VOK_WINE_LOADER=${wine_loader}")
  endif()
endforeach()
