# The live player's flash warning and --gentle on a private X server (Xvfb,
# xdotool, xwininfo; the gentle case reads what the player presents, with
# its times, through the player probe). Skipped when the tools are missing.
find_program(VOK_FLASH_XVFB Xvfb)
find_program(VOK_FLASH_XDOTOOL xdotool)
find_program(VOK_FLASH_XWININFO xwininfo)
if(VOK_FLASH_XVFB AND VOK_FLASH_XDOTOOL AND VOK_FLASH_XWININFO)
  foreach(name warning gentle)
    add_test(NAME player.flash-${name}
      COMMAND ${CMAKE_SOURCE_DIR}/tests/player/flash_case.sh ${name} $<TARGET_FILE:vokdemo> $<TARGET_FILE:vok_player_probe>
        ${VOK_DATA_DIR} ${CMAKE_CURRENT_BINARY_DIR}/player/flash-${name})
    set_tests_properties(player.flash-${name} PROPERTIES TIMEOUT 120 RESOURCE_LOCK vok_live_player
      ENVIRONMENT "LSAN_OPTIONS=suppressions=${CMAKE_SOURCE_DIR}/tests/player/lsan.supp:print_suppressions=0")
  endforeach()
  # Two players at 60 frames a second for 4 s each.
  set_tests_properties(player.flash-gentle PROPERTIES LABELS heavy)
else()
  message(STATUS "Xvfb, xdotool or xwininfo missing: the player's flash tests are skipped")
endif()
