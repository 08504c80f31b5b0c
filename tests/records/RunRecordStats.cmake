# SPDX-License-Identifier: GPL-3.0-or-later
# "zrv10-cli record stats" as a user runs it on a fixture record of six samples, one of them empty:
# text, CSV and JSON (parsed), a range with both ends included, and the refusals.
#   -DCLI=... -DRECORD=... -DWORK=...
cmake_minimum_required(VERSION 3.25)
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")

function(run expect output)
  execute_process(COMMAND "${CLI}" ${ARGN} WORKING_DIRECTORY "${WORK}"
                  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  message(STATUS "${ARGN}: exit ${rc}\n${out}\nstderr: ${err}")
  if(NOT rc EQUAL expect)
    message(FATAL_ERROR "exit status ${rc}, expected ${expect}")
  endif()
  set(${output} "${out}" PARENT_SCOPE)
  set(err "${err}" PARENT_SCOPE)
endfunction()

function(expect_json json path want)
  string(JSON got GET "${json}" ${path})
  if(NOT got MATCHES "${want}")
    message(FATAL_ERROR "${path}: ${got}, expected ${want}")
  endif()
endfunction()

set(units --flow-unit l/h --pressure-unit Pa)

run(0 json record stats "${RECORD}" --format json ${units})
expect_json("${json}" "count" "^6$")
expect_json("${json}" "first" "^2012-03-05T07:00:00$")
expect_json("${json}" "last" "^2012-03-05T07:00:50$")
expect_json("${json}" "duration_seconds" "^50$")
expect_json("${json}" "pressure;mean" "^2000$")
expect_json("${json}" "pressure;std" "^894\\.427")
expect_json("${json}" "pressure;max_time" "^2012-03-05T07:00:10$")
expect_json("${json}" "flow;min" "^100$")
expect_json("${json}" "flow;max" "^300$")
expect_json("${json}" "flow;std" "^89\\.44")

# Both ends included; the empty sample counts but gives no value.
run(0 json record stats "${RECORD}" --from 2012-03-05T07:00:10 --to 2012-03-05T07:00:40 --format json ${units})
expect_json("${json}" "count" "^4$")
expect_json("${json}" "pressure;min" "^2000$")
expect_json("${json}" "pressure;mean" "^2666\\.66")
expect_json("${json}" "duration_seconds" "^30$")

# A range without samples: count 0 and no figures.
run(0 json record stats "${RECORD}" --from 2012-03-06T00:00:00 --format json ${units})
expect_json("${json}" "count" "^0$")
string(JSON kind TYPE "${json}" flow)
if(NOT kind STREQUAL "NULL")
  message(FATAL_ERROR "an empty range has flow figures: ${json}")
endif()

# CSV and text in the units given.
run(0 csv record stats "${RECORD}" --format csv --flow-unit m3/h --pressure-unit kPa)
if(NOT csv MATCHES "quantity,unit,count,first,last,duration_seconds,values,min,min_time,max,max_time,mean,std\r?\n"
   OR NOT csv MATCHES "\npressure,kPa,6,2012-03-05T07:00:00,2012-03-05T07:00:50,50,5,1,2012-03-05T07:00:00,3,"
   OR NOT csv MATCHES "\nflow,m3/h,6,[^\n]*,0\\.1,2012-03-05T07:00:10,0\\.3,2012-03-05T07:00:30,0\\.2,")
  message(FATAL_ERROR "unexpected CSV:\n${csv}")
endif()
run(0 text record stats "${RECORD}" --flow-unit l/h --pressure-unit kPa)
if(NOT text MATCHES "Samples: +6\n" OR NOT text MATCHES "Duration: +0:00:50\n"
   OR NOT text MATCHES "Pressure \\[kPa\\] +1\\.00 +05\\.03\\.2012 07:00:00 +3\\.00 +05\\.03\\.2012 07:00:10 +2\\.00 +0\\.894"
   OR NOT text MATCHES "Flow \\[l/h\\] +100\\.0 ")
  message(FATAL_ERROR "unexpected text:\n${text}")
endif()

# Into a file, as the other exports: nothing on standard output but the confirmation.
run(0 wrote record stats "${RECORD}" --format json -o "${WORK}/stats.json" ${units})
file(READ "${WORK}/stats.json" written)
expect_json("${written}" "count" "^6$")
if(NOT wrote MATCHES "^Wrote .*stats\\.json\n$")
  message(FATAL_ERROR "unexpected confirmation: ${wrote}")
endif()
run(1 none record stats "${RECORD}" -o "${WORK}/no_such/stats.txt")

# Refusals: a time that does not read, a range backwards, an unknown format, a missing file.
run(2 none record stats "${RECORD}" --from 05.03.2012)
if(NOT err MATCHES "--from takes a time on the record's clock as 2012-03-05T07:05:00")
  message(FATAL_ERROR "the bad time was not explained: ${err}")
endif()
run(2 none record stats "${RECORD}" --from 2012-03-05T08:00:00 --to 2012-03-05T07:00:00)
run(2 none record stats "${RECORD}" --format xml)
run(1 none record stats "${WORK}/no_such.r9q4")
