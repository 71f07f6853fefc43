# The vokdemo executable for Linux: live player (SDL2, libopenmpt), headless
# renderer and capture, over the portable core.
find_package(PkgConfig REQUIRED)
find_package(SDL2 REQUIRED)
pkg_check_modules(OPENMPT REQUIRED IMPORTED_TARGET libopenmpt)
find_package(OpenSSL REQUIRED)
find_package(PNG REQUIRED)
pkg_check_modules(FFMPEG REQUIRED IMPORTED_TARGET libavformat libavcodec libswscale libavutil)

add_library(vokposix STATIC platform/posix_platform.cpp)
target_link_libraries(vokposix PUBLIC vokcore)

file(GLOB VOK_SDL_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/display/sdl_*.cpp)
file(GLOB VOK_APP_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/app/*.cpp)
list(FILTER VOK_APP_SOURCES EXCLUDE REGEX "/(frame_clock|data_location|win32_.*)\\.cpp$")
add_executable(vokdemo ${VOK_APP_SOURCES} ${VOK_SDL_SOURCES})
target_link_libraries(vokdemo PRIVATE vokposix SDL2::SDL2 PkgConfig::OPENMPT OpenSSL::Crypto PNG::PNG PkgConfig::FFMPEG)

include(cmake/install.cmake)
