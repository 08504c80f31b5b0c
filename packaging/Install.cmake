# SPDX-License-Identifier: GPL-3.0-or-later
# Install layout. The default is the system one a Debian package uses: executables in bin/, the
# driver libraries in lib/zrv10/ (the simulator in lib/zrv10/simulator/), the languages in
# share/zrv10/language/. With ZRV_PORTABLE_INSTALL everything lies together in bin/, as in the build
# tree. The program tells the two apart by the language folder beside it.
option(ZRV_PORTABLE_INSTALL "Install a portable folder (everything in bin/) instead of the system layout" OFF)
if(ZRV_PORTABLE_INSTALL)
  set(ZRV_INSTALL_DRIVER_DIR bin)
  set(ZRV_INSTALL_LANGUAGE_DIR bin/language)
  set(ZRV_INSTALL_DOC_DIR bin)
else()
  set(ZRV_INSTALL_DRIVER_DIR lib/zrv10)
  set(ZRV_INSTALL_LANGUAGE_DIR share/zrv10/language)
  set(ZRV_INSTALL_DOC_DIR share/doc/zrv10)
endif()

install(DIRECTORY ${CMAKE_SOURCE_DIR}/language/ DESTINATION ${ZRV_INSTALL_LANGUAGE_DIR})
install(TARGETS zrv10usb LIBRARY DESTINATION ${ZRV_INSTALL_DRIVER_DIR})
install(TARGETS zrv10sim_driver LIBRARY DESTINATION ${ZRV_INSTALL_DRIVER_DIR}/simulator)
# Debian's machine-readable copyright file: ours and the licences of the libraries we link.
install(FILES ${CMAKE_SOURCE_DIR}/packaging/copyright DESTINATION ${ZRV_INSTALL_DOC_DIR})
install(FILES ${CMAKE_SOURCE_DIR}/drivers/usb/60-zrv10.rules DESTINATION lib/udev/rules.d)

install(FILES ${CMAKE_SOURCE_DIR}/packaging/zrv10.svg DESTINATION share/icons/hicolor/scalable/apps)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/zrv10.png DESTINATION share/icons/hicolor/256x256/apps)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/zrv10-mime.xml DESTINATION share/mime/packages RENAME zrv10.xml)
configure_file(${CMAKE_SOURCE_DIR}/packaging/zrv10.metainfo.xml ${CMAKE_BINARY_DIR}/packaging/io.zrv10.UserSoftware.metainfo.xml
               @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/packaging/io.zrv10.UserSoftware.metainfo.xml DESTINATION share/metainfo)
install(CODE "set(ZRV_DESKTOP_TEMPLATE \"${CMAKE_SOURCE_DIR}/packaging/zrv10.desktop.in\")
              set(ZRV_DESKTOP_WORK \"${CMAKE_BINARY_DIR}/packaging\")")
install(SCRIPT ${CMAKE_SOURCE_DIR}/packaging/InstallDesktopEntry.cmake)
