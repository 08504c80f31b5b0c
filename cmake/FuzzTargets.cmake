# SPDX-License-Identifier: GPL-3.0-or-later
# The names in fuzz/targets.txt, the one list of fuzz targets (scripts/fuzz.sh reads it too).
function(zrv_fuzz_targets out)
  file(STRINGS ${CMAKE_SOURCE_DIR}/fuzz/targets.txt lines)
  set(names)
  foreach(line IN LISTS lines)
    if(NOT line MATCHES "^#" AND NOT line STREQUAL "")
      list(APPEND names ${line})
    endif()
  endforeach()
  set(${out} ${names} PARENT_SCOPE)
endfunction()
