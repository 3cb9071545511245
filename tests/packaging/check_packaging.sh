#!/usr/bin/env bash
# Packaging checks, run by ctest from the plain build.
#   check_packaging.sh installed SOURCE_DIR BUILD_DIR WORK_DIR CXX LIBDIR PYTHON_DIR PYTHON
#     installs BUILD_DIR stripped into the empty WORK_DIR/prefix the way
#     `make install` does, checks the files, builds the consumer program
#     against it with pkg-config (the README's command line, no library path
#     set) and with find_package through CMake, draws a chart through the
#     installed Python package, then uninstalls and checks the prefix is empty.
#   check_packaging.sh deb PACKAGE_DIR CXX PYTHON
#     checks the Debian packages `make deb` made (names, control fields,
#     dependencies, file lists), unpacks them into a scratch root and uses
#     them there as the installed copy is used; ends with "package checks:
#     N passed, N failed".
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

# The README's pkg-config command line: the library found through the rpath,
# no library path set. LIBDIR holds pkgconfig/quorvane.pc.
pkgconfigBuild() {
  local libdir=$1 program=$2 flags rpath
  flags=$(PKG_CONFIG_PATH=$libdir/pkgconfig pkg-config --cflags --libs quorvane) &&
    rpath=$(PKG_CONFIG_PATH=$libdir/pkgconfig pkg-config --variable=libdir quorvane) ||
    fail "pkg-config --cflags --libs quorvane"
  # shellcheck disable=SC2086  # the flags are separate words
  quiet "$cxx" -std=c++20 "$consumer/consumer.cpp" $flags -Wl,-rpath,"$rpath" -o "$program"
  env -u LD_LIBRARY_PATH "$program" || fail "the pkg-config build"
}

# The consumer project through find_package, CMAKE_PREFIX_PATH naming PREFIX.
findPackageBuild() {
  local prefix=$1 dir=$2
  quiet cmake -S "$consumer" -B "$dir" -DCMAKE_CXX_COMPILER="$cxx" -DCMAKE_PREFIX_PATH="$prefix"
  quiet cmake --build "$dir" -j "$jobs"
  checkPrograms "$dir"
}

# Run from elsewhere with no library named, the package in SITE loads LIBRARY
# (found from the package's own folder) and draws a pie; the package must lie
# under PREFIX.
pythonDraws() {
  local site=$1 library=$2 prefix=$3 work=$4
  (cd "$work" && env -u QUORVANE_LIBRARY PYTHONPATH="$site" "$python" - "$library" "$prefix" <<'PY'
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
  ) || fail "the Python package in $site"
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

  pkgconfigBuild "$prefix/$libdir" "$work/pkgconfig_consumer"
  findPackageBuild "$prefix" "$work/find_package"
  pythonDraws "$prefix/$pythondir" "$library" "$prefix" "$work"

  quiet env -u DESTDIR bash "$source/scripts/install.sh" uninstall "$build" "$prefix"
  left=$(find "$prefix" -mindepth 1)
  [ -z "$left" ] || fail "uninstall left: $left"
  ;;
deb)
  packages=$(cd "$2" && pwd) cxx=$3 python=$4
  source=$(cd "$here/../.." && pwd)
  work=$packages/check
  root=$work/root
  multiarch=$(dpkg-architecture -qDEB_HOST_MULTIARCH)
  version=$(sed -n 's/^project(quorvane VERSION \([0-9.]*\).*/\1/p' "$source/CMakeLists.txt")
  arch=$(dpkg --print-architecture)
  runtime=$packages/libquorvane20_${version}_$arch.deb
  dev=$packages/libquorvane-dev_${version}_$arch.deb
  py=$packages/python3-quorvane_${version}_all.deb
  libdir=usr/lib/$multiarch
  site=usr/lib/python3/dist-packages
  rm -rf "$work"
  mkdir -p "$root"
  for deb in "$runtime" "$dev" "$py"; do
    [ -f "$deb" ] || fail "$deb was not made"
    dpkg-deb -x "$deb" "$root"
  done

  # Field VALUE of the control file of DEB.
  field() { dpkg-deb -f "$1" "$2"; }
  # The files and links of DEB (not its folders), one a line, sorted.
  contents() { dpkg-deb -c "$1" | awk '$1 !~ /^d/ { print $6 }' | sed 's|^\./||' | sort; }
  # What the file lists should be, from the source tree.
  expectedPython() {
    (cd "$source/bindings/python/quorvane" && ls -1 ./*.py ./*.pyi py.typed 2>/dev/null) | sed "s|^\./||; s|^|$site/quorvane/|"
    printf '%s\n' "$site/quorvane/_library.txt" usr/share/doc/python3-quorvane/copyright
  }
  expectedDev() {
    local doc=usr/share/doc/libquorvane-dev cmake=$libdir/cmake/Quorvane/Quorvane
    (cd "$source" && find include -type f)  | sed 's|^include/|usr/include/|'
    (cd "$source" && find examples -type f ! -path '*/__pycache__/*' ! -path '*/node_modules/*') | sed "s|^|$doc/|"
    printf '%s\n' "$libdir/libquorvane20.a" "$libdir/pkgconfig/quorvane.pc" \
      "${cmake}Config.cmake" "${cmake}ConfigVersion.cmake" "${cmake}Targets.cmake" "${cmake}Targets-release.cmake" \
      "${cmake}StaticTargets.cmake" "${cmake}StaticTargets-release.cmake" \
      "$doc/README.md" "$doc/CHANGELOG.md" "$doc/LICENSE" "$doc/copyright"
  }
  sameList() {
    local name=$1 got=$2 want=$3
    [ "$got" = "$want" ] || fail "$name holds other files than expected:
$(diff <(printf '%s\n' "$want") <(printf '%s\n' "$got") | grep '^[<>]')"
  }

  checkControl() {
    [ "$(field "$runtime" Section)" = libs ] && [ "$(field "$dev" Section)" = libdevel ] &&
      [ "$(field "$py" Architecture)" = all ] || fail "sections or architectures"
    for deb in "$runtime" "$dev" "$py"; do
      [ "$(field "$deb" Version)" = "$version" ] || fail "$deb is not version $version"
    done
    field "$dev" Depends | grep -qF "libquorvane20 (= $version)" || fail "libquorvane-dev does not depend on libquorvane20 $version"
    field "$py" Depends | grep -qF "libquorvane20 (= $version)" || fail "python3-quorvane does not depend on libquorvane20 $version"
    # ldconfig after install and removal.
    dpkg-deb --ctrl-tarfile "$runtime" | tar -xO ./postinst | grep -q ldconfig || fail "no ldconfig on install"
  }
  checkFiles() {
    sameList libquorvane20 "$(contents "$runtime")" "$(printf '%s\n' "$libdir/libquorvane20.so" \
      "$libdir/libquorvane20.so.$version" usr/share/doc/libquorvane20/copyright | sort)"
    sameList libquorvane-dev "$(contents "$dev")" "$(expectedDev | sort)"
    sameList python3-quorvane "$(contents "$py")" "$(expectedPython | sort)"
    for package in libquorvane20 libquorvane-dev python3-quorvane; do
      cmp -s <(sed -n '/^Permission/,$p' "$source/LICENSE" | tr -s ' \n' '  ') \
             <(sed -n '/Permission is hereby/,$p' "$root/usr/share/doc/$package/copyright" | sed 's/^ \.\{0,1\}//' | tr -s ' \n' '  ') ||
        fail "$package's copyright does not carry the licence's text"
    done
  }
  # Every library the shared library loads comes from a package the runtime
  # package depends on.
  checkDependencies() {
    local depends owner
    depends=$(field "$runtime" Depends)
    for soname in $(readelf -d "$root/$libdir/libquorvane20.so.$version" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p'); do
      owner=$(dpkg -S "*/$soname" 2>/dev/null | awk -v end="/$multiarch/$soname" \
      'substr($0, length($0) - length(end) + 1) == end { sub(/:.*/, ""); print; exit }')
      [ -n "$owner" ] || fail "no Debian package holds $soname"
      tr ',' '\n' <<<"$depends" | awk '{ print $1 }' | grep -qxF "$owner" || fail "libquorvane20 does not depend on $owner for $soname"
    done
  }
  checkLibrary() {
    local so=$root/$libdir/libquorvane20.so
    [ "$(readlink "$so")" = "libquorvane20.so.$version" ] || fail "libquorvane20.so is not a link to the versioned file"
    ! readelf -S "$so" | grep -q '\.symtab' || fail "the library was not stripped"
    readelf -d "$so" | grep -q 'SONAME.*\[libquorvane20\.so\]' || fail "the SONAME is not libquorvane20.so"
    ! grep -rIlF -e "$packages" "$root" >&2 || fail "the files above name the build folder"
  }

  passed=0 failed=0
  for check in checkControl checkFiles checkDependencies checkLibrary \
               "pkgconfigBuild $root/$libdir $work/pkgconfig_consumer" \
               "findPackageBuild $root/usr $work/find_package" \
               "pythonDraws $root/$site $root/$libdir/libquorvane20.so $root/usr $work"; do
    if (eval "$check"); then
      passed=$((passed + 1))
      echo "ok: ${check%% *}"
    else
      failed=$((failed + 1))
      echo "FAILED: ${check%% *}"
    fi
  done
  echo "package checks: $passed passed, $failed failed"
  [ "$failed" -eq 0 ] || exit 1
  exit 0
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
