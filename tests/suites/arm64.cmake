# The 64-bit ARM build under qemu's user-mode emulation: cross-compiles the
# programs and their tests (cmake/aarch64-linux-gnu.cmake), runs the unit and
# reference tests, compares the whole show's frames with this build's at 10
# fps (at 60 fps the build's frame table and the verify case do), shows the
# live player's picture on a private X server, checks the data set with the
# kit, writes the music, and installs and runs the arm64 package. Every case
# skips, saying why, when the cross compiler, qemu or the arm64 libraries are
# missing.
set(VOK_ARM64_CASE ${CMAKE_CURRENT_LIST_DIR}/../arm64/arm64_case.sh)

add_test(NAME arm64.build COMMAND ${VOK_ARM64_CASE} build ${CMAKE_SOURCE_DIR} ${CMAKE_BINARY_DIR})
set_tests_properties(arm64.build PROPERTIES
  FIXTURES_SETUP vok_arm64_build SKIP_RETURN_CODE 77 LABELS heavy TIMEOUT 1200 COST 300)

foreach(case core_tests reference data_set hashes_10 player_window player_fullscreen kmsdrm_absent
    kit_check music_wav verify package)
  add_test(NAME arm64.${case} COMMAND ${VOK_ARM64_CASE} ${case} ${CMAKE_SOURCE_DIR} ${CMAKE_BINARY_DIR})
  set_tests_properties(arm64.${case} PROPERTIES
    FIXTURES_REQUIRED vok_arm64_build SKIP_RETURN_CODE 77 LABELS heavy TIMEOUT 600)
endforeach()
# The live player keeps a core busy, as in the player's own cases.
set_tests_properties(arm64.player_window arm64.player_fullscreen PROPERTIES RESOURCE_LOCK vok_live_player)
# The full-length run at 60 fps takes about two minutes under qemu.
set_tests_properties(arm64.verify PROPERTIES COST 120)
