#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Rebuilds the committed starting inputs of fuzz/corpus/ from the test fixtures, the shipped language
# files and the simulated instrument's demo content. Needs the fuzz build (scripts/fuzz.sh builds it).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${ZRV_FUZZ_BUILD:-build-fuzz}
nice cmake --build "$build" -j "${ZRV_FUZZ_JOBS:-2}" --target fuzz_make_corpus

c=fuzz/corpus
rm -rf "$c"
mkdir -p $(grep -v '^#' fuzz/targets.txt | grep -v '^$' | sed "s|^|$c/|")
cp tests/fixtures/printing/report.proj "$c/project/"
{ printf '\050'; cat tests/fixtures/printing/report.proj; } >"$c/project_check/report"
cp tests/fixtures/records/small.r9q4 "$c/record/"
cp tests/fixtures/printing/report.proj tests/fixtures/records/small.r9q4 "$c/xml/"
cp tests/fixtures/files/settings/*.ini "$c/settings/"
cp language/messages_uk.txt language/messages_de.txt language/messages_ru.txt "$c/language/"
cp language/messages.ini "$c/language_list/"
"$build/fuzz/fuzz_make_corpus" "$c"
cp "$c"/record/sim-0.r9q4 "$c/xml/"
# The legacy-workbook helper's dump, and records for the analysis exports (two bytes of units, four
# header lines, then samples "record<TAB>date<TAB>time<TAB>pressure<TAB>flow").
printf 'ZRV-XLS-CELLS 1\nC\t10\t2\tt\tRiser 1\nC\t10\t17\td\t450.5\nC\t11\t3\tt\ta\\tb\\\\c\\nd\nC\t12\t1\tD\t2024-01-01\nEND\n' \
  >"$c/xls_cells/cells.dump"
printf 'ZRV-XLS-CELLS 1\nEND\n' >"$c/xls_cells/empty.dump"
printf '\002\001Riser, "east"\nMaker\nType 15\n2,50\n1\t05.03.2012\t07:04:09\t12400\t250.125\n0\t01.01.2011\t00:00:00\t1\t1\n1\t05.03.2012\t07:04:19\tabc\t-0.5\n' \
  >"$c/analysis/kpa-m3min.txt"
printf '\006\010Valve\n\n\n\n1\t31.12.2024\t23:59:58\t1234.567871\t99.9\n1\todd, "date"\t12:00\t1e5\t\n' \
  >"$c/analysis/psi-galh.txt"
