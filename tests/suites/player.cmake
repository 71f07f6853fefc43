# The live player under a private X server (Xvfb), driven with xdotool and
# checked from screenshots, exit codes and the sound written by SDL's disk
# audio driver. Skipped when the X tools are missing.
find_package(PNG REQUIRED)
find_program(VOK_XVFB Xvfb)
find_program(VOK_XDOTOOL xdotool)
find_program(VOK_IMPORT import)
find_program(VOK_XWININFO xwininfo)

add_executable(vok_player_probe ${CMAKE_SOURCE_DIR}/tests/player/probe.cpp)
target_link_libraries(vok_player_probe PRIVATE vokcore PNG::PNG)

file(GLOB VOK_PLAYER_UNIT_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/player/*_test.cpp)
add_executable(vok_player_tests ${VOK_PLAYER_UNIT_TESTS} ${CMAKE_SOURCE_DIR}/display/sdl_display.cpp
  ${CMAKE_SOURCE_DIR}/app/sdl/frame_pacer.cpp)
target_link_libraries(vok_player_tests PRIVATE vokconvert SDL2::SDL2 GTest::gtest GTest::gtest_main)
gtest_discover_tests(vok_player_tests DISCOVERY_TIMEOUT 60
  PROPERTIES ENVIRONMENT
    "SDL_VIDEODRIVER=dummy;SDL_AUDIODRIVER=dummy;LSAN_OPTIONS=suppressions=${CMAKE_SOURCE_DIR}/tests/player/lsan.supp:print_suppressions=0")

if(VOK_XVFB AND VOK_XDOTOOL AND VOK_IMPORT AND VOK_XWININFO)
  # Escape must end the program within a second; a sanitizer build spends
  # longer than that on its own exit checks.
  if(VOK_SANITIZE)
    set(VOK_ESCAPE_LIMIT_MS 4000)
  else()
    set(VOK_ESCAPE_LIMIT_MS 1000)
  endif()
  set(VOK_PLAYER_CASES window scale fullscreen escape audio end no-music no-audio no-mesh)
  foreach(name ${VOK_PLAYER_CASES})
    add_test(NAME player.${name}
      COMMAND ${CMAKE_SOURCE_DIR}/tests/player/player_case.sh ${name}
        $<TARGET_FILE:vokdemo> $<TARGET_FILE:vok_player_probe> ${VOK_DATA_DIR}
        ${CMAKE_CURRENT_BINARY_DIR}/player/${name})
    # Each run keeps a core busy (the loop never sleeps): one at a time, so
    # that the timings they check are not those of a crowded machine.
    set_tests_properties(player.${name} PROPERTIES TIMEOUT 60 RESOURCE_LOCK vok_live_player
      ENVIRONMENT "LSAN_OPTIONS=suppressions=${CMAKE_SOURCE_DIR}/tests/player/lsan.supp:print_suppressions=0;VOK_ESCAPE_LIMIT_MS=${VOK_ESCAPE_LIMIT_MS}")
  endforeach()
  # The two that play to the end of the show.
  set_tests_properties(player.end player.no-music PROPERTIES LABELS heavy)
else()
  message(STATUS "Xvfb, xdotool, import or xwininfo missing: the live player's X tests are skipped")
endif()
