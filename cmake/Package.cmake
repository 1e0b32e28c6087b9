# The Debian package (scripts/package runs cpack): what `cmake --install` puts in the tree,
# under /usr, with its library dependencies found by dpkg-shlibdeps.
set(CPACK_PACKAGE_NAME zav-data-patcher)
set(CPACK_PACKAGE_VENDOR ${ZAV_PUBLISHER})
set(CPACK_PACKAGE_CONTACT "ZAV Data Patcher maintainers <maintainers@zavpatcher.example.org>"
  CACHE STRING "The package's maintainer, \"Name <address>\"")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
  "add new tracks and cars to the racing game ZAV, or remove them")
# The long description as the package shows it: lines of at most 79 columns, "." between
# paragraphs.
string(CONCAT CPACK_PACKAGE_DESCRIPTION
  "ZAV Data Patcher adds new tracks and cars, delivered on a disc beside the\n"
  "tool, to a copy of the racing game ZAV installed in a Wine prefix, and\n"
  "removes added ones again. It reads the game's track and car lists, copies\n"
  "the new data files into the game's data folders, asking before it replaces\n"
  "a file, and rewrites the lists, which it never leaves half-written.\n"
  ".\n"
  "The package holds the window, zav-patcher, and the same steps on a terminal\n"
  "for scripts, zavpatch, with their manual pages and zavpatch's bash\n"
  "completion.")
set(CPACK_PACKAGE_HOMEPAGE_URL ${ZAV_HOMEPAGE_URL})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)

set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${CPACK_PACKAGE_CONTACT})
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "bash-completion, wine")
set(CPACK_DEBIAN_FILE_NAME "${CPACK_PACKAGE_NAME}_${PROJECT_VERSION}_amd64.deb")
if(NOT CMAKE_SYSTEM_PROCESSOR MATCHES "x86_64|AMD64|amd64")
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
endif()

include(CPack)
