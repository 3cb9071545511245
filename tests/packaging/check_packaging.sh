#!/usr/bin/env bash
# Packaging checks, run by ctest from the plain build.
#   check_packaging.sh installed SOURCE_DIR BUILD_DIR WORK_DIR CXX LIBDIR
#     installs BUILD_DIR into WORK_DIR/prefix and builds the consumer program
#     against it with pkg-config, and with find_package through CMake.
#   check_packaging.sh subproject SOURCE_DIR WORK_DIR CXX
#     builds the checkout inside the consumer project with add_subdirectory,
#     GoogleTest hidden, and checks that only the libraries were made.
# Every built program runs and must render its charts. Tool output shows only
# when a step fails.
set -euo pipefail
mode=$1
here=$(cd "$(dirname "$0")" && pwd)
consumer=$here/consumer
jobs=${JOBS:-2}

fail() {
  echo "FAILED: $*" >&2
  exit 1
}

# Runs a command quietly; its output is shown if it fails.
quiet() {
  local log
  if ! log=$("$@" 2>&1); then
    printf '%s\n' "$log" >&2
    fail "$*"
  fi
}

# The dynamic section of a program names libquorvane20.so only when it links
# the shared library.
needsShared() {
  readelf -d "$1" | grep -q 'NEEDED.*\[libquorvane20\.so\]'
}

checkPrograms() {
  local dir=$1
  needsShared "$dir/consumer" || fail "$dir/consumer does not load libquorvane20.so"
  ! needsShared "$dir/consumer_static" || fail "$dir/consumer_static loads libquorvane20.so"
  "$dir/consumer" || fail "$dir/consumer"
  "$dir/consumer_static" || fail "$dir/consumer_static"
}

case $mode in
installed)
  source=$2 build=$3 work=$4 cxx=$5 libdir=$6
  prefix=$work/prefix
  rm -rf "$work"
  mkdir -p "$work"
  quiet cmake --install "$build" --prefix "$prefix"
  for file in include/quorvane.h include/quorvane_ptr.h "$libdir/libquorvane20.so" \
              "$libdir/libquorvane20.a" "$libdir/pkgconfig/quorvane.pc"; do
    [ -f "$prefix/$file" ] || fail "$file was not installed"
  done
  # The package must stand on its own once the checkout and the build are gone.
  if grep -rIlF -e "$source" -e "$build" "$prefix" >&2; then
    fail "the installed files above name the checkout or the build folder"
  fi
  soname=$(readelf -d "$prefix/$libdir/libquorvane20.so" | sed -n 's/.*(SONAME).*\[\(.*\)\]/\1/p')
  [ "$soname" = libquorvane20.so ] || fail "SONAME is '$soname', not libquorvane20.so"

  flags=$(PKG_CONFIG_PATH=$prefix/$libdir/pkgconfig pkg-config --cflags --libs quorvane) ||
    fail "pkg-config --cflags --libs quorvane"
  # shellcheck disable=SC2086  # the flags are separate words
  quiet "$cxx" -std=c++20 "$consumer/consumer.cpp" $flags -o "$work/pkgconfig_consumer"
  LD_LIBRARY_PATH=$prefix/$libdir "$work/pkgconfig_consumer" || fail "the pkg-config build"

  quiet cmake -S "$consumer" -B "$work/find_package" -DCMAKE_CXX_COMPILER="$cxx" \
    -DCMAKE_PREFIX_PATH="$prefix"
  quiet cmake --build "$work/find_package" -j "$jobs"
  checkPrograms "$work/find_package"
  ;;
subproject)
  source=$2 work=$3 cxx=$4
  # The folder is kept between runs so that only changed sources compile again;
  # the cache goes, so the options take their defaults afresh.
  mkdir -p "$work"
  rm -f "$work/CMakeCache.txt"
  quiet cmake -S "$consumer" -B "$work" -DCMAKE_CXX_COMPILER="$cxx" -DQUORVANE_SOURCE="$source" \
    -DCMAKE_DISABLE_FIND_PACKAGE_GTest=ON -DCMAKE_DISABLE_FIND_PACKAGE_benchmark=ON
  for part in tests examples bench; do
    [ ! -e "$work/quorvane/$part" ] || fail "the embedded build configured $part"
  done
  quiet cmake --build "$work" -j "$jobs"
  checkPrograms "$work"
  ;;
*)
  fail "unknown mode '$mode'"
  ;;
esac
echo "packaging ($mode): ok"
