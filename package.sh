#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds and makes the Debian package in build/package/.
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup.sh
(cd build && cpack -G DEB >/dev/null)
ls build/package/strivo_*.deb
