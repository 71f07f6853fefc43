# The photosensitive-flash analyser over synthetic frame streams.
add_executable(vok_flash_tests ${CMAKE_SOURCE_DIR}/tests/flash/flash_analyser_test.cpp)
target_link_libraries(vok_flash_tests PRIVATE vokflash GTest::gtest GTest::gtest_main)
gtest_discover_tests(vok_flash_tests DISCOVERY_TIMEOUT 60)
