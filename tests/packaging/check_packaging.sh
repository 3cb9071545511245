#!/usr/bin/env bash
# Packaging checks, run by ctest from the plain build.
#   check_packaging.sh installed SOURCE_DIR BUILD_DIR WORK_DIR CXX LIBDIR PYTHON_DIR PYTHON
#     installs BUILD_DIR stripped into the empty WORK_DIR/prefix the way
#     `make install` does, checks the files, builds the consumer program
#     against it with pkg-config (the README's command line, no library path
#     set) and with find_package through CMake, draws a chart through the
#     installed Python package, then uninstalls and checks the prefix is empty.
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
  source=$2 build=$3 work=$4 cxx=$5 libdir=$6 pythondir=$7 python=$8
  prefix=$work/prefix
  rm -rf "$work"
  mkdir -p "$prefix"
  quiet env -u DESTDIR bash "$source/scripts/install.sh" install "$build" "$prefix" --strip
  library=$prefix/$libdir/libquorvane20.so
  versioned=libquorvane20.so.$(sed -n 's/^Version: //p' "$prefix/$libdir/pkgconfig/quorvane.pc")
  for file in include/quorvane.h include/quorvane_ptr.h "$libdir/$versioned" "$libdir/libquorvane20.a" \
              "$libdir/pkgconfig/quorvane.pc" "$libdir/cmake/Quorvane/QuorvaneConfig.cmake" \
              "$libdir/cmake/Quorvane/QuorvaneConfigVersion.cmake" "$libdir/cmake/Quorvane/QuorvaneTargets.cmake" \
              "$pythondir/quorvane/__init__.py" "$pythondir/quorvane/_native.py" share/doc/quorvane/README.md; do
    [ -f "$prefix/$file" ] && [ ! -L "$prefix/$file" ] || fail "$file was not installed as a file"
  done
  [ "$(readlink "$library")" = "$versioned" ] || fail "libquorvane20.so is not a link to $versioned"
  ! readelf -S "$prefix/$libdir/$versioned" | grep -q '\.symtab' || fail "$versioned was not stripped"
  # The package must stand on its own once the checkout and the build are gone.
  if grep -rIlF -e "$source" -e "$build" "$prefix" >&2; then
    fail "the installed files above name the checkout or the build folder"
  fi
  soname=$(readelf -d "$library" | sed -n 's/.*(SONAME).*\[\(.*\)\]/\1/p')
  [ "$soname" = libquorvane20.so ] || fail "SONAME is '$soname', not libquorvane20.so"

  export PKG_CONFIG_PATH=$prefix/$libdir/pkgconfig
  flags=$(pkg-config --cflags --libs quorvane) && rpath=$(pkg-config --variable=libdir quorvane) ||
    fail "pkg-config --cflags --libs quorvane"
  # shellcheck disable=SC2086  # the flags are separate words
  quiet "$cxx" -std=c++20 "$consumer/consumer.cpp" $flags -Wl,-rpath,"$rpath" -o "$work/pkgconfig_consumer"
  env -u LD_LIBRARY_PATH "$work/pkgconfig_consumer" || fail "the pkg-config build"

  quiet cmake -S "$consumer" -B "$work/find_package" -DCMAKE_CXX_COMPILER="$cxx" \
    -DCMAKE_PREFIX_PATH="$prefix"
  quiet cmake --build "$work/find_package" -j "$jobs"
  checkPrograms "$work/find_package"

  # Run from elsewhere with no library named, the installed package loads the
  # installed library and writes its byte code beside itself.
  (cd "$work" && env -u QUORVANE_LIBRARY PYTHONPATH="$prefix/$pythondir" "$python" - "$library" "$prefix" <<'PY'
import os, sys
import quorvane
from quorvane import _native
library, prefix = (os.path.realpath(p) for p in sys.argv[1:])
assert os.path.realpath(quorvane.__file__).startswith(prefix + os.sep), quorvane.__file__
assert os.path.realpath(_native.library_path()) == library, _native.library_path()
c = quorvane.PieChart(250, 200)
c.setPieSize(125, 100, 70)
c.setData([3, 5, 2], ["North", "East", "South"])
png = bytes(c.makeChart2(quorvane.PNG))
assert png[:8] == b"\x89PNG\r\n\x1a\n" and png[16:24] == (250).to_bytes(4, "big") + (200).to_bytes(4, "big")
PY
  ) || fail "the installed Python package"

  quiet env -u DESTDIR bash "$source/scripts/install.sh" uninstall "$build" "$prefix"
  left=$(find "$prefix" -mindepth 1)
  [ -z "$left" ] || fail "uninstall left: $left"
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
