#!/usr/bin/env bash
# Installs the Debian packages that the build, the tests and the demo need,
# but only those that are missing; running it again changes nothing.
set -euo pipefail

packages=(
  g++ make cmake pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  zlib1g-dev libpng-dev libjpeg-dev libfreetype-dev
  clang libclang-rt-14-dev libgif-dev
  fonts-liberation2 fonts-dejavu-core gsfonts
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

if [ "$(id -u)" -ne 0 ]; then
  echo "install-deps: missing packages: ${missing[*]} (run as root to install them)" >&2
  exit 1
fi

export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}"
