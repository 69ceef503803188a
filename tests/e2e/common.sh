# SPDX-License-Identifier: MIT
# shellcheck shell=bash
# What every end-to-end session shares: strict mode, a UTF-8 locale (window titles reach X as
# UTF-8 only under one, and a fresh machine may have none), a scratch home of its own, the
# tools it needs, waits on conditions, and the face file's place. Sourced by xsession.sh and
# waylandsession.sh.

set -euo pipefail
export LC_ALL=C.UTF-8
SCRATCH=$(mktemp -d)
export XDG_RUNTIME_DIR="$SCRATCH/runtime" HOME="$SCRATCH/home"
mkdir -m 700 "$XDG_RUNTIME_DIR" "$HOME"
face_file="$HOME/Documents/顔ファイル.dat"

# Ends the test as skipped (CTest's skip code) and says why.
skip() {
    echo "skipped: $*"
    exit 77
}

# A machine without a tool the test needs skips the test at once, naming every tool missing,
# instead of failing it after a wait. scripts/install-deps installs them all.
need_tools() {
    local tool missing=()
    for tool in "$@"; do
        command -v "$tool" >/dev/null || missing+=("$tool")
    done
    ((${#missing[@]} == 0)) ||
        skip "no ${missing[*]} here (scripts/install-deps test installs them)"
}

# How long a server (Xvfb, a window manager, sway) may take to start. A loaded machine can
# take many seconds; the wait ends as soon as the server is up.
server_start_seconds=60

# Polls a command until it succeeds, for at most $1 seconds.
wait_for() {
    local seconds=$1
    shift
    local deadline=$((SECONDS + seconds))
    until "$@" 2>/dev/null; do
        ((SECONDS < deadline)) || return 1
        sleep 0.05
    done
}

# The documents folder the face file lives in; the program never makes it itself.
make_documents() {
    mkdir -p "$HOME/Documents"
}

# Waits up to $1 seconds for the screen's rectangle "X Y W H" ($2) to show something other
# than it showed when $3 was taken with region_print (each session defines region_print).
wait_for_change() {
    local seconds=$1 region=$2 before=$3
    region_differs() { [[ "$(region_print "$region")" != "$before" ]]; }
    wait_for "$seconds" region_differs
}

# Where the client area starts in the main window whose rectangle is "X Y W H" ($1), as an
# offset from the window's top: the client area is 180 pixels high and ends at the window's
# bottom, and the menu bar stands above it.
client_top_in() {
    local h
    read -r _ _ _ h <<<"$1"
    echo $((h - 180))
}

# The category label's rectangle, "X Y W H", in the main window whose rectangle is $1.
category_label() {
    local x y
    read -r x y _ <<<"$1"
    echo "$((x + 8)) $((y + $(client_top_in "$1") + 48)) 48 12"
}
