#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The source package as Debian takes it, built as the README says: dpkg-buildpackage makes the
# source and binary packages from a copy of the checkout, running the headless tests on the
# way, and lintian has nothing to say about any of them. A second build of the same source
# in another folder, with the clock a year ahead, another umask, time zone and locale, and
# the tests left out, gives the very same .deb bytes. The first build's files go to
# OUTPUT_FOLDER, where the package test installs them.
# usage: package-build.sh OUTPUT_FOLDER
source "$(dirname "$0")/common.sh"

output=$1
source_folder=$(cd "$(dirname "$0")/../.." && pwd)
fail() {
    echo "FAIL: $*" >&2
    exit 1
}
trap 'rm -rf "$SCRATCH"' EXIT
need_tools git dpkg-buildpackage dh faketime lintian diffoscope

# The checkout's files as they stand, committed or not, without what git ignores (earlier
# builds), taken once so that both builds see the same source even while it is being edited.
# dpkg-buildpackage writes its packages beside the folder it builds, so each build gets a
# folder of its own in the scratch folder, its files made under that build's umask.
git -C "$source_folder" ls-files -z --cached --others --exclude-standard |
    while IFS= read -r -d '' file; do
        if [[ -e "$source_folder/$file" || -L "$source_folder/$file" ]]; then
            printf '%s\0' "$file"
        fi
    done |
    tar -C "$source_folder" --null --files-from=- --create --file="$SCRATCH/source.tar"
copy_source() {
    mkdir -p "$1"
    tar -C "$1" --extract --no-same-permissions --file="$SCRATCH/source.tar"
}

# Runs the command after $1 in the folder $1; on failure, shows the end of what it printed.
build() {
    local folder=$1 log
    shift
    log="$folder.log"
    (cd "$folder" && "$@") >"$log" 2>&1 || {
        tail -n 60 "$log" >&2
        fail "$* failed in $folder"
    }
}

first="$SCRATCH/first/picora3"
second="$SCRATCH/second/a/longer/way/to/the/source"
(
    umask 022
    copy_source "$first"
    TZ=UTC build "$first" dpkg-buildpackage -us -uc
)
(
    umask 077
    copy_source "$second"
    DEB_BUILD_OPTIONS=nocheck TZ=JST-9 LC_ALL=C \
        build "$second" faketime -f +400d dpkg-buildpackage -us -uc -b
)

# lintian says on stderr that it would rather not run as root; that is no finding. Even its
# pedantic and informational tags are findings here.
changes=$(echo "$(dirname "$first")"/picora3_*.changes)
status=0
findings=$(lintian --pedantic --display-info --fail-on error,warning,info,pedantic "$changes" 2>&1) ||
    status=$?
findings=$(grep -v '^running with root privileges is not recommended!$' <<<"$findings" || true)
[[ $status == 0 && -z $findings ]] || fail "lintian found fault with the packages:
$findings"

# The second build's clock really stood a year ahead: its build information says when.
built_at() { date -d "$(sed -n 's/^Build-Date: //p' "$1"/picora3_*.buildinfo)" +%s; }
((($(built_at "$(dirname "$second")") - $(built_at "$(dirname "$first")")) > 300 * 86400)) ||
    fail "the second build did not run a year later"

# The same packages, byte for byte; diffoscope shows where they differ.
cd "$(dirname "$first")"
debs=(*.deb)
[[ "$(cd "$(dirname "$second")" && echo *.deb)" == "${debs[*]}" ]] ||
    fail "the first build made ${debs[*]}, the second $(cd "$(dirname "$second")" && echo *.deb)"
for deb in "${debs[@]}"; do
    first_sum=$(sha256sum <"$deb")
    second_sum=$(sha256sum <"$(dirname "$second")/$deb")
    if [[ $first_sum != "$second_sum" ]]; then
        diffoscope "$deb" "$(dirname "$second")/$deb" >&2 || true
        fail "the two builds of $deb differ"
    fi
    echo "${first_sum%% *}  $deb, the same from both builds"
done

rm -rf "$output"
mkdir -p "$output"
find . -maxdepth 1 -type f -exec cp -t "$output" {} +
echo "package build: passed"
