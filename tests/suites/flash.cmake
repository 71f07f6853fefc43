# The photosensitive-flash analyser over synthetic frame streams, the
# screen of --gentle against it (with the project's show) and the warning.
add_executable(vok_flash_tests
  ${CMAKE_SOURCE_DIR}/tests/flash/flash_analyser_test.cpp
  ${CMAKE_SOURCE_DIR}/tests/flash/pixel_tracks_test.cpp
  ${CMAKE_SOURCE_DIR}/tests/flash/gentle_screen_test.cpp
  ${CMAKE_SOURCE_DIR}/tests/flash/flash_warning_test.cpp
  ${CMAKE_SOURCE_DIR}/tests/support/test_files.cpp)
target_link_libraries(vok_flash_tests PRIVATE vokshell GTest::gtest GTest::gtest_main)
target_compile_definitions(vok_flash_tests PRIVATE VOK_DATA_DIR="${VOK_DATA_DIR}")
add_dependencies(vok_flash_tests vokdata)
gtest_discover_tests(vok_flash_tests DISCOVERY_TIMEOUT 60)
target_include_directories(vok_flash_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests)
