#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The .deb as a user meets it: its desktop entry and metainfo pass their validators, apt
# installs it with its dependencies, the menu entry's Exec line starts the installed program
# and its main window comes up, and apt removes it again.
# usage: package.sh BUILD_FOLDER SCREENSHOT_FOLDER
source "$(dirname "$0")/xsession.sh"

build=$1
if [[ $(id -u) != 0 ]]; then
    echo "installing a package needs root; skipped"
    exit 77
fi
cd "$build"
rm -f picora3_*.deb
cpack -G DEB >/dev/null || fail "cpack could not build the package"
deb=$(echo "$PWD"/picora3_*.deb)
unpacked="$SCRATCH/unpacked"
dpkg-deb -x "$deb" "$unpacked"
desktop="$unpacked/usr/share/applications/example.picora3.Picora3.desktop"
desktop-file-validate "$desktop" || fail "desktop-file-validate refused the desktop entry"
appstreamcli validate --no-net "$unpacked/usr/share/metainfo/example.picora3.Picora3.metainfo.xml" ||
    fail "appstreamcli refused the metainfo"
for icon in 16x16/apps/picora3.png 32x32/apps/picora3.png 48x48/apps/picora3.png \
    256x256/apps/picora3.png scalable/apps/picora3.svg; do
    [[ -s "$unpacked/usr/share/icons/hicolor/$icon" ]] || fail "no icon $icon"
done

was_installed=$(dpkg-query -W -f='${Status}' picora3 2>/dev/null || true)
[[ $was_installed == *"ok installed"* ]] && fail "picora3 is already installed here"
remove_package() { DEBIAN_FRONTEND=noninteractive apt-get remove -y -q picora3 >/dev/null 2>&1 || true; }
trap 'remove_package; stop_everything' EXIT
DEBIAN_FRONTEND=noninteractive apt-get install -y -q "$deb" >/dev/null ||
    fail "apt could not install the package"
[[ -x /usr/bin/picora3 ]] || fail "the package put no /usr/bin/picora3"

start_x_server
exec_line=$(sed -n 's/^Exec=//p' /usr/share/applications/example.picora3.Picora3.desktop)
$exec_line &
APP_PID=$!
window_named "ピコラ Ver3.0" >/dev/null
kill "$APP_PID"
APP_PID=
remove_package
[[ ! -e /usr/bin/picora3 ]] || fail "apt left /usr/bin/picora3 behind"
echo "package: passed"
