# SPDX-License-Identifier: GPL-3.0-or-later
# Runs the companion's workbook commands as a user does, in an empty folder (no valve cache).
#   -DCLI=... -DFIXTURES=... -DWORK=...
cmake_minimum_required(VERSION 3.25)
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")
foreach(book book_plain.xlsx book_name_formulas.xlsx book_legacy.xls book_no_sheet.xlsx book_protected_other.xlsx
        repro/sheet-stored-last.xlsx repro/overlapping-entries.xlsx repro/freexl-overread.xls)
  file(COPY "${FIXTURES}/${book}" DESTINATION "${WORK}")
endforeach()

function(run expect)
  execute_process(COMMAND "${CLI}" ${ARGN} WORKING_DIRECTORY "${WORK}"
                  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  message(STATUS "${ARGN}: exit ${rc}\nstdout: ${out}\nstderr: ${err}")
  if(expect STREQUAL "ok" AND NOT rc EQUAL 0)
    message(FATAL_ERROR "the command failed")
  elseif(expect STREQUAL "fails" AND rc EQUAL 0)
    message(FATAL_ERROR "the command succeeded")
  endif()
  set(err "${err}" PARENT_SCOPE)
endfunction()

# Import and export of a modern book: a project of seven branches, results written back.
run(ok workbook import book_plain.xlsx -o plain.proj)
if(NOT EXISTS "${WORK}/plain.proj")
  message(FATAL_ERROR "no project file")
endif()
file(SHA256 "${WORK}/book_plain.xlsx" before)
run(ok workbook export plain.proj book_plain.xlsx)
file(SHA256 "${WORK}/book_plain.xlsx" after)
if(before STREQUAL after)
  message(FATAL_ERROR "the export did not write the book")
endif()

# Names made by formulas import while the book holds their results; once the export took them
# out, the import is refused until a spreadsheet program recalculated the book.
run(ok workbook import book_name_formulas.xlsx -o names.proj)
run(ok workbook export plain.proj book_name_formulas.xlsx)
file(REMOVE "${WORK}/names.proj")
run(fails workbook import book_name_formulas.xlsx -o names.proj)
if(EXISTS "${WORK}/names.proj" OR NOT err MATCHES "have not been calculated yet \\(cell B10 ")
  message(FATAL_ERROR "an uncalculated book was not refused with its reason")
endif()

# A book whose worksheet is the last entry of the archive is written and read back.
run(ok workbook export plain.proj sheet-stored-last.xlsx)
run(ok workbook import sheet-stored-last.xlsx -o last.proj)

# Hostile books are refused with a reason, quickly and without harm to the companion.
run(fails workbook import overlapping-entries.xlsx -o none.proj)
if(EXISTS "${WORK}/none.proj" OR NOT err MATCHES "overlapping-entries.xlsx")
  message(FATAL_ERROR "a damaged package was not refused with its name")
endif()
run(fails workbook import freexl-overread.xls -o none.proj)
if(EXISTS "${WORK}/none.proj" OR NOT err MATCHES "cannot be read")
  message(FATAL_ERROR "a damaged legacy book was not refused as unreadable")
endif()

# A legacy book is read, but never written.
run(ok workbook import book_legacy.xls -o legacy.proj)
file(SHA256 "${WORK}/book_legacy.xls" before)
run(fails workbook export legacy.proj book_legacy.xls)
file(SHA256 "${WORK}/book_legacy.xls" after)
if(NOT before STREQUAL after OR NOT err MATCHES "\\.xlsx")
  message(FATAL_ERROR "the legacy book was changed or the advice is missing")
endif()

# A wrong password or a missing sheet changes nothing and leaves no project file.
file(SHA256 "${WORK}/book_protected_other.xlsx" before)
run(fails workbook export plain.proj book_protected_other.xlsx)
file(SHA256 "${WORK}/book_protected_other.xlsx" after)
if(NOT before STREQUAL after)
  message(FATAL_ERROR "a failed export changed the book")
endif()
run(fails workbook import book_no_sheet.xlsx -o none.proj)
if(EXISTS "${WORK}/none.proj" OR NOT err MATCHES "Nortavex")
  message(FATAL_ERROR "a failed import left a project file or no reason")
endif()
run(fails workbook import -o none.proj)
