#!/usr/bin/env bash
# `make demo`: builds the library and the examples alone (no tests, no
# benchmarks) in build-demo/, runs every example into build/demo/, writes
# build/demo/index.html showing every picture with its image map and the code
# that drew it, with detail.html for the areas' links, and says where the page
# is and how long it all took. Build errors and warnings stay
# visible; cmake's and make's progress chatter does not.
set -euo pipefail
start=$(date +%s%N)
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
jobs=${JOBS:-$(nproc 2>/dev/null || echo 2)}
builddir=build-demo
outdir=build/demo

bash scripts/install-deps.sh demo

echo "building the library and the examples in $builddir/"
# The library's files are compiled in groups of eight (a unity build), which
# takes well under half the compile time of one file at a time; the test
# builds compile each file alone, and `make test` checks that both draw the
# same bytes (scripts/compare-demo-builds.sh). Grouped, a file's own classes
# look to the compiler as if a header defined them, so it would warn about
# their members of file-local types (subobject linkage), which only matters
# for a header included by several files.
# Configure output is shown only when it holds more than cmake's status lines.
if ! config=$(cmake -S . -B "$builddir" -DCMAKE_BUILD_TYPE=Release \
      -DQUORVANE_TESTS=OFF -DQUORVANE_BENCH=OFF -DQUORVANE_SANITIZE= -DQUORVANE_FUZZ=OFF \
      -DCMAKE_UNITY_BUILD=ON -DCMAKE_UNITY_BUILD_BATCH_SIZE=8 -DCMAKE_CXX_FLAGS=-Wno-subobject-linkage \
      --log-level=WARNING 2>&1); then
  printf '%s\n' "$config" >&2
  exit 1
fi
printf '%s\n' "$config" | grep -v -E '^-- (Configuring done|Generating done|Build files have been written)' || true

# Progress: one line per compile (n of the groups there are) and per link;
# warnings and errors pass as they come.
groups=$(find "$builddir" -name 'unity_*_cxx.cxx' | wc -l)
set +e
MAKEFLAGS=--no-print-directory cmake --build "$builddir" -j "$jobs" 2>&1 |
  awk -v groups="$groups" '
    /^\[ *[0-9]+%\] Building CXX object / {
      object = $NF; sub(/\.o$/, "", object)
      if (match(object, /\/CMakeFiles\/[^\/]+\.dir\/Unity\/unity_[0-9]+_cxx\.cxx$/)) {
        folder = substr(object, 1, RSTART - 1)
        target = substr(object, RSTART + 12); sub(/\.dir\/.*/, "", target)
        group = object; sub(/.*unity_/, "", group); sub(/_cxx\.cxx$/, "", group)
        # A library target compiles its files in groups, a program is one file.
        if (target ~ /^quorvane_/) what = folder ", group " group + 1
        else what = folder "/" target ".cpp"
      } else {
        what = object; sub(/CMakeFiles\/[^\/]+\.dir\//, "", what)
      }
      printf "  [%d/%d] compiling %s\n", ++n, groups, what; fflush(); next
    }
    /^\[ *[0-9]+%\] Linking / { sub(/^\[ *[0-9]+%\] Linking CXX [a-z ]+ /, ""); printf "  linking %s\n", $0; fflush(); next }
    /^\[ *[0-9]+%\] Built target |^Consolidate compiler generated dependencies/ { next }
    { print; fflush() }'
status=${PIPESTATUS[0]}
set -e
if [ "$status" -ne 0 ]; then
  echo "demo: the build failed" >&2
  exit "$status"
fi

echo "rendering into $outdir/"
rm -rf "$outdir"
mkdir -p "$outdir"
failed=0
for program in "$builddir"/examples/*; do
  [ -f "$program" ] && [ -x "$program" ] || continue
  if ! log=$("$program" "$outdir" 2>&1); then
    printf '%s\n' "$log" >&2
    echo "demo: $(basename "$program") failed" >&2
    failed=1
  fi
done

cp examples/detail.html "$outdir/detail.html"
bash scripts/demo-index.sh "$outdir" examples
elapsed=$(( ($(date +%s%N) - start) / 1000000 ))
printf 'demo page: file://%s/%s/index.html (%d.%d s)\n' \
  "$root" "$outdir" $((elapsed / 1000)) $((elapsed % 1000 / 100))
exit "$failed"
