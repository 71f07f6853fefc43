# Installation of the Linux program and its Debian package (CPack).
#   cmake --install BUILD [--prefix DIR]
#   cpack --config BUILD/CPackConfig.cmake      -> vokdemo_VERSION_amd64.deb
include(GNUInstallDirs)

# Debian keeps games apart from other programs.
set(VOK_INSTALL_BINDIR games CACHE STRING "Where the program is installed, under the prefix")
set(VOK_INSTALL_DATADIR ${CMAKE_INSTALL_DATADIR}/games/vokdemo CACHE STRING "Where the data set is installed")
set(VOK_INSTALL_DOCDIR ${CMAKE_INSTALL_DATADIR}/doc/vokdemo)

# The program finds the installed data set beside itself first, so that an
# unpacked package works wherever it lies.
file(RELATIVE_PATH VOK_INSTALLED_DATA_RELATIVE /${VOK_INSTALL_BINDIR} /${VOK_INSTALL_DATADIR})
add_library(vokdatalocation STATIC ${CMAKE_SOURCE_DIR}/platform/data_location.cpp)
target_include_directories(vokdatalocation PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(vokdatalocation PUBLIC vokcore)
target_compile_definitions(vokdatalocation PRIVATE
  VOK_INSTALLED_DATA_RELATIVE="${VOK_INSTALLED_DATA_RELATIVE}"
  VOK_INSTALLED_DATA_DIR="${CMAKE_INSTALL_PREFIX}/${VOK_INSTALL_DATADIR}")
target_link_libraries(vokdemo PRIVATE vokdatalocation)

# The icon: the middle of the title picture, 48x48.
add_executable(vokicon ${CMAKE_SOURCE_DIR}/tools/icon/make_icon.cpp)
target_link_libraries(vokicon PRIVATE vokcore PNG::PNG)
set(VOK_ICON ${CMAKE_BINARY_DIR}/packaging/vokdemo.png)
add_custom_command(OUTPUT ${VOK_ICON}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/packaging
  COMMAND vokicon ${VOK_DATA_DIR}/vok_zumber.pcx ${VOK_ICON}
  DEPENDS vokicon vokdata
  COMMENT "Making the icon")

# Manual page and changelog, compressed as Debian wants them (no name, no time stamp).
find_program(VOK_GZIP gzip REQUIRED)
set(VOK_MANPAGE ${CMAKE_BINARY_DIR}/packaging/vokdemo.6.gz)
set(VOK_CHANGELOG ${CMAKE_BINARY_DIR}/packaging/changelog.gz)
add_custom_command(OUTPUT ${VOK_MANPAGE}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/packaging
  COMMAND ${VOK_GZIP} -9nc ${CMAKE_SOURCE_DIR}/packaging/vokdemo.6 > ${VOK_MANPAGE}
  DEPENDS ${CMAKE_SOURCE_DIR}/packaging/vokdemo.6)
add_custom_command(OUTPUT ${VOK_CHANGELOG}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/packaging
  COMMAND ${VOK_GZIP} -9nc ${CMAKE_SOURCE_DIR}/packaging/changelog > ${VOK_CHANGELOG}
  DEPENDS ${CMAKE_SOURCE_DIR}/packaging/changelog)
add_custom_target(vokpackaging ALL DEPENDS ${VOK_ICON} ${VOK_MANPAGE} ${VOK_CHANGELOG})

install(TARGETS vokdemo RUNTIME DESTINATION ${VOK_INSTALL_BINDIR})
install(FILES ${VOK_DATA_OUTPUTS} DESTINATION ${VOK_INSTALL_DATADIR})
install(FILES ${CMAKE_SOURCE_DIR}/packaging/vokdemo.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${VOK_ICON} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/48x48/apps)
install(FILES ${VOK_MANPAGE} DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES ${CMAKE_SOURCE_DIR}/LICENSE DESTINATION ${VOK_INSTALL_DOCDIR} RENAME copyright)
install(FILES ${VOK_CHANGELOG} DESTINATION ${VOK_INSTALL_DOCDIR})

# The Debian package. Its library dependencies come from dpkg-shlibdeps.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vokdemo)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "the vokdemo authors")
set(CPACK_PACKAGE_CONTACT "The vokdemo authors <vokdemo@users.noreply.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "self-running audiovisual demo")
set(CPACK_PACKAGE_DESCRIPTION "Fourteen software-rendered scenes at 320x240 pixels, timed to a
tracker module, for 99.3 seconds: wave warps, turning wireframe letters,
sprites, a channel drift, a masked cross-fade, a lens and a spinning object.
It plays in a window or full screen, and can render the show headless frame
by frame or capture it to video.")
# Debian packages install under /usr whatever the prefix of cmake --install.
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
include(CPack)
