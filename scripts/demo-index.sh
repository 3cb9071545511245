#!/usr/bin/env bash
# Writes DIR/index.html: every picture under DIR (PNG, GIF, JPEG shown at their
# own size; WBMP, which browsers do not show, linked), each with its image map
# when the example left one beside it as <picture name>.map (the <area> lines
# alone), and beside it the C++ that drew it: the lines between
# "// [snippet PATTERN]" and "// [/snippet]" in SRC/*.cpp whose glob PATTERN
# matches the picture's name, HTML-escaped. A picture drawn again with smooth
# shapes as <name>_smooth.<ext> stands beside its aliased one, captioned, with
# a map of its own. Plain bash, so the demo needs nothing beyond the build
# tools.
set -euo pipefail
dir=${1:?usage: demo-index.sh DIR [SRC]}
src=$(cd "${2:-$(dirname "$0")/../examples}" && pwd)
cd "$dir"

# The replacements are quoted: bash 5.2 reads a bare & in them as the match.
escape() {
  local s=$1
  s=${s//&/"&amp;"}
  s=${s//</"&lt;"}
  s=${s//>/"&gt;"}
  s=${s//\"/"&quot;"}
  printf '%s' "$s"
}

# Snippets by pattern; a pattern marked more than once gathers every block.
declare -A snippets=()
patterns=()
for file in "$src"/*.cpp; do
  pattern=
  while IFS= read -r line || [ -n "$line" ]; do
    if [[ $line =~ ^[[:space:]]*//\ \[snippet\ ([^]]+)\][[:space:]]*$ ]]; then
      pattern=${BASH_REMATCH[1]}
      if [ -z "${snippets[$pattern]+set}" ]; then
        patterns+=("$pattern")
        snippets[$pattern]=
      else
        snippets[$pattern]+=$'\n'
      fi
    elif [[ $line =~ ^[[:space:]]*//\ \[/snippet\][[:space:]]*$ ]]; then
      pattern=
    elif [ -n "$pattern" ]; then
      snippets[$pattern]+=$line$'\n'
    fi
  done < "$file"
done

# The snippet with its common indentation removed.
dedent() {
  local text=$1 line min=1000 lead
  while IFS= read -r line; do
    [ -z "${line// /}" ] && continue
    lead=${line%%[! ]*}
    [ ${#lead} -lt $min ] && min=${#lead}
  done <<<"$text"
  [ $min -eq 1000 ] && min=0
  while IFS= read -r line; do
    printf '%s\n' "${line:$min}"
  done <<<"${text%$'\n'}"
}

snippet_for() {
  local stem=$1 pattern
  for pattern in "${patterns[@]}"; do
    # shellcheck disable=SC2053 # the pattern is a glob on purpose
    if [[ $stem == $pattern ]]; then
      dedent "${snippets[$pattern]}"
      return
    fi
  done
}

# Width and height of a PNG (IHDR), GIF (logical screen) or baseline or
# progressive JPEG (first SOF segment); nothing for anything else.
image_size() {
  local file=$1 b
  case $file in
    *.png)
      read -r -a b < <(od -An -tu1 -j16 -N8 -v "$file" | tr -s ' \n' '  ')
      echo $(( (b[0] << 24) | (b[1] << 16) | (b[2] << 8) | b[3] )) \
           $(( (b[4] << 24) | (b[5] << 16) | (b[6] << 8) | b[7] ))
      ;;
    *.gif)
      read -r -a b < <(od -An -tu1 -j6 -N4 -v "$file" | tr -s ' \n' '  ')
      echo $(( b[0] | (b[1] << 8) )) $(( b[2] | (b[3] << 8) ))
      ;;
    *.jpg)
      read -r -a b < <(od -An -tu1 -N65536 -v "$file" | tr -s ' \n' '  ')
      local i=2 marker
      while [ $((i + 8)) -lt ${#b[@]} ] && [ "${b[i]}" -eq 255 ]; do
        marker=${b[i + 1]}
        if [ "$marker" -ge 192 ] && [ "$marker" -le 207 ] && [ "$marker" -ne 196 ] &&
           [ "$marker" -ne 200 ] && [ "$marker" -ne 204 ]; then
          echo $(( (b[i + 7] << 8) | b[i + 8] )) $(( (b[i + 5] << 8) | b[i + 6] ))
          return
        fi
        i=$((i + 2 + ((b[i + 2] << 8) | b[i + 3])))
      done
      ;;
  esac
}

{
  printf '<!DOCTYPE html>\n<html lang="en">\n<head>\n<meta charset="utf-8">\n'
  printf '<title>Quorvane demo</title>\n'
  printf '<style>body{font-family:sans-serif;margin:2em}'
  printf 'figure{margin:0 0 2.5em;display:flex;flex-wrap:wrap;gap:1.5em;align-items:flex-start}'
  printf 'figcaption{font-family:monospace;flex-basis:100%%}'
  printf '.pair{display:flex;flex-wrap:wrap;gap:1em}.pair p{margin:0 0 .3em;font-style:italic}.note{flex-basis:100%%;margin:0}'
  printf 'pre{margin:0;padding:.6em;background:#f6f6f6;font-size:12px;max-width:60em;overflow:auto}'
  printf '</style>\n</head>\n<body>\n<h1>Quorvane demo</h1>\n'
  printf '<p>Hover over a bar, point, sector, label or legend key to see its title; '
  printf 'click it to see the query its link carries.</p>\n'

  pages=()
  while IFS= read -r -d '' page; do pages+=("${page#./}"); done \
    < <(find . -name '*.html' ! -path ./index.html ! -path ./detail.html -print0 | LC_ALL=C sort -z)
  if [ ${#pages[@]} -gt 0 ]; then
    printf '<ul>\n'
    for page in "${pages[@]}"; do
      printf '<li><a href="%s">%s</a></li>\n' "$(escape "$page")" "$(escape "$page")"
    done
    printf '</ul>\n'
  fi

  # One picture, its map (named map<N>, map<N>-smooth for the smooth one)
  # when it has one, and its caption when it is one of a pair.
  picture() {
    local file=$1 mapname=$2 caption=$3 html size dims map
    html=$(escape "$file")
    map=${file%.*}.map
    size=$(image_size "$file")
    dims=
    [ -n "$size" ] && dims=" width=\"${size% *}\" height=\"${size#* }\""
    printf '<div>\n'
    [ -n "$caption" ] && printf '<p>%s</p>\n' "$caption"
    if [ -f "$map" ]; then
      printf '<img src="%s"%s alt="%s" usemap="#%s">\n' "$html" "$dims" "$html" "$mapname"
      printf '<map name="%s">\n' "$mapname"
      cat "$map"
      printf '</map>\n'
    else
      printf '<img src="%s"%s alt="%s">\n' "$html" "$dims" "$html"
    fi
    printf '</div>\n'
  }

  n=0
  while IFS= read -r -d '' file; do
    file=${file#./}
    ext=${file##*.}
    # A smooth picture is shown beside its aliased one.
    [[ ${file%.*} == *_smooth && -f ${file%_smooth.*}.$ext ]] && continue
    smooth=${file%.*}_smooth.$ext
    [ -f "$smooth" ] || smooth=
    n=$((n + 1))
    html=$(escape "$file")
    printf '<figure>\n<figcaption><a href="%s">%s</a>' "$html" "$html"
    [ -n "$smooth" ] && printf ' and <a href="%s">%s</a>' "$(escape "$smooth")" "$(escape "$smooth")"
    if [ -f "${file%.*}.map" ]; then
      if [ -n "$smooth" ]; then printf ' with their image maps'; else printf ' with its image map'; fi
    fi
    printf '</figcaption>\n'
    case $file in
      *.wbmp)
        printf '<p><a href="%s">%s</a> (WBMP: browsers do not show it)</p>\n' "$html" "$html"
        ;;
      *)
        if [ -n "$smooth" ]; then
          printf '<div class="pair">\n'
          picture "$file" "map$n" aliased
          picture "$smooth" "map$n-smooth" smooth
          printf '</div>\n'
        else
          picture "$file" "map$n" ''
        fi
        ;;
    esac
    [ -n "$smooth" ] &&
      printf '<p class="note">The smooth picture: the same code with <code>setAntiAlias(1)</code> called on the chart or area before it draws.</p>\n'
    stem=${file##*/}
    code=$(snippet_for "${stem%.*}")
    [ -n "$code" ] && printf '<pre><code>%s</code></pre>\n' "$(escape "$code")"
    printf '</figure>\n'
  done < <(find . -type f \( -name '*.png' -o -name '*.gif' -o -name '*.jpg' -o -name '*.wbmp' \) \
             -print0 | LC_ALL=C sort -z)

  printf '</body>\n</html>\n'
} > index.html.tmp
mv index.html.tmp index.html
