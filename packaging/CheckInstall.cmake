# Installs the build tree into PREFIX and checks the portable folder: the executables with the usb
# driver and the language folder in bin/, the desktop entry naming the installed program, the icons.
# Usage: cmake -DBUILD_DIR=... -DPREFIX=... -P CheckInstall.cmake
cmake_minimum_required(VERSION 3.25)
file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${PREFIX}"
                RESULT_VARIABLE result OUTPUT_QUIET ERROR_VARIABLE errors)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${errors}")
endif()

foreach(file bin/zrv10 bin/zrv10-cli bin/zrv10-xls-cells bin/libmpusbapi.so bin/language/README.txt bin/language/messages.ini
             bin/language/messages_uk.txt bin/language/messages_cz.txt bin/language/messages_de.txt
             bin/language/messages_hr.txt bin/language/messages_pl.txt bin/language/messages_ru.txt
             share/applications/zrv10.desktop share/icons/hicolor/256x256/apps/zrv10.png
             share/icons/hicolor/scalable/apps/zrv10.svg)
  if(NOT EXISTS "${PREFIX}/${file}")
    message(FATAL_ERROR "missing from the install: ${file}")
  endif()
endforeach()

# The build tree runs against the simulated instrument; an install must carry the usb driver.
file(SHA256 "${PREFIX}/bin/libmpusbapi.so" installed)
file(SHA256 "${BUILD_DIR}/bin/libmpusbapi.so" simulator)
if(installed STREQUAL simulator)
  message(FATAL_ERROR "the install holds the simulated instrument's driver")
endif()

file(STRINGS "${PREFIX}/share/applications/zrv10.desktop" entry)
foreach(line "Exec=\"${PREFIX}/bin/zrv10\"" "Path=${PREFIX}/bin"
             "Icon=${PREFIX}/share/icons/hicolor/256x256/apps/zrv10.png")
  if(NOT line IN_LIST entry)
    message(FATAL_ERROR "desktop entry lacks ${line}: ${entry}")
  endif()
endforeach()
find_program(VALIDATE desktop-file-validate)
if(VALIDATE)
  execute_process(COMMAND "${VALIDATE}" "${PREFIX}/share/applications/zrv10.desktop" RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "desktop-file-validate refuses the entry")
  endif()
endif()

if(NOT IS_DIRECTORY "${BUILD_DIR}/bin/language")
  message(FATAL_ERROR "the build tree's bin/ has no language folder")
endif()
file(REMOVE_RECURSE "${PREFIX}")
