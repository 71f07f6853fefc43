# The photosensitive-flash analyser over synthetic frame streams, and the
# softened screen of --gentle against it (with the project's show).
add_executable(vok_flash_tests
  ${CMAKE_SOURCE_DIR}/tests/flash/flash_analyser_test.cpp
  ${CMAKE_SOURCE_DIR}/tests/flash/pixel_tracks_test.cpp
  ${CMAKE_SOURCE_DIR}/tests/flash/gentle_screen_test.cpp)
target_link_libraries(vok_flash_tests PRIVATE vokflash vokshell vokconvert GTest::gtest GTest::gtest_main)
target_compile_definitions(vok_flash_tests PRIVATE VOK_DATA_DIR="${VOK_DATA_DIR}")
add_dependencies(vok_flash_tests vokdata)
gtest_discover_tests(vok_flash_tests DISCOVERY_TIMEOUT 60)
