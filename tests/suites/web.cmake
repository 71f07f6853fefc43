# The browser build in headless Chromium: the verification modes against the
# native renderer (every frame at 60 and 24 fps; ?verify's table), the page
# itself, its keys, the loop, bad input, the page on a phone (touch
# emulation) and offline. The build case makes build/web with emscripten; the rest need it.
# Skipped (exit 77) when emscripten, Chromium or node is missing.
set(VOK_WEB_CASE ${CMAKE_SOURCE_DIR}/tests/web/web_case.sh)

add_test(NAME web.build COMMAND ${VOK_WEB_CASE} build ${CMAKE_SOURCE_DIR} ${CMAKE_BINARY_DIR})
set_tests_properties(web.build PROPERTIES
  FIXTURES_SETUP vok_web_build SKIP_RETURN_CODE 77 LABELS heavy TIMEOUT 600)

foreach(case frames page bad-input keys lock loop touch offline verify)
  add_test(NAME web.${case} COMMAND ${VOK_WEB_CASE} ${case} ${CMAKE_SOURCE_DIR} ${CMAKE_BINARY_DIR})
  set_tests_properties(web.${case} PROPERTIES
    FIXTURES_REQUIRED vok_web_build SKIP_RETURN_CODE 77 LABELS heavy TIMEOUT 300)
endforeach()
set_tests_properties(web.frames web.verify PROPERTIES COST 60)
# Real-time measurements (picture against music over 30 s of playing, and
# after each new beginning of a looping show): run apart with ctest -L
# realtime. The other cases read what they check from the page's report of
# the event.
set_tests_properties(web.lock web.loop PROPERTIES LABELS "heavy;realtime")
