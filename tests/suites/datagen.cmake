# The data set generator writes the same bytes on every run: a second run
# into a scratch folder must reproduce every file of the build's data folder.
add_test(NAME datagen_same_bytes_every_run
  COMMAND ${CMAKE_COMMAND}
    -DGENERATOR=$<TARGET_FILE:vokdatagen>
    -DREFERENCE=${VOK_DATA_DIR}
    -DSCRATCH=${CMAKE_CURRENT_BINARY_DIR}/datagen_rerun
    -P ${CMAKE_SOURCE_DIR}/tools/datagen/compare_rerun.cmake)
