# SPDX-License-Identifier: GPL-3.0-or-later
# Runs at install time: writes the desktop entry with the installed paths, so that it starts the
# program from any prefix. Expects ZRV_DESKTOP_TEMPLATE and ZRV_DESKTOP_WORK from the install rules.
set(bin "${CMAKE_INSTALL_PREFIX}/bin")

# Exec takes a quoted argument: inside the quotes ", `, $ and \ are escaped with a backslash, which
# the entry's own string escaping doubles; a literal % is written %%.
set(exec "${bin}/zrv10")
string(REPLACE "\\" "\\\\\\\\" exec "${exec}")
foreach(special "\"" "`" "$")
  string(REPLACE "${special}" "\\\\${special}" exec "${exec}")
endforeach()
string(REPLACE "%" "%%" exec "${exec}")
set(ZRV_INSTALL_EXEC "\"${exec}\"")

# The icon theme finds the icon by name only under the system's data folders.
if(CMAKE_INSTALL_PREFIX STREQUAL "/usr" OR CMAKE_INSTALL_PREFIX STREQUAL "/usr/local")
  set(ZRV_INSTALL_ICON "zrv10")
else()
  set(ZRV_INSTALL_ICON "${CMAKE_INSTALL_PREFIX}/share/icons/hicolor/256x256/apps/zrv10.png")
endif()

# A work folder per destination, so that installs into different places may run at once.
string(MD5 destination "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}")
configure_file("${ZRV_DESKTOP_TEMPLATE}" "${ZRV_DESKTOP_WORK}/${destination}/zrv10.desktop" @ONLY)
file(INSTALL "${ZRV_DESKTOP_WORK}/${destination}/zrv10.desktop" DESTINATION "${CMAKE_INSTALL_PREFIX}/share/applications")
