#!/usr/bin/env bash
# Shared by run.sh and test.sh: installs what is missing and builds in build/.
set -euo pipefail
cd "$(dirname "$0")/.."

PACKAGES=(build-essential cmake qt6-base-dev libsqlite3-dev sqlite3 libgtest-dev libgmock-dev
          libbenchmark-dev libfreexl-dev python3-xlrd fonts-dejavu-core qt6-image-formats-plugins
          xvfb xauth)

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installiere: ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get install -y -q "${missing[@]}" || { $SUDO apt-get update -q && $SUDO apt-get install -y -q "${missing[@]}"; }
fi

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)"
