#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs a built package on a clean Debian 12 root (debootstrap, minbase) as a new user would:
# apt-get install --no-install-recommends, --version and --help, a first start under a virtual X
# server with the take-over's file dialog open, a screenshot, and the window's WM_CLASS and icon.
# Run by hand as root with the Debian mirror reachable; it takes several minutes.
#
#   scripts/clean_root_check.sh [DEB] [WORK]
#
# DEB defaults to build/package/strivo_*.deb, WORK (root, screenshot, logs) to /tmp/strivo-clean.
# The root is kept for a second run; delete WORK to start anew. Only the package and what it
# depends on are installed there: the X server and the tools that look at the window run outside,
# so nothing they bring can hide a missing dependency.
set -euo pipefail
cd "$(dirname "$0")/.."
deb=$(readlink -f "${1:-$(ls build/package/strivo_*.deb | tail -1)}")
work=${2:-/tmp/strivo-clean}
root=$work/root
display=:77

fail() { echo "FEHLER: $*" >&2; exit 1; }
[ "$(id -u)" -eq 0 ] || fail "needs root (debootstrap, chroot)"
[ -f "$deb" ] || fail "no package $deb"

tools=(debootstrap xvfb x11-utils xdotool imagemagick)
missing=()
for p in "${tools[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  DEBIAN_FRONTEND=noninteractive apt-get install -y -q "${missing[@]}"
fi

# The mirror this machine already uses.
mirror=${STRIVO_MIRROR:-$(sed -n 's/^URIs: *\([^ ]*debian\)$/\1/p' /etc/apt/sources.list.d/*.sources \
  /dev/null 2>/dev/null | head -1)}
[ -n "$mirror" ] || mirror=$(awk '$1 == "deb" { print $2; exit }' /etc/apt/sources.list)
[ -n "$mirror" ] || fail "no Debian mirror found; set STRIVO_MIRROR"

mkdir -p "$work"
if [ ! -f "$root/.debootstrap-done" ]; then
  rm -rf "$root"
  echo "== debootstrap --variant=minbase bookworm ($(date +%T))"
  debootstrap --variant=minbase bookworm "$root" "$mirror" >"$work/debootstrap.log" 2>&1 \
    || { tail -20 "$work/debootstrap.log"; fail "debootstrap"; }
  touch "$root/.debootstrap-done"
fi
[ "${STRIVO_ONLY_ROOT:-}" = 1 ] && exit 0

mounted=()
cleanup() {
  [ -n "${xvfb:-}" ] && kill "$xvfb" 2>/dev/null || true
  for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do umount "${mounted[i]}" || true; done
}
trap cleanup EXIT
mountin() { mount "$@"; mounted+=("${*: -1}"); }
mountin -t proc proc "$root/proc"
mountin --bind /dev "$root/dev"
mkdir -p /tmp/.X11-unix "$root/tmp/.X11-unix"
mountin --bind /tmp/.X11-unix "$root/tmp/.X11-unix"
cp /etc/resolv.conf "$root/etc/resolv.conf"
in_root() { chroot "$root" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin LANG=C.UTF-8 "$@"; }

echo "== apt-get install --no-install-recommends $(basename "$deb") ($(date +%T))"
cp "$deb" "$root/tmp/"
in_root apt-get update -q >"$work/apt.log" 2>&1 || { cat "$work/apt.log"; fail "apt-get update"; }
in_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends \
  "/tmp/$(basename "$deb")" >>"$work/apt.log" 2>&1 || { tail -30 "$work/apt.log"; fail "install"; }
grep -E '^(Setting up|Get:)' "$work/apt.log" | wc -l | xargs echo "packages set up or fetched:"
in_root dpkg-query -W -f='${Package} ${Version}\n' strivo qt6-translations-l10n libxcursor1 || true

echo "== strivo --version / --help"
in_root strivo --version
in_root strivo --help
[ ! -e "$root/root/.local/share/Strivo" ] || fail "--help or --version touched the user's folder"

in_root sh -c 'id laeufer >/dev/null 2>&1 || useradd -m laeufer'
echo "== Strivo started directly by a new user, offscreen"
set +e
in_root su laeufer -c 'QT_QPA_PLATFORM=offscreen timeout 30 Strivo'
echo "exit code $?"
set -e

echo "== first start under X ($(date +%T))"
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb=$!
sleep 2
in_root su laeufer -c "DISPLAY=$display strivo" >"$work/strivo.log" 2>&1 &
export DISPLAY=$display
window=$(timeout 60 xdotool search --sync --onlyvisible --class Strivo | head -1)
sleep 3
echo "window $window"
xprop -id "$window" WM_CLASS _NET_WM_ICON | cut -c1-120 | head -3
xprop -id "$window" _NET_WM_ICON | grep -o 'Icon ([0-9]* x [0-9]*)' | sort -u | tr '\n' ' '
echo
grep -h StartupWMClass "$root"/usr/share/applications/*.desktop

# The take-over's file dialog: the first entry of the menu "Datei".
eval "$(xdotool getwindowgeometry --shell "$window")"
xdotool mousemove $((X + 20)) $((Y + 10)) click 1
sleep 1
xdotool mousemove $((X + 60)) $((Y + 35)) click 1
sleep 3
import -window root "$work/file-dialog.png"
echo "screenshot $work/file-dialog.png"
xdotool key Escape
sleep 1
xdotool windowclose "$window" 2>/dev/null || xdotool key --window "$window" alt+F4
sleep 2
echo "== what the program wrote to stderr"
cat "$work/strivo.log"
ls -la "$root/home/laeufer/.local/share/Strivo"
