#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# package_test.sh BUILD_DIR [SOURCE_DIR]: builds the Debian package from BUILD_DIR twice (the
# same bytes both times), checks it with the distribution's tools, unpacks it into a temporary
# root, starts the unpacked launcher twice with a temporary HOME and, where xvfb-run and xprop
# are installed, looks at the program's window as a desktop does.
set -euo pipefail
build=$(cd "$1" && pwd)
source=$(cd "${2:-$(dirname "$0")/../..}" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() { echo "FEHLER: $*" >&2; exit 1; }

cpack --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1 \
  || { cat "$work/cpack.log"; fail "cpack"; }
deb=$(ls "$work"/out/strivo_*.deb)
echo "package: $(basename "$deb"), $(stat -c %s "$deb") bytes"
# Every time stamp comes from the changelog, so a second run gives the same bytes.
cpack --config "$build/CPackConfig.cmake" -B "$work/again" >"$work/cpack.log" 2>&1 \
  || { cat "$work/cpack.log"; fail "second cpack"; }
cmp "$deb" "$work/again/$(basename "$deb")" || fail "two runs of cpack gave different packages"
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
# Computed from the linked libraries (Qt, SQLite), and what is loaded rather than linked: Qt's
# German texts and the cursor library of its X11 platform.
names=" $(echo "$depends" | sed 's/ ([^)]*)//g; s/,//g') "
for lib in libqt6widgets6 libqt6core6 libqt6svg6 libsqlite3-0 libstdc++6 \
           qt6-translations-l10n libxcursor1; do
  [[ "$names" == *" $lib "* ]] || fail "Depends names no $lib"
done

lintian --pedantic --fail-on error,warning "$deb" >"$work/lintian.log" 2>&1 \
  || { cat "$work/lintian.log"; fail "lintian reports errors or warnings"; }
cat "$work/lintian.log"

# The changelog's newest entry is the release: its date is on every file, so the about box's
# "vom" date of the installed program is the release date.
changelog=$source/packaging/changelog
epoch=$(dpkg-parsechangelog -l "$changelog" -STimestamp)
stamps=$(dpkg-deb --fsys-tarfile "$deb" | tar -tv --utc --full-time | awk '{ print $4 " " $5 }' \
  | sort -u)
[ "$stamps" = "$(date -u -d "@$epoch" '+%F %T')" ] \
  || fail "files carry other dates than the release date: $stamps"

root="$work/root"
dpkg-deb -x "$deb" "$root"
id=org.example.Strivo
desktop=$root/usr/share/applications/$id.desktop
metainfo=$root/usr/share/metainfo/$id.metainfo.xml
for f in usr/bin/strivo usr/bin/Strivo usr/libexec/strivo/strivo-access-reader \
         usr/share/strivo/schema.sql usr/share/strivo/seed.sql \
         usr/share/applications/$id.desktop usr/share/metainfo/$id.metainfo.xml \
         usr/share/icons/hicolor/scalable/apps/$id.svg \
         usr/share/man/man1/strivo.1.gz usr/share/man/man1/Strivo.1.gz \
         usr/share/doc/strivo/copyright usr/share/doc/strivo/changelog.Debian.gz; do
  [ -e "$root/$f" ] || fail "$f missing from the package"
done
for size in 16 22 24 32 48 64 128 256; do
  icon=$root/usr/share/icons/hicolor/${size}x${size}/apps/$id.png
  file "$icon" | grep -q ": PNG image data, $size x $size," || fail "no $size px icon: $(file "$icon")"
done
desktop-file-validate "$desktop"
appstreamcli validate --no-net "$metainfo"
grep -qx "Icon=$id" "$desktop" || fail "the menu entry names another icon than $id"
grep -q "<id>$id</id>" "$metainfo" || fail "the metadata has another id than $id"

# Licence: the GPL, version 3 or later, said alike everywhere.
grep -qx 'License: GPL-3+' "$root/usr/share/doc/strivo/copyright" || fail "copyright is not GPL-3+"
grep -q '<project_license>GPL-3.0-or-later</project_license>' "$metainfo" \
  || fail "metadata names another licence"
cmp -s "$source/COPYING" /usr/share/common-licenses/GPL-3 || fail "COPYING is not the GPL-3 text"

# Every released version is in the metadata with the date of its changelog entry, the newest
# first and the package's own version.
version=$(dpkg-deb -f "$deb" Version)
zcat "$root/usr/share/doc/strivo/changelog.Debian.gz" | cmp -s - "$changelog" \
  || fail "the package carries another changelog than $changelog"
[ "$(dpkg-parsechangelog -l "$changelog" -SVersion)" = "$version" ] \
  || fail "the newest changelog entry is not the package's version $version"
released=$(dpkg-parsechangelog -l "$changelog" --all --format rfc822 \
  | awk '/^Version:/ { v = $2; sub(/-[^-]*$/, "", v) } /^Timestamp:/ { print v, $2 }')
listed=$(grep -o '<release version="[^"]*" date="[^"]*"' "$metainfo" \
  | sed 's/.*version="\([^"]*\)" date="\([^"]*\)"/\1 \2/')
expected=$(while read -r v t; do echo "$v $(date -u -d "@$t" +%F)"; done <<<"$released")
[ "$listed" = "$expected" ] || fail "releases in the metadata:
$listed
but in the changelog:
$expected"

# The command line answers without a window and without touching HOME.
home="$work/home"
mkdir "$home"
for cmd in strivo Strivo; do
  out=$(env -i HOME="$home" PATH=/usr/bin:/bin "$root/usr/bin/$cmd" --version)
  [ "$out" = "Strivo ${version%-*}" ] || fail "$cmd --version says '$out'"
  env -i HOME="$home" PATH=/usr/bin:/bin "$root/usr/bin/$cmd" --help | grep -q "^Aufruf: $cmd " \
    || fail "$cmd --help shows no usage"
done
[ -z "$(ls -A "$home")" ] || fail "--version or --help touched HOME"

launch() {
  env -i HOME="$home" PATH=/usr/bin:/bin QT_QPA_PLATFORM=offscreen STRIVO_QUIT_AFTER_START=1 \
    timeout 120 "$root/usr/bin/strivo"
}
folder="$home/.local/share/Strivo"
# Marks the unpacked starter content, to see that the new database comes from the package and
# not from the source tree the program was built from.
echo "insert into aw_anrede (anrede) values ('Paketprobe');" >>"$root/usr/share/strivo/seed.sql"
launch || fail "first start failed"
[ "$(sqlite3 "$folder/Strivo-DB.mdb" "select count(*) from aw_anrede where anrede = 'Paketprobe'")" = 1 ] \
  || fail "the database was not made from the installed seed.sql"
for f in Strivo-DB.mdb Strivo-DB_Kopie.mdb Strivo-DB_compact.mdb Export Dokumente; do
  [ -e "$folder/$f" ] || fail "$folder/$f missing after the first start"
done
sqlite3 "$folder/Strivo-DB.mdb" \
  "insert into adressen (ad_lauf, ad_lauf_datum) values ('Paketlauf', '01.05.2027')"
launch || fail "second start failed"
[ "$(sqlite3 "$folder/Strivo-DB.mdb" "select ad_lauf from adressen")" = Paketlauf ] \
  || fail "the second start lost the race of the first"
[ "$(sqlite3 "$folder/Strivo-DB_compact.mdb" "select count(*) from adressen")" = 1 ] \
  || fail "the second start did not compact the database with the race"
# The window as a desktop sees it: the class the menu entry's StartupWMClass names, and an icon.
if command -v xvfb-run >/dev/null && command -v xprop >/dev/null && command -v xwininfo >/dev/null; then
  class=$(sed -n 's/^StartupWMClass=//p' "$desktop")
  [ -n "$class" ] || fail "the menu entry names no StartupWMClass"
  cat >"$work/window.sh" <<'EOS'
set -u
"$1" 2>"$2/strivo.err" &
program=$!
for _ in $(seq 100); do
  # The first window with a title and a class: the main window or the start screen before it.
  window=$(xwininfo -root -children | awk '/^ *0x[0-9a-f]+ ".+": \(".*" ".*"\)/ { print $1; exit }')
  [ -n "$window" ] && break
  sleep 0.2
done
# The icon's sizes, not all of it drawn as text.
[ -n "$window" ] && sleep 1 && xprop -id "$window" WM_CLASS \
  && xprop -id "$window" _NET_WM_ICON | grep -o 'Icon ([0-9]* x [0-9]*)' | sort -u | tr '\n' ' '
kill "$program"
wait "$program" 2>/dev/null
exit 0
EOS
  props=$(env -i HOME="$home" PATH=/usr/bin:/bin XDG_DATA_DIRS="$root/usr/share" \
    timeout 120 xvfb-run -a bash "$work/window.sh" "$root/usr/bin/Strivo" "$work")
  echo "$props"
  echo "$props" | grep -qF "WM_CLASS(STRING) = \"Strivo\", \"$class\"" \
    || { cat "$work/strivo.err"; fail "the window's class is not $class: $props"; }
  echo "$props" | grep -qF 'Icon (48 x 48)' || fail "the window has no icon of 48 px: $props"
fi
echo "package checked"
