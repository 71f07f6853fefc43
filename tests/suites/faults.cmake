# The data-file fault map: real runs of the program on spoilt data sets. Runs
# in the Release build (each case is a whole show at 10 frames a second).
if(NOT VOK_SANITIZE)
  add_executable(vok_fault_map ${CMAKE_CURRENT_LIST_DIR}/../faults/fault_map_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/../support/child_process.cpp ${CMAKE_CURRENT_LIST_DIR}/../support/test_files.cpp)
  target_include_directories(vok_fault_map PRIVATE ${CMAKE_CURRENT_LIST_DIR}/.. ${CMAKE_SOURCE_DIR})
  target_link_libraries(vok_fault_map PRIVATE GTest::gtest GTest::gtest_main)
  target_compile_definitions(vok_fault_map PRIVATE
    VOK_DATA_DIR="${VOK_DATA_DIR}"
    VOK_DEMO_BINARY="$<TARGET_FILE:vokdemo>"
    VOK_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
    VOK_FAULTS_OUTPUT="${CMAKE_BINARY_DIR}/faults.md"
    VOK_FAULTS_OUTPUT_WINDOWS="${CMAKE_BINARY_DIR}/faults-windows")
  add_dependencies(vok_fault_map vokdemo vokdata)
  add_test(NAME faults.map COMMAND vok_fault_map --gtest_filter=FaultMap.EveryDataFileSpoiltEveryWay)
  set_tests_properties(faults.map PROPERTIES TIMEOUT 600 LABELS faults)
  # Its Windows column is added by tests/suites/windows.cmake, one test per width.
endif()
