# A Debian package of this tree: `quorl` with the window, or `quorl-cli`
# (QUORL_GUI off) for render machines without a desktop. Both install
# /usr/bin/quorl, so they cannot be installed together.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Quorl developers")
set(CPACK_PACKAGE_CONTACT "The Quorl developers <quorl@example.org>")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://quorl.example.org/")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
# The libraries the program links are read off the binary.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)

if(QUORL_GUI)
  set(CPACK_PACKAGE_NAME quorl)
  set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "generative pictures from a shape repeated along a path")
  set(CPACK_DEBIAN_PACKAGE_CONFLICTS quorl-cli)
  set(CPACK_DEBIAN_PACKAGE_SUGGESTS "ffmpeg, parallel")
else()
  set(CPACK_PACKAGE_NAME quorl-cli)
  set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "generative pictures from a shape repeated along a path (no window)")
  set(CPACK_DEBIAN_PACKAGE_CONFLICTS quorl)
  set(CPACK_DEBIAN_PACKAGE_REPLACES quorl)
  set(CPACK_DEBIAN_PACKAGE_SUGGESTS "ffmpeg, parallel")
endif()
set(CPACK_PACKAGE_DESCRIPTION
    "Quorl repeats one of eight shape functions along a path, morphing it from its start\n"
    "to its end values, and lays every point down as a soft dot of colour. Every saved\n"
    "picture carries the settings and curves that make it again, byte for byte.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})

include(CPack)

if(QUORL_TESTS)
  add_test(NAME package_check
    COMMAND ${CMAKE_SOURCE_DIR}/tests/tools/package_test.sh ${CMAKE_BINARY_DIR} ${CMAKE_SOURCE_DIR} ${QUORL_GUI})
  set_tests_properties(package_check PROPERTIES ENVIRONMENT "${QUORL_TEST_ENV}" TIMEOUT 600)
endif()
