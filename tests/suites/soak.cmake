# Twenty shows in one process (the sanitizer build is the one that matters).
add_executable(vok_soak_test ${CMAKE_CURRENT_LIST_DIR}/../soak/soak_test.cpp)
target_link_libraries(vok_soak_test PRIVATE vokshell GTest::gtest GTest::gtest_main)
target_compile_definitions(vok_soak_test PRIVATE VOK_DATA_DIR="${VOK_DATA_DIR}")
add_dependencies(vok_soak_test vokdata)
add_test(NAME soak.twenty_shows COMMAND vok_soak_test)
set_tests_properties(soak.twenty_shows PROPERTIES TIMEOUT 600 LABELS soak)
