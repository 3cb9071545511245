#!/usr/bin/env bash
# Runs every fuzz target in DIR (executables named *_fuzz) for SECONDS each,
# starting from its seed corpus tests/fuzz/corpus/<name>/ and from the seed
# folders listed in tests/fuzz/<name>.seeds (one path per line, relative to
# the repository). New inputs go to a scratch folder, never into the tree.
# A crash, leak or timeout fails that target; the others still run. Ends with
# "fuzz targets: N passed, N failed" and exits non-zero if any failed.
set -uo pipefail
dir=$1
seconds=${2:-20}
root=$(cd "$(dirname "$0")/.." && pwd)
shopt -s nullglob
passed=0
failed=0
for target in "$dir"/*_fuzz; do
  [ -x "$target" ] || continue
  name=$(basename "$target" _fuzz)
  scratch=$(mktemp -d)
  seeds=()
  [ -d "$root/tests/fuzz/corpus/$name" ] && seeds+=("$root/tests/fuzz/corpus/$name")
  if [ -f "$root/tests/fuzz/$name.seeds" ]; then
    while IFS= read -r line; do
      [ -n "$line" ] && [ -d "$root/$line" ] && seeds+=("$root/$line")
    done < "$root/tests/fuzz/$name.seeds"
  fi
  echo "== fuzzing $name for ${seconds}s (${#seeds[@]} seed folders)"
  "$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$scratch/" "$scratch" "${seeds[@]}" 2>&1 | tail -n 12
  status=${PIPESTATUS[0]}
  if [ "$status" -eq 0 ]; then
    rm -rf "$scratch"
    passed=$((passed + 1))
  else
    echo "fuzz target $name failed; its inputs are kept in $scratch" >&2
    failed=$((failed + 1))
  fi
done
[ $((passed + failed)) -gt 0 ] || echo "no fuzz targets built"
echo "fuzz targets: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
