# The recipe of docs/architecture.md for adding a scene, followed on a scratch
# copy of the scene table: built into a small program with the rest of the
# core as it is, and the show played through on a virtual clock.
set(VOK_RECIPE_TABLE ${CMAKE_BINARY_DIR}/recipe/scene_table.cpp)
add_custom_command(OUTPUT ${VOK_RECIPE_TABLE}
  COMMAND ${CMAKE_COMMAND} -DDOC=${CMAKE_SOURCE_DIR}/docs/architecture.md
    -DTABLE=${CMAKE_SOURCE_DIR}/demo/scene_table.cpp -DOUT=${VOK_RECIPE_TABLE}
    -P ${CMAKE_SOURCE_DIR}/tests/recipe/apply_recipe.cmake
  DEPENDS ${CMAKE_SOURCE_DIR}/docs/architecture.md ${CMAKE_SOURCE_DIR}/demo/scene_table.cpp
    ${CMAKE_SOURCE_DIR}/tests/recipe/apply_recipe.cmake
  COMMENT "Adding a scene to a copy of the scene table as docs/architecture.md says")

# The scenes of the project's table, counted from its rows.
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/demo/scene_table.cpp)
file(STRINGS ${CMAKE_SOURCE_DIR}/demo/scene_table.cpp vok_scene_rows REGEX "^    {\"")
list(LENGTH vok_scene_rows vok_scenes_before)

# The copy comes first, so the core's own table is never taken from the library;
# with it the option parser, the chapter builder and the flash report, which
# list the scenes.
add_executable(vok_recipe_test ${VOK_RECIPE_TABLE} ${CMAKE_SOURCE_DIR}/tests/recipe/recipe_test.cpp
  ${CMAKE_SOURCE_DIR}/app/cli/options.cpp ${CMAKE_SOURCE_DIR}/app/capture/capture_clip.cpp)
target_include_directories(vok_recipe_test PRIVATE ${CMAKE_SOURCE_DIR})
target_link_libraries(vok_recipe_test PRIVATE vokshell vokflash GTest::gtest GTest::gtest_main)
target_compile_definitions(vok_recipe_test PRIVATE VOK_DATA_DIR="${VOK_DATA_DIR}" VOK_SCENES_BEFORE=${vok_scenes_before})
add_dependencies(vok_recipe_test vokdata)
gtest_discover_tests(vok_recipe_test DISCOVERY_TIMEOUT 60)
