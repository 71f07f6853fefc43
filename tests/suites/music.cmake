# The generated module "zumber.xm": its writer and score (built in from the
# data generator), and how libxmp and libopenmpt load and play the file.
find_package(PkgConfig REQUIRED)
pkg_check_modules(VOK_MUSIC_XMP REQUIRED IMPORTED_TARGET libxmp)
pkg_check_modules(VOK_MUSIC_OPENMPT REQUIRED IMPORTED_TARGET libopenmpt)

file(GLOB VOK_MUSIC_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/music/*.cpp)
file(GLOB VOK_MUSIC_GENERATOR CONFIGURE_DEPENDS
  ${CMAKE_SOURCE_DIR}/tools/datagen/xm_*.cpp
  ${CMAKE_SOURCE_DIR}/tools/datagen/synth_*.cpp
  ${CMAKE_SOURCE_DIR}/tools/datagen/music_*.cpp)
add_executable(vok_music_tests ${VOK_MUSIC_TESTS} ${VOK_MUSIC_GENERATOR}
  ${CMAKE_SOURCE_DIR}/media/module_stream.cpp ${CMAKE_SOURCE_DIR}/media/openmpt_module.cpp)
target_include_directories(vok_music_tests PRIVATE ${CMAKE_SOURCE_DIR}/tools/datagen)
target_link_libraries(vok_music_tests PRIVATE vokcore
  PkgConfig::VOK_MUSIC_XMP PkgConfig::VOK_MUSIC_OPENMPT GTest::gtest GTest::gtest_main)
target_compile_definitions(vok_music_tests PRIVATE VOK_DATA_DIR="${VOK_DATA_DIR}")
add_dependencies(vok_music_tests vokdata)
gtest_discover_tests(vok_music_tests DISCOVERY_TIMEOUT 60)
