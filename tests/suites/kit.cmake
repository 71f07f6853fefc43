# The kit (vokkit): conversions, refusals, the data check, and the steps of
# docs/make-it-yours.md rendered by vokdemo. Inputs are written by the tests
# and by ImageMagick.
add_executable(vok_kit_tests
  ${CMAKE_SOURCE_DIR}/tests/kit/flashes_test.cpp
  ${CMAKE_SOURCE_DIR}/tests/kit/kit_support.cpp
  ${CMAKE_SOURCE_DIR}/tests/kit/kit_test.cpp
  ${CMAKE_SOURCE_DIR}/tests/kit/make_it_yours_test.cpp
  ${CMAKE_SOURCE_DIR}/tests/kit/test_models.cpp
  ${CMAKE_SOURCE_DIR}/tests/kit/verify_test.cpp
  ${CMAKE_SOURCE_DIR}/tests/support/command.cpp
  ${CMAKE_SOURCE_DIR}/tests/support/test_files.cpp)
target_include_directories(vok_kit_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests ${CMAKE_SOURCE_DIR})
target_link_libraries(vok_kit_tests PRIVATE vokcore GTest::gtest GTest::gtest_main)
target_compile_definitions(vok_kit_tests PRIVATE
  VOK_DATA_DIR="${VOK_DATA_DIR}"
  VOK_KIT_BINARY="$<TARGET_FILE:vokkit>"
  VOK_DEMO_BINARY="$<TARGET_FILE:vokdemo>")
add_dependencies(vok_kit_tests vokkit vokdemo vokdata vokframetable)
gtest_discover_tests(vok_kit_tests DISCOVERY_TIMEOUT 60)
