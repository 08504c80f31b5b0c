# SPDX-License-Identifier: GPL-3.0-or-later
# Runs the companion with ARGS (items separated by "|") and checks its exit status and that its
# standard output holds each of CONTAINS (items separated by "|").
string(REPLACE "|" ";" args "${ARGS}")
execute_process(COMMAND ${CLI} ${args} RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT status EQUAL STATUS)
  message(FATAL_ERROR "exit status ${status}, expected ${STATUS}\n${out}\n${err}")
endif()
if(DEFINED CONTAINS)
  string(REPLACE "|" ";" wanted "${CONTAINS}")
  foreach(text IN LISTS wanted)
    string(FIND "${out}" "${text}" at)
    if(at EQUAL -1)
      message(FATAL_ERROR "output lacks \"${text}\":\n${out}")
    endif()
  endforeach()
endif()
