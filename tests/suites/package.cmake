# The Debian package: built with CPack, unpacked and run, checked by lintian.
# Skipped when the Debian packaging tools are missing.
find_program(VOK_DPKG_SHLIBDEPS dpkg-shlibdeps)
find_program(VOK_LINTIAN lintian)
if(VOK_DPKG_SHLIBDEPS AND VOK_LINTIAN)
  add_test(NAME package.deb
    COMMAND ${CMAKE_SOURCE_DIR}/tests/package/deb_test.sh ${CMAKE_BINARY_DIR} $<TARGET_FILE:vokdemo>
      ${VOK_DATA_DIR} ${CMAKE_CURRENT_BINARY_DIR}/package)
  set_tests_properties(package.deb PROPERTIES LABELS heavy TIMEOUT 300)
else()
  message(STATUS "dpkg-shlibdeps or lintian missing: the package test is skipped")
endif()

# The AppStream metainfo follows the flash verdict and validates; the desktop
# entry validates. Skipped (77) without appstreamcli or desktop-file-validate.
add_test(NAME package.metainfo
  COMMAND ${CMAKE_SOURCE_DIR}/tests/package/metainfo_test.sh ${CMAKE_SOURCE_DIR} ${CMAKE_CURRENT_BINARY_DIR}/metainfo)
set_tests_properties(package.metainfo PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 60)
