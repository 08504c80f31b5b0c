# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the build tree as a package would, into DESTDIR, and checks the system layout: the
# executables, the drivers in lib/zrv10/ (usb by default, the simulator beside it), the languages,
# the desktop entry with its file types, icons, mime types, metainfo and udev rule, and that the
# desktop and AppStream tools accept what was installed. The prefix holds a blank so that the
# entry's quoting is exercised.
# Usage: cmake -DBUILD_DIR=... -DDESTDIR=... -DPREFIX=... -P CheckInstall.cmake
cmake_minimum_required(VERSION 3.25)
file(REMOVE_RECURSE "${DESTDIR}")
set(ENV{DESTDIR} "${DESTDIR}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${PREFIX}"
                RESULT_VARIABLE result OUTPUT_QUIET ERROR_VARIABLE errors)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${errors}")
endif()
set(root "${DESTDIR}${PREFIX}")

foreach(file bin/zrv10 bin/zrv10-cli bin/zrv10-xls-cells lib/zrv10/libmpusbapi.so lib/zrv10/simulator/libmpusbapi.so
             share/zrv10/language/messages.ini share/zrv10/language/messages_uk.txt
             share/zrv10/language/messages_cz.txt share/zrv10/language/messages_de.txt
             share/zrv10/language/messages_hr.txt share/zrv10/language/messages_pl.txt
             share/zrv10/language/messages_ru.txt
             share/applications/zrv10.desktop share/icons/hicolor/256x256/apps/zrv10.png
             share/icons/hicolor/scalable/apps/zrv10.svg share/mime/packages/zrv10.xml
             share/metainfo/io.zrv10.UserSoftware.metainfo.xml lib/udev/rules.d/60-zrv10.rules
             share/doc/zrv10/copyright)
  if(NOT EXISTS "${root}/${file}")
    message(FATAL_ERROR "missing from the install: ${file}")
  endif()
endforeach()
# Nothing beside the executables may make the installed program take itself for a portable folder.
if(EXISTS "${root}/bin/language")
  message(FATAL_ERROR "the install has a language folder beside the executables")
endif()

# The build tree runs against the simulated instrument; an install uses the usb driver by default.
file(SHA256 "${root}/lib/zrv10/libmpusbapi.so" installed)
file(SHA256 "${root}/lib/zrv10/simulator/libmpusbapi.so" simulator)
if(installed STREQUAL simulator)
  message(FATAL_ERROR "the install's default driver is the simulated instrument")
endif()
file(STRINGS "${root}/lib/udev/rules.d/60-zrv10.rules" rule REGEX "uaccess")
if(NOT rule)
  message(FATAL_ERROR "the udev rule lacks the uaccess tag")
endif()

file(STRINGS "${root}/share/applications/zrv10.desktop" entry)
foreach(line "Exec=\"${PREFIX}/bin/zrv10\" %F"
             "MimeType=application/x-zrv10-project;application/x-zrv10-record;")
  if(NOT line IN_LIST entry)
    message(FATAL_ERROR "desktop entry lacks ${line}: ${entry}")
  endif()
endforeach()

file(STRINGS "${root}/share/metainfo/io.zrv10.UserSoftware.metainfo.xml" licence REGEX "<project_license>")
if(NOT licence MATCHES "<project_license>GPL-3.0-or-later</project_license>")
  message(FATAL_ERROR "the metainfo does not state the program's licence: ${licence}")
endif()
file(STRINGS "${root}/share/doc/zrv10/copyright" copyright)
list(GET copyright 0 format)
if(NOT format MATCHES "^Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/"
   OR NOT "License: GPL-3+" IN_LIST copyright)
  message(FATAL_ERROR "the copyright file is not Debian's machine-readable format with our licence")
endif()

find_program(DESKTOP_VALIDATE desktop-file-validate)
find_program(APPSTREAMCLI appstreamcli)
if(DESKTOP_VALIDATE)
  execute_process(COMMAND "${DESKTOP_VALIDATE}" "${root}/share/applications/zrv10.desktop"
                  RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT result EQUAL 0 OR out MATCHES "error")
    message(FATAL_ERROR "desktop-file-validate refuses the entry: ${out}")
  endif()
endif()
if(APPSTREAMCLI)
  execute_process(COMMAND "${APPSTREAMCLI}" validate --no-net
                          "${root}/share/metainfo/io.zrv10.UserSoftware.metainfo.xml"
                  RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "appstreamcli refuses the metainfo: ${out}")
  endif()
endif()
file(REMOVE_RECURSE "${DESTDIR}")
if(NOT DESKTOP_VALIDATE OR NOT APPSTREAMCLI)
  # Reported as skipped: the layout is right, but a validator is missing.
  message("desktop-file-validate or appstreamcli missing: validation skipped")
  message("ZRV_SKIPPED")
endif()
