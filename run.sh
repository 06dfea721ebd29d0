#!/usr/bin/env bash
# Installs what is missing, builds, prepares the program folder and starts Strivo.
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup.sh

bin=build/bin
# The program never creates its database: the installation does, and never replaces one.
[ -e "$bin/Strivo-DB.mdb" ] || build/bin/strivo-makedb "$bin/Strivo-DB.mdb" db/schema.sql db/seed.sql
mkdir -p "$bin/Export" "$bin/Dokumente"
exec "$bin/Strivo" "$@"
