# The capture (vokdemo --capture, --png, --wav), checked with ffprobe, ffmpeg's
# decoders and libopenmpt's own render. The whole-show cases are heavy.
find_package(PkgConfig REQUIRED)
pkg_check_modules(VOK_CAPTURE_OPENMPT REQUIRED IMPORTED_TARGET libopenmpt)

add_executable(vok_capture_tests
  ${CMAKE_SOURCE_DIR}/tests/capture/capture_test.cpp
  ${CMAKE_SOURCE_DIR}/tests/capture/capture_support.cpp
  ${CMAKE_SOURCE_DIR}/tests/support/command.cpp
  ${CMAKE_SOURCE_DIR}/tests/support/test_files.cpp)
target_include_directories(vok_capture_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests)
target_link_libraries(vok_capture_tests PRIVATE vokcore PkgConfig::VOK_CAPTURE_OPENMPT GTest::gtest GTest::gtest_main)
target_compile_definitions(vok_capture_tests PRIVATE
  VOK_DATA_DIR="${VOK_DATA_DIR}"
  VOK_DEMO_BINARY="$<TARGET_FILE:vokdemo>")
add_dependencies(vok_capture_tests vokdemo vokdata)
gtest_discover_tests(vok_capture_tests DISCOVERY_TIMEOUT 60 TEST_FILTER "Capture.*"
  PROPERTIES TIMEOUT 300)
gtest_discover_tests(vok_capture_tests DISCOVERY_TIMEOUT 60 TEST_FILTER "CaptureHeavy.*"
  PROPERTIES LABELS heavy TIMEOUT 900)

# The capture benchmark: run build-dir/tests/vok_capture_bench.
find_package(benchmark QUIET)
if(benchmark_FOUND)
  add_executable(vok_capture_bench
    ${CMAKE_SOURCE_DIR}/tests/capture/capture_bench.cpp
    ${CMAKE_SOURCE_DIR}/tests/support/test_files.cpp)
  target_include_directories(vok_capture_bench PRIVATE ${CMAKE_SOURCE_DIR}/tests)
  target_link_libraries(vok_capture_bench PRIVATE benchmark::benchmark)
  target_compile_definitions(vok_capture_bench PRIVATE
    VOK_DATA_DIR="${VOK_DATA_DIR}"
    VOK_DEMO_BINARY="$<TARGET_FILE:vokdemo>")
  add_dependencies(vok_capture_bench vokdemo vokdata)
endif()
