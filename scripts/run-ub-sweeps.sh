#!/usr/bin/env bash
# The extreme-argument sweeps under recovering UBSan: the tests named by
# SWEEP_FILTER and every fuzz seed corpus replayed, from an ASan + UBSan build
# (make test-asan's build-asan) whose UB checks go on past a report. Each
# program's output is kept, and any "runtime error:" in it fails that program
# even when its tests pass, so one run lists every site rather than the first.
# Ends with "ub sweeps: N passed, N failed" and exits non-zero if any failed.
set -uo pipefail
build=${1:-build-asan}
root=$(cd "$(dirname "$0")/.." && pwd)
filter=${SWEEP_FILTER:-'*Hostile*:*Extreme*:*Robustness*:*Huge*'}
export UBSAN_OPTIONS=halt_on_error=0:print_stacktrace=1
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
log=$(mktemp)
trap 'rm -f "$log"' EXIT
passed=0
failed=0
sites=()

# name, then the command
check() {
  local name=$1
  shift
  echo "== $name"
  "$@" >"$log" 2>&1
  local status=$?
  tail -n 3 "$log"
  local reports
  reports=$(grep -c 'runtime error:' "$log")
  if [ "$status" -eq 0 ] && [ "$reports" -eq 0 ]; then
    passed=$((passed + 1))
  else
    echo "$name: exit status $status, $reports UB reports"
    grep 'runtime error:' "$log" | sort | uniq -c | sort -rn
    mapfile -t found < <(grep -oE '[^ ]+:[0-9]+:[0-9]+: runtime error:' "$log" | sort -u)
    sites+=("${found[@]}")
    failed=$((failed + 1))
  fi
}

tests=$build/tests/quorvane_tests
if [ -x "$tests" ]; then
  check "sweep tests ($filter)" "$tests" --gtest_filter="$filter" --gtest_brief=1
else
  echo "missing $tests"
  failed=$((failed + 1))
fi
shopt -s nullglob
replays=("$build"/tests/quorvane_*_replay)
[ ${#replays[@]} -gt 0 ] || { echo "no corpus replay programs in $build/tests"; failed=$((failed + 1)); }
for program in "${replays[@]}"; do
  corpus=$(basename "$program" _replay)
  corpus=${corpus#quorvane_}
  check "$corpus seeds" "$program" "$root/tests/fuzz/corpus/$corpus"
done

if [ ${#sites[@]} -gt 0 ]; then
  echo "UB sites reported:"
  printf '  %s\n' "${sites[@]}" | sort -u
fi
echo "ub sweeps: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
