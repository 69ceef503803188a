#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The .deb as a user meets it: its desktop entry and metainfo pass their validators, it
# carries the licence and a manual page, apt installs it with its dependencies, `man picora3`
# shows the page, the menu entry's Exec line starts the installed program and its main window
# comes up, the package's own tests (autopkgtest) pass against the installed program, and apt
# removes it again.
# usage: package.sh PACKAGE_FOLDER SCREENSHOT_FOLDER   (PACKAGE_FOLDER from package-build.sh)
source "$(dirname "$0")/xsession.sh"

packages=$1
source_folder=$(cd "$(dirname "$0")/../.." && pwd)
[[ $(id -u) == 0 ]] || skip "installing a package needs root"
need_tools dpkg-deb man desktop-file-validate appstreamcli apt-get autopkgtest
deb=$(echo "$packages"/picora3_*_"$(dpkg --print-architecture)".deb)
[[ -f $deb ]] || fail "no package in $packages"
# Another checkout's tests may be installing packages too: wait for apt rather than fail.
printf 'DPkg::Lock::Timeout "600";\n' >"$SCRATCH/apt.conf"
export APT_CONFIG="$SCRATCH/apt.conf" DEBIAN_FRONTEND=noninteractive

unpacked="$SCRATCH/unpacked"
dpkg-deb -x "$deb" "$unpacked"
doc="$unpacked/usr/share/doc/picora3"
manual_page=usr/share/man/man1/picora3.1.gz

# The copyright file carries the very licence text of LICENSE, and its holder and year.
licence_text=$(sed -n '/^Permission is hereby granted/,$p' "$source_folder/LICENSE")
copyright_text=$(sed -n '/^ Permission is hereby granted/,$p' "$doc/copyright" |
    sed 's/^ \.$//; s/^ //')
[[ -n $licence_text && $copyright_text == "$licence_text" ]] ||
    fail "the copyright file's licence differs from LICENSE"
holder=$(sed -n 's/^Copyright (c) //p' "$source_folder/LICENSE")
grep -qxF "Copyright: $holder" "$doc/copyright" || fail "the copyright file does not name $holder"

# The manual page, as man shows it, from the package itself: whether dpkg installs manual
# pages on this machine is the machine's business.
name_line="       picora3 - pick a Japanese text emoticon and put it on the clipboard"
face_file_line="       ~/Documents/顔ファイル.dat"
shown=$(MANWIDTH=80 man --warnings -l -P cat "$unpacked/$manual_page" 2>"$SCRATCH/man-warnings") ||
    fail "man could not show the manual page"
[[ ! -s "$SCRATCH/man-warnings" ]] || fail "groff warns about the manual page:
$(cat "$SCRATCH/man-warnings")"
grep -qxF "$name_line" <<<"$shown" || fail "the manual page has no NAME line:
$shown"
grep -qxF "$face_file_line" <<<"$shown" || fail "the manual page does not name the face file"

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
remove_package() { apt-get remove -y -q picora3 >/dev/null 2>&1 || true; }
trap 'remove_package; stop_everything' EXIT
apt-get install -y -q "$deb" >/dev/null || fail "apt could not install the package"
[[ -x /usr/bin/picora3 ]] || fail "the package put no /usr/bin/picora3"
if [[ -e /$manual_page ]]; then
    shown=$(MANWIDTH=80 MANPAGER=cat man picora3 2>&1) || fail "man picora3 failed: $shown"
    grep -qxF "$name_line" <<<"$shown" || fail "man picora3 shows no NAME line:
$shown"
else
    # Slim images tell dpkg to leave manual pages out; the page was checked in the package.
    excluded=$(grep -Hs '^path-exclude.*/usr/share/man' /etc/dpkg/dpkg.cfg \
        /etc/dpkg/dpkg.cfg.d/* || true)
    [[ -n $excluded ]] || fail "apt installed no /$manual_page"
    echo "note: dpkg leaves manual pages out on this machine, so man picora3 was not tried:"
    echo "$excluded"
fi

start_x_server
exec_line=$(sed -n 's/^Exec=//p' /usr/share/applications/example.picora3.Picora3.desktop)
$exec_line &
APP_PID=$!
window_named "ピコラ Ver3.0" >/dev/null
kill "$APP_PID"
APP_PID=

# The package's own tests against the installed program, taken from its source package as
# Debian's CI takes them.
autopkgtest --output-dir "$SCRATCH/autopkgtest" "$deb" "$packages"/picora3_*.dsc -- null \
    >"$SCRATCH/autopkgtest.log" 2>&1 || fail "autopkgtest failed:
$(cat "$SCRATCH/autopkgtest.log")"
cat "$SCRATCH/autopkgtest/summary"

remove_package
[[ ! -e /usr/bin/picora3 ]] || fail "apt left /usr/bin/picora3 behind"
echo "package: passed"
