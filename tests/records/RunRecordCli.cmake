# SPDX-License-Identifier: GPL-3.0-or-later
# The companion's record commands where they write to standard output or refuse a value, run as a
# user does in an empty folder.   -DCLI=... -DRECORD=... -DWORK=...
cmake_minimum_required(VERSION 3.25)
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")
set(ENV{QT_QPA_PLATFORM} offscreen)

function(run expect output)
  execute_process(COMMAND "${CLI}" ${ARGN} WORKING_DIRECTORY "${WORK}"
                  RESULT_VARIABLE rc OUTPUT_FILE "${WORK}/${output}" ERROR_VARIABLE err)
  message(STATUS "${ARGN}: exit ${rc}\nstderr: ${err}")
  if(expect STREQUAL "ok" AND NOT rc EQUAL 0)
    message(FATAL_ERROR "the command failed")
  elseif(expect STREQUAL "fails" AND rc EQUAL 0)
    message(FATAL_ERROR "the command succeeded")
  endif()
  set(err "${err}" PARENT_SCOPE)
endfunction()

# "-o -": every table format goes to standard output, and no file named "-" appears.
foreach(case "csv;44006100" "html;fffe3c00" "xls;09080800")
  list(GET case 0 format)
  list(GET case 1 start)
  run(ok "stdout.${format}" record export "${RECORD}" --format ${format} -o - --flow-unit 5 --pressure-unit 0)
  file(READ "${WORK}/stdout.${format}" head LIMIT 4 HEX)
  if(NOT head STREQUAL start)
    message(FATAL_ERROR "${format} on standard output begins with ${head}, not ${start}")
  endif()
  file(GLOB stray "${WORK}/-*")
  if(stray)
    message(FATAL_ERROR "a file was written instead: ${stray}")
  endif()
endforeach()

# A chart under a name that promises another kind of picture is refused, and nothing is written.
run(fails none.txt record chart "${RECORD}" --pressure -o c.bmp)
if(EXISTS "${WORK}/c.bmp" OR NOT err MATCHES "\\.png")
  message(FATAL_ERROR "c.bmp was written or the refusal does not say what is possible")
endif()

# Values out of range or empty are refused like other bad values.
run(fails none.txt record show "${RECORD}" --code-page -1)
if(NOT err MATCHES "--code-page")
  message(FATAL_ERROR "--code-page -1 was not refused by name")
endif()
run(fails none.txt record show "${RECORD}" --code-page 12)
run(fails none.txt device ping --driver "")
if(NOT err MATCHES "--driver")
  message(FATAL_ERROR "an empty --driver was not refused by name")
endif()
