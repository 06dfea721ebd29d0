#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds and starts Strivo through its launcher, as the installed
# program starts: the races live in the user's folder, never in build/.
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup.sh

# Earlier versions of this script kept the database in build/bin/: the launcher moves it into
# the user's folder once and renames the old file.
old=build/bin/Strivo-DB.mdb
if [ -e "$old" ]; then
  exec build/bin/strivo --uebernehmen "$old"
fi
exec build/bin/strivo
