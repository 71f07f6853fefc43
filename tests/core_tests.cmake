# The core's unit tests, built for Linux and for Windows (run under Wine).
set(VOK_CORE_TEST_SOURCES
  ${CMAKE_SOURCE_DIR}/tests/core/ase_test.cpp
  ${CMAKE_SOURCE_DIR}/tests/core/effects_channel_drift_test.cpp
  ${CMAKE_SOURCE_DIR}/tests/core/effects_fader_test.cpp
  ${CMAKE_SOURCE_DIR}/tests/core/effects_lens_test.cpp
  ${CMAKE_SOURCE_DIR}/tests/core/effects_masked_cross_fade_test.cpp
  ${CMAKE_SOURCE_DIR}/tests/core/effects_wave_warp_test.cpp
  ${CMAKE_SOURCE_DIR}/tests/core/frame_clock_test.cpp
  ${CMAKE_SOURCE_DIR}/tests/core/image_test.cpp
  ${CMAKE_SOURCE_DIR}/tests/core/math3d_test.cpp
  ${CMAKE_SOURCE_DIR}/tests/core/pcx_test.cpp
  ${CMAKE_SOURCE_DIR}/tests/core/pixel_format_test.cpp
  ${CMAKE_SOURCE_DIR}/tests/core/random_test.cpp
  ${CMAKE_SOURCE_DIR}/tests/core/timeline_test.cpp
  ${CMAKE_SOURCE_DIR}/tests/core/wireframe_test.cpp
  ${CMAKE_SOURCE_DIR}/tests/support/test_files.cpp
  ${CMAKE_SOURCE_DIR}/tests/support/test_data.cpp)
