#!/usr/bin/env bash
# Installs the Debian packages that the build, the tests and the demo need,
# and the browser tests' npm package into tests/browser/node_modules, but only
# those that are missing; running it again changes nothing.
# `install-deps.sh demo` asks only for what the library and the examples need
# (no test frameworks, no clang, no browser, no valgrind); `install-deps.sh
# flask` that and Flask and gunicorn for Debian's Python, which the Flask
# example runs on.
set -euo pipefail

packages=(
  g++ make cmake pkg-config
  zlib1g-dev libpng-dev libjpeg-dev libfreetype-dev
  fonts-liberation2 fonts-dejavu-core gsfonts
)
mode=${1:-all}
if [ "$mode" != demo ]; then
  packages+=(python3 python3-flask gunicorn)
fi
if [ "$mode" = all ]; then
  packages+=(libgtest-dev libgmock-dev libbenchmark-dev clang libclang-rt-14-dev libgif-dev
             chromium valgrind dpkg-dev)
  # The fallback faces the text tests draw Chinese and symbols from.
  packages+=(fonts-droid-fallback fonts-symbola)
  # A Node.js from elsewhere brings its own npm, which Debian's npm would clash with.
  command -v node >/dev/null || packages+=(nodejs)
  command -v npm >/dev/null || packages+=(npm)
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  if [ "$(id -u)" -ne 0 ]; then
    echo "install-deps: missing packages: ${missing[*]} (run as root to install them)" >&2
    exit 1
  fi
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# The browser tests drive the system Chromium through playwright-core, pinned
# by tests/browser/package-lock.json.
browser=$(cd "$(dirname "$0")/../tests/browser" && pwd)
if [ "$mode" = all ] && [ ! -f "$browser/node_modules/playwright-core/package.json" ]; then
  npm ci --prefix "$browser" --no-audit --no-fund --loglevel=error
fi
