#!/usr/bin/env bash
# package_test.sh BUILD_DIR: builds the Debian package from BUILD_DIR, checks it with the
# distribution's tools, unpacks it into a temporary root and starts the unpacked launcher
# twice with a temporary HOME.
set -euo pipefail
build=$(cd "$1" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() { echo "FEHLER: $*" >&2; exit 1; }

cpack --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1 \
  || { cat "$work/cpack.log"; fail "cpack"; }
deb=$(ls "$work"/out/strivo_*.deb)
echo "package: $(basename "$deb"), $(stat -c %s "$deb") bytes"
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
# Computed from the linked libraries, so Qt and SQLite must be there.
for lib in libqt6widgets6 libqt6core6 libsqlite3-0 libstdc++6; do
  [[ "$depends" == *"$lib"* ]] || fail "Depends names no $lib"
done

lintian --fail-on error --suppress-tags-from-file /dev/null "$deb" >"$work/lintian.log" 2>&1 \
  || { cat "$work/lintian.log"; fail "lintian reports errors"; }
grep -E '^[EW]:' "$work/lintian.log" || true

root="$work/root"
dpkg-deb -x "$deb" "$root"
for f in usr/bin/strivo usr/bin/Strivo usr/libexec/strivo/strivo-access-reader \
         usr/share/strivo/schema.sql usr/share/strivo/seed.sql \
         usr/share/applications/org.example.Strivo.desktop \
         usr/share/metainfo/org.example.Strivo.metainfo.xml \
         usr/share/icons/hicolor/48x48/apps/org.example.Strivo.png \
         usr/share/icons/hicolor/256x256/apps/org.example.Strivo.png \
         usr/share/icons/hicolor/scalable/apps/org.example.Strivo.svg \
         usr/share/man/man1/strivo.1.gz usr/share/man/man1/Strivo.1.gz \
         usr/share/doc/strivo/copyright usr/share/doc/strivo/changelog.Debian.gz; do
  [ -e "$root/$f" ] || fail "$f missing from the package"
done
file "$root/usr/share/icons/hicolor/48x48/apps/org.example.Strivo.png" | grep -q '48 x 48' \
  || fail "48 px icon has the wrong size"
desktop-file-validate "$root/usr/share/applications/org.example.Strivo.desktop"
appstreamcli validate --no-net "$root/usr/share/metainfo/org.example.Strivo.metainfo.xml"
version=$(dpkg-deb -f "$deb" Version)
grep -q "release version=\"${version%-*}\"" "$root/usr/share/metainfo/org.example.Strivo.metainfo.xml" \
  || fail "metadata carries another version than the package ($version)"
zcat "$root/usr/share/doc/strivo/changelog.Debian.gz" | head -1 | grep -qF "($version)" \
  || fail "changelog carries another version than the package ($version)"

home="$work/home"
mkdir "$home"
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
echo "package checked"
