# SPDX-License-Identifier: MIT
# shellcheck shell=bash
# What every end-to-end session shares: strict mode, a UTF-8 locale (window titles reach X as
# UTF-8 only under one, and a fresh machine may have none), a scratch home of its own, waits on
# conditions, and the face file's place. Sourced by xsession.sh and waylandsession.sh.

set -euo pipefail
export LC_ALL=C.UTF-8
SCRATCH=$(mktemp -d)
export XDG_RUNTIME_DIR="$SCRATCH/runtime" HOME="$SCRATCH/home"
mkdir -m 700 "$XDG_RUNTIME_DIR" "$HOME"
face_file="$HOME/Documents/顔ファイル.dat"

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
