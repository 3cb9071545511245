#!/usr/bin/env bash
# `make test`: runs each stage named on the command line (a Makefile target:
# test-plain, test-python, test-asan, test-ubsan, test-tsan, test-fuzz,
# test-browser, test-deb, valgrind)
# through make, goes on when one fails, and ends with one line "N passed, N
# failed" over every stage. Counts come from ctest's summary line, unittest's,
# the fuzz runner's, the UB sweeps', the browser checks', the package checks'
# and memcheck's; a stage that fails without saying how many of its tests
# failed (a build error, say) counts as one failure. Exits non-zero when anything failed.
set -uo pipefail
make=${MAKE:-make}
log=$(mktemp)
trap 'rm -f "$log"' EXIT
passed=0
failed=0
report=()
for stage in "$@"; do
  echo "== $stage"
  "$make" --no-print-directory "$stage" 2>&1 | tee "$log"
  status=${PIPESTATUS[0]}
  p=0
  f=0
  # ctest: "97% tests passed, 3 tests failed out of 100"
  line=$(grep -E '^[0-9]+% tests passed, [0-9]+ tests failed out of [0-9]+' "$log" | tail -n 1)
  if [ -n "$line" ]; then
    read -r f total < <(sed -E 's/^[0-9]+% tests passed, ([0-9]+) tests failed out of ([0-9]+).*/\1 \2/' <<<"$line")
    p=$((total - f))
  fi
  # scripts/run-fuzzers.sh: "fuzz targets: 5 passed, 0 failed";
  # scripts/run-ub-sweeps.sh: "ub sweeps: 8 passed, 0 failed";
  # tests/browser/run.mjs: "browser checks: 17 passed, 0 failed";
  # tests/packaging/check_packaging.sh deb: "package checks: 7 passed, 0 failed";
  # make valgrind: "memcheck runs: 1 passed, 0 failed"
  line=$(grep -E '^(fuzz targets|ub sweeps|browser checks|package checks|memcheck runs): [0-9]+ passed, [0-9]+ failed' "$log" | tail -n 1)
  if [ -n "$line" ]; then
    read -r fp ff < <(sed -E 's/^[a-z ]+: ([0-9]+) passed, ([0-9]+) failed.*/\1 \2/' <<<"$line")
    p=$((p + fp))
    f=$((f + ff))
  fi
  # unittest: "Ran 8 tests in 0.1s", then "OK" or "FAILED (failures=1, errors=2)";
  # skipped tests count neither way.
  line=$(grep -E '^Ran [0-9]+ tests? in ' "$log" | tail -n 1)
  if [ -n "$line" ]; then
    ran=$(sed -E 's/^Ran ([0-9]+).*/\1/' <<<"$line")
    verdict=$(grep -E '^(OK|FAILED)( \(.*\))?$' "$log" | tail -n 1)
    uf=0
    for field in failures errors 'unexpected successes'; do
      n=$(grep -oE "$field=[0-9]+" <<<"$verdict" | grep -oE '[0-9]+$' || true)
      uf=$((uf + ${n:-0}))
    done
    skipped=$(grep -oE 'skipped=[0-9]+' <<<"$verdict" | grep -oE '[0-9]+$' || true)
    p=$((p + ran - uf - ${skipped:-0}))
    f=$((f + uf))
  fi
  note=
  if [ "$status" -ne 0 ] && [ "$f" -eq 0 ]; then
    f=1
    note=" (the stage failed outside its tests: see above)"
  fi
  report+=("$stage: $p passed, $f failed$note")
  passed=$((passed + p))
  failed=$((failed + f))
done
echo
printf '%s\n' "${report[@]}"
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
