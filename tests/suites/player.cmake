# The live player under a private X server (Xvfb), driven with xdotool and
# checked from screenshots, exit codes and the sound written by SDL's disk
# audio driver. Skipped when the X tools are missing.
find_package(PNG REQUIRED)
find_program(VOK_XVFB Xvfb)
find_program(VOK_XDOTOOL xdotool)
find_program(VOK_IMPORT import)
find_program(VOK_XWININFO xwininfo)

find_package(PkgConfig REQUIRED)
pkg_check_modules(VOK_PROBE_OPENMPT REQUIRED IMPORTED_TARGET libopenmpt)

add_executable(vok_player_probe ${CMAKE_SOURCE_DIR}/tests/player/probe.cpp
  ${CMAKE_SOURCE_DIR}/media/module_stream.cpp ${CMAKE_SOURCE_DIR}/media/openmpt_module.cpp)
target_link_libraries(vok_player_probe PRIVATE vokcore vokflash PNG::PNG PkgConfig::VOK_PROBE_OPENMPT)

file(GLOB VOK_PLAYER_UNIT_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/player/*_test.cpp)
add_executable(vok_player_tests ${VOK_PLAYER_UNIT_TESTS} ${CMAKE_SOURCE_DIR}/display/sdl_display.cpp
  ${CMAKE_SOURCE_DIR}/app/sdl/frame_pacer.cpp)
target_link_libraries(vok_player_tests PRIVATE vokconvert SDL2::SDL2 GTest::gtest GTest::gtest_main)
gtest_discover_tests(vok_player_tests DISCOVERY_TIMEOUT 60
  PROPERTIES ENVIRONMENT
    "SDL_VIDEODRIVER=dummy;SDL_AUDIODRIVER=dummy;LSAN_OPTIONS=suppressions=${CMAKE_SOURCE_DIR}/tests/player/lsan.supp:print_suppressions=0")

if(VOK_XVFB AND VOK_XDOTOOL AND VOK_IMPORT AND VOK_XWININFO)
  # Escape must end the program promptly. The limit catches a program that
  # hangs or goes on showing frames, not a slow exit: on a loaded machine the
  # exit alone takes more than a second, and a sanitizer build spends longer
  # on its own exit checks.
  if(VOK_SANITIZE)
    set(VOK_ESCAPE_LIMIT_MS 5000)
  else()
    set(VOK_ESCAPE_LIMIT_MS 3000)
  endif()
  set(VOK_PLAYER_CASES window scale fullscreen escape audio music-start end no-music no-audio no-display no-mesh sync keys loop)
  find_program(VOK_OPENBOX openbox)
  if(VOK_OPENBOX)
    list(APPEND VOK_PLAYER_CASES wm-window wm-fullscreen)
  else()
    message(STATUS "openbox missing: the live player's window-manager tests are skipped")
  endif()
  foreach(name ${VOK_PLAYER_CASES})
    add_test(NAME player.${name}
      COMMAND ${CMAKE_SOURCE_DIR}/tests/player/player_case.sh ${name}
        $<TARGET_FILE:vokdemo> $<TARGET_FILE:vok_player_probe> ${VOK_DATA_DIR}
        ${CMAKE_CURRENT_BINARY_DIR}/player/${name})
    # One at a time, so that the timings they check (frame pacing, the sound's
    # start, Escape) are not those of a crowded machine.
    set_tests_properties(player.${name} PROPERTIES TIMEOUT 60 RESOURCE_LOCK vok_live_player
      ENVIRONMENT "LSAN_OPTIONS=suppressions=${CMAKE_SOURCE_DIR}/tests/player/lsan.supp:print_suppressions=0;VOK_ESCAPE_LIMIT_MS=${VOK_ESCAPE_LIMIT_MS}")
  endforeach()
  # Real-time measurements, with tolerances that a crowded machine can
  # exceed (ctest -L realtime runs them apart): how soon Escape ends the
  # program, the show ending on time by itself (the two that play to its
  # end), and the whole show at the sound card's pace with the offset logged
  # at every scene. Every other case reads what it checks from the event.
  set_tests_properties(player.escape PROPERTIES LABELS realtime)
  set_tests_properties(player.end player.no-music PROPERTIES LABELS "heavy;realtime")
  set_tests_properties(player.sync PROPERTIES LABELS "heavy;realtime" TIMEOUT 240)
  set_tests_properties(player.loop PROPERTIES LABELS "heavy;realtime" TIMEOUT 120)
  # Four runs of the player driven by its keys.
  set_tests_properties(player.keys PROPERTIES TIMEOUT 150)
  if(VOK_OPENBOX)
    set_tests_properties(player.wm-window player.wm-fullscreen PROPERTIES LABELS heavy TIMEOUT 120)
  endif()
else()
  message(STATUS "Xvfb, xdotool, import or xwininfo missing: the live player's X tests are skipped")
endif()
