# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian package: `cpack -G DEB` in the build folder (scripts/package.sh does it all). It holds
# the system layout of packaging/Install.cmake under /usr.
set(CPACK_PACKAGE_NAME zrv10)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "ZRV 10 User Software developers")
set(CPACK_PACKAGE_CONTACT "ZRV 10 User Software developers <zrv10@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "PC companion program of the ZRV 10 balancing instrument")
set(CPACK_PACKAGE_DESCRIPTION
    "Edits hydronic balancing projects, moves them to and from the ZRV 10 instrument over USB, shows, exports and prints its measurement records and exchanges projects with the engineering workbook. Includes the command-line companion zrv10-cli and a simulated instrument.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# The install scripts see the real prefix: the desktop entry names /usr/bin, not the staging folder.
set(CPACK_SET_DESTDIR ON)
set(CPACK_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded at run time, so the library scan cannot see them: the display plugins and the fonts.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-dejavu-core")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")

include(CPack)
