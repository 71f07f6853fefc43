# The vokdemo executable for Linux: live player (SDL2, libopenmpt), headless
# renderer and capture, over the portable core.
find_package(PkgConfig REQUIRED)
find_package(SDL2 REQUIRED)
pkg_check_modules(OPENMPT REQUIRED IMPORTED_TARGET libopenmpt)
find_package(PNG REQUIRED)
pkg_check_modules(FFMPEG REQUIRED IMPORTED_TARGET libavformat libavcodec libswscale libswresample libavutil)

add_library(vokposix STATIC platform/posix_platform.cpp)
target_link_libraries(vokposix PUBLIC vokcore)

# The module loader and the one renderer of the music (ModuleStream), for the
# player, the capture, the kit's check and the browser's music tool.
add_library(vokmusic STATIC media/openmpt_module.cpp media/module_stream.cpp)
target_link_libraries(vokmusic PUBLIC vokcore PkgConfig::OPENMPT)

# PNG pictures, for the player's screenshots, the capture and the kit.
add_library(vokpng STATIC media/png_writer.cpp)
target_link_libraries(vokpng PUBLIC vokcore PNG::PNG)

add_executable(vokdemo
  app/cli/main.cpp
  app/cli/options.cpp
  app/cli/progress_line.cpp
  app/sdl/player_sdl.cpp
  app/sdl/flash_warning.cpp
  app/sdl/sdl_music.cpp
  app/headless/headless.cpp
  app/headless/verify.cpp
  app/capture/capture.cpp
  app/capture/capture_clip.cpp
  app/capture/capture_files.cpp
  app/capture/capture_music.cpp
  app/capture/capture_palette.cpp
  app/capture/capture_video.cpp
  app/capture/capture_wav.cpp
  app/capture/video_format.cpp
  app/sdl/frame_pacer.cpp
  app/sdl/player_keys.cpp
  display/sdl_display.cpp)
target_link_libraries(vokdemo PRIVATE vokshell vokconvert vokposix vokmusic vokpng vokverify SDL2::SDL2
  PNG::PNG PkgConfig::FFMPEG)

include(cmake/install.cmake)
