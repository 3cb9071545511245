#!/usr/bin/env bash
# Writes DIR/index.html: every picture under DIR (PNG, GIF, JPEG shown; WBMP,
# which browsers do not show, linked), each with its image map when the
# example left one beside it as <picture name>.map (the <area> lines alone),
# and links to the other pages the examples wrote. Plain bash, so the demo
# needs nothing beyond the build tools.
set -euo pipefail
dir=${1:?usage: demo-index.sh DIR}
cd "$dir"

escape() {
  local s=$1
  s=${s//&/&amp;}
  s=${s//</&lt;}
  s=${s//>/&gt;}
  s=${s//\"/&quot;}
  printf '%s' "$s"
}

{
  printf '<!DOCTYPE html>\n<html lang="en">\n<head>\n<meta charset="utf-8">\n'
  printf '<title>Quorvane demo</title>\n'
  printf '<style>body{font-family:sans-serif;margin:2em}figure{margin:0 0 2em}'
  printf 'figcaption{font-family:monospace;margin-top:.3em}</style>\n'
  printf '</head>\n<body>\n<h1>Quorvane demo</h1>\n'

  pages=()
  while IFS= read -r -d '' page; do pages+=("${page#./}"); done \
    < <(find . -name '*.html' ! -path ./index.html -print0 | LC_ALL=C sort -z)
  if [ ${#pages[@]} -gt 0 ]; then
    printf '<ul>\n'
    for page in "${pages[@]}"; do
      printf '<li><a href="%s">%s</a></li>\n' "$(escape "$page")" "$(escape "$page")"
    done
    printf '</ul>\n'
  fi

  n=0
  while IFS= read -r -d '' file; do
    file=${file#./}
    n=$((n + 1))
    html=$(escape "$file")
    printf '<figure>\n'
    case $file in
      *.wbmp)
        printf '<a href="%s">%s</a> (WBMP: browsers do not show it)\n' "$html" "$html"
        ;;
      *)
        map=${file%.*}.map
        if [ -f "$map" ]; then
          printf '<img src="%s" alt="%s" usemap="#map%d">\n' "$html" "$html" "$n"
          printf '<map name="map%d">\n' "$n"
          cat "$map"
          printf '</map>\n'
        else
          printf '<img src="%s" alt="%s">\n' "$html" "$html"
        fi
        ;;
    esac
    printf '<figcaption><a href="%s">%s</a>' "$html" "$html"
    [ -f "${file%.*}.map" ] && printf ' with its image map'
    printf '</figcaption>\n</figure>\n'
  done < <(find . -type f \( -name '*.png' -o -name '*.gif' -o -name '*.jpg' -o -name '*.wbmp' \) \
             -print0 | LC_ALL=C sort -z)

  printf '</body>\n</html>\n'
} > index.html.tmp
mv index.html.tmp index.html
