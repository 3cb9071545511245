#!/usr/bin/env bash
# The demo gallery as `make demo` draws it (its library compiled in groups of
# files, see scripts/demo.sh) against the same examples compiled file by file
# in a test build: every picture and map must be byte-identical, so that the
# grouped compile never draws what the tests did not check.
# Usage: compare-demo-builds.sh <examples directory> <gallery directory>
set -euo pipefail
examples=$1
gallery=$2
drawn=$(mktemp -d)
trap 'rm -rf "$drawn"' EXIT
for program in "$examples"/*; do
  [ -f "$program" ] && [ -x "$program" ] || continue
  "$program" "$drawn" > /dev/null
done
count=0
bad=0
while IFS= read -r -d '' file; do
  name=${file#"$drawn"/}
  count=$((count + 1))
  if ! cmp -s "$file" "$gallery/$name"; then
    echo "demo builds differ: $name" >&2
    bad=1
  fi
done < <(find "$drawn" -type f -print0)
if [ "$count" -eq 0 ]; then
  echo "demo builds: $examples drew nothing" >&2
  exit 1
fi
[ "$bad" -eq 0 ] || exit 1
echo "demo builds: $count pictures and maps the same"
