# The live player's flash warning and --gentle on a private X server (Xvfb,
# xdotool, xwininfo; the gentle case grabs the window with ffmpeg and checks the stream
# with vokkit flashes). Skipped when the tools are missing.
find_program(VOK_FLASH_XVFB Xvfb)
find_program(VOK_FLASH_XDOTOOL xdotool)
find_program(VOK_FLASH_XWININFO xwininfo)
find_program(VOK_FLASH_FFMPEG ffmpeg)
if(VOK_FLASH_XVFB AND VOK_FLASH_XDOTOOL AND VOK_FLASH_XWININFO AND VOK_FLASH_FFMPEG)
  foreach(name warning gentle)
    add_test(NAME player.flash-${name}
      COMMAND ${CMAKE_SOURCE_DIR}/tests/player/flash_case.sh ${name} $<TARGET_FILE:vokdemo> $<TARGET_FILE:vokkit>
        ${VOK_DATA_DIR} ${CMAKE_CURRENT_BINARY_DIR}/player/flash-${name})
    set_tests_properties(player.flash-${name} PROPERTIES TIMEOUT 120 RESOURCE_LOCK vok_live_player
      ENVIRONMENT "LSAN_OPTIONS=suppressions=${CMAKE_SOURCE_DIR}/tests/player/lsan.supp:print_suppressions=0")
  endforeach()
  # Two players at 60 frames a second, grabbed for 4 s each.
  set_tests_properties(player.flash-gentle PROPERTIES LABELS heavy)
else()
  message(STATUS "Xvfb, xdotool, xwininfo or ffmpeg missing: the player's flash tests are skipped")
endif()
