#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Shared by run.sh and test.sh: installs what is missing and builds in build/.
set -euo pipefail
cd "$(dirname "$0")/.."

PACKAGES=(build-essential cmake ccache qt6-base-dev libsqlite3-dev sqlite3 libgtest-dev libgmock-dev
          libbenchmark-dev libfreexl-dev python3-xlrd fonts-dejavu-core qt6-image-formats-plugins
          xvfb xauth libicu-dev qt6-translations-l10n libical-dev mdbtools-dev qt6-charts-dev
          lintian desktop-file-utils appstream khal dpkg-dev file clang-format clang-tidy
          qt6-svg-dev x11-utils libxlsxwriter-dev python3-openpyxl poppler-utils python3-icalendar)

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

# ccache lets several checkouts of the project share their compiled objects.
launcher=()
if command -v ccache >/dev/null; then
  export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" >/dev/null
cmake --build build -j"$(nproc)"
