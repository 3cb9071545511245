#!/usr/bin/env bash
# Installs a configured build, or takes such an install away again. DESTDIR
# from the environment stages both under another root.
#   install.sh install BUILD_DIR PREFIX [cmake --install options ...]
#     installs BUILD_DIR into PREFIX; cmake lists every installed file in
#     BUILD_DIR/install_manifest.txt (without DESTDIR), and the folders the
#     install made are added to BUILD_DIR/install_folders.txt (with it).
#   install.sh uninstall BUILD_DIR PREFIX
#     removes every file of the manifest (all under PREFIX), the byte code
#     Python wrote beside the installed modules, and the recorded folders once
#     empty, then both lists.
set -euo pipefail
mode=$1 build=$2 prefix=$3
shift 3
export LC_ALL=C
root=${DESTDIR:-}$prefix
[ "$root" = / ] || root=${root%/}
manifest=$build/install_manifest.txt
folders=$build/install_folders.txt

fail() {
  echo "FAILED: $*" >&2
  exit 1
}

# Every folder under the root (the root itself included), one a line.
listFolders() {
  if [ -d "$root" ]; then
    find "$root" -type d | sort
  fi
}

case $mode in
install)
  before=$(listFolders)
  cmake --install "$build" --prefix "$prefix" "$@"
  # A folder is the install's when it holds an installed file and was not
  # there before; it is kept in the list across installs until an uninstall.
  {
    [ ! -f "$folders" ] || cat "$folders"
    while IFS= read -r file || [ -n "$file" ]; do
      dir=$(dirname "${DESTDIR:-}$file")
      while [ "$dir" = "$root" ] || [ "${dir#"$root/"}" != "$dir" ]; do
        printf '%s\n' "$dir"
        [ "$dir" != "$root" ] || break
        dir=$(dirname "$dir")
      done
    done < "$manifest" | sort -u | comm -23 - <(printf '%s\n' "$before")
  } | sort -u > "$folders.new"
  mv "$folders.new" "$folders"
  ;;
uninstall)
  [ -f "$manifest" ] || fail "$manifest is missing: nothing was installed from $build"
  while IFS= read -r file || [ -n "$file" ]; do
    case $file in
    "${prefix%/}"/*) ;;
    *) fail "$file of $manifest is not under $prefix (install and uninstall with the same PREFIX)" ;;
    esac
  done < "$manifest"
  while IFS= read -r file || [ -n "$file" ]; do
    file=${DESTDIR:-}$file
    rm -f "$file"
    case $file in
    *.py) rm -rf "$(dirname "$file")/__pycache__" ;;
    esac
  done < "$manifest"
  if [ -f "$folders" ]; then
    # Deepest first, so a folder is empty by the time it is tried.
    sort -r "$folders" | while IFS= read -r dir; do
      rmdir "$dir" 2>/dev/null || true
    done
  fi
  echo "removed $(grep -c "" "$manifest") files from $root"
  rm -f "$manifest" "$folders"
  ;;
*)
  fail "unknown mode '$mode'"
  ;;
esac
