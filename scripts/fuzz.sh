#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the libFuzzer targets (clang, ASan + UBSan, core only, in build-fuzz/) and runs them.
#   scripts/fuzz.sh                  every target for 60 s
#   scripts/fuzz.sh TARGET [SECONDS] one target (a name from fuzz/targets.txt, or "all")
# Each run starts from the committed corpus (fuzz/corpus/TARGET) and keeps what it finds in
# build-fuzz/corpus/TARGET, so the next run goes on from there. A crash, leak, undefined behaviour,
# time-out or out-of-memory stops the target and saves its input under fuzz/crashes/. One line per
# target: time, executions, coverage, result. The exit status is 1 when any target failed.
# Environment: ZRV_FUZZ_BUILD (build folder), ZRV_FUZZ_JOBS (build jobs, default 2),
# ZRV_FUZZ_ARGS (more libFuzzer options, e.g. "-max_len=65536").
set -euo pipefail
cd "$(dirname "$0")/.."

target=${1:-all}
seconds=${2:-60}
build=${ZRV_FUZZ_BUILD:-build-fuzz}
jobs=${ZRV_FUZZ_JOBS:-2}

mapfile -t all_targets < <(grep -v '^#' fuzz/targets.txt | grep -v '^$')
if [ "$target" = all ]; then
  targets=("${all_targets[@]}")
else
  targets=()
  for t in "${all_targets[@]}"; do
    [ "$t" = "$target" ] && targets=("$t")
  done
  if [ ${#targets[@]} = 0 ]; then
    echo "unknown fuzz target '$target'; the targets: ${all_targets[*]}" >&2
    exit 2
  fi
fi

launcher=()
if command -v ccache >/dev/null; then
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER=clang++ -DZRV_FUZZ=ON -DZRV_BUILD_TESTS=OFF -DZRV_BUILD_BENCH=OFF \
  "${launcher[@]}" >/dev/null
nice cmake --build "$build" -j "$jobs" --target $(printf 'fuzz_%s ' "${targets[@]}")

mkdir -p fuzz/crashes "$build/logs"
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:allocator_may_return_null=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
failed=0
for t in "${targets[@]}"; do
  work="$build/corpus/$t"
  mkdir -p "$work"
  dict=()
  [ -f "fuzz/$t.dict" ] && dict=(-dict="fuzz/$t.dict")
  log="$build/logs/$t.log"
  status=0
  started=$SECONDS
  # shellcheck disable=SC2086
  nice "$build/fuzz/fuzz_$t" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="fuzz/crashes/$t-" "${dict[@]}" ${ZRV_FUZZ_ARGS:-} \
    "$work" "fuzz/corpus/$t" >"$log" 2>&1 || status=$?
  elapsed=$((SECONDS - started))
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  progress=$(grep -E '^#[0-9]+' "$log" | tail -1 || true)
  # A stopped run prints no final statistics: its last progress line counts instead.
  [ -n "$execs" ] || execs=$(sed -n 's/^#\([0-9]*\).*/\1/p' <<<"$progress")
  cov=$(sed -n 's/.* cov: \([0-9]*\).*/\1/p' <<<"$progress")
  ft=$(sed -n 's/.* ft: \([0-9]*\).*/\1/p' <<<"$progress")
  corp=$(sed -n 's/.* corp: \([0-9]*\).*/\1/p' <<<"$progress")
  if [ "$status" = 0 ]; then
    result=ok
  else
    failed=1
    artifact=$(sed -n 's/.*Test unit written to \(.*\)$/\1/p' "$log" | tail -1)
    kind=$(grep -m1 -oE 'ERROR: (AddressSanitizer|LeakSanitizer|libFuzzer): [a-z-]+|runtime error|property broken' "$log" || echo "exit $status")
    result="FAILED ($kind) ${artifact:-no input saved}, log $log"
  fi
  printf '%-13s %4ss  %10s execs  cov %-5s ft %-6s corpus %-5s %s\n' \
    "$t" "$elapsed" "${execs:-?}" "${cov:-?}" "${ft:-?}" "${corp:-?}" "$result"
done
exit "$failed"
