#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# scripts/install-deps installs by group: starting the program must not pull in the test
# tools. apt-get and dpkg-query are stood in for, so nothing is installed; every package counts
# as missing and the packages asked for are the ones apt-get is given.
set -euo pipefail
source_folder=$(cd "$(dirname "$0")/.." && pwd)
stand_ins=$(mktemp -d)
trap 'rm -rf "$stand_ins"' EXIT
printf '#!/bin/sh\nexit 1\n' >"$stand_ins/dpkg-query"
printf '#!/bin/sh\n[ "$1" = install ] && shift 4 && echo "$@" >>"%s/asked"\nexit 0\n' \
    "$stand_ins" >"$stand_ins/apt-get"
chmod +x "$stand_ins/dpkg-query" "$stand_ins/apt-get"

asked_for() {
    rm -f "$stand_ins/asked"
    PATH="$stand_ins:$PATH" "$source_folder/scripts/install-deps" "$@" >/dev/null
    tr ' ' '\n' <"$stand_ins/asked" | sort
}
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

starting=$(asked_for run build)
for needed in g++ cmake make qt6-base-dev fonts-ipafont-gothic; do
    grep -qx "$needed" <<<"$starting" || fail "starting the program does not install $needed"
done
for tool in xvfb sway clang lintian xdotool wine64; do
    grep -qx "$tool" <<<"$starting" && fail "starting the program installs the test tool $tool"
done
everything=$(asked_for)
[[ "$(asked_for run build test windows)" == "$everything" ]] || fail "no group means all four"
for tool in xvfb sway clang lintian metacity build-essential wine64 g++-mingw-w64-x86-64-posix; do
    grep -qx "$tool" <<<"$everything" || fail "testing does not install $tool"
done
echo "install groups: passed"
