#!/usr/bin/env bash
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
