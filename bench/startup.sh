#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Start-up benchmark: time from exec to the first window being mapped, and peak resident
# memory, of the program against a bare Qt program (the floor), on a private X server.
#
#   bench/startup.sh PROGRAM FLOOR MAPWATCH [RUNS]
#
# e.g. bench/startup.sh build/picora3 build/bench/bench-floor build/bench/bench-mapwatch
# Environment that is set when calling (QT_QPA_PLATFORM, say) reaches both programs.

set -euo pipefail

if (($# < 3 || $# > 4)); then
    echo "usage: $0 PROGRAM FLOOR MAPWATCH [RUNS]" >&2
    exit 2
fi
PROGRAM=$(realpath "$1")
FLOOR=$(realpath "$2")
MAPWATCH=$(realpath "$3")
RUNS=${4:-15}
OURS_TITLE=ポルカン
FLOOR_TITLE=floor

source "$(dirname "$0")/../tests/e2e/xsession.sh"
# An interrupted run must still stop its X server.
trap 'exit 130' INT TERM
# A private server and no window manager, so that the map is the program's own window's.
start_bare_x_server

# One run of a program (and its arguments) whose window is titled $1, appending its line to
# file $2, in a fresh home and runtime folder so that no cache from an earlier run (or the
# user's own) helps and nothing outside is touched.
measure() {
    local title=$1 results=$2 dir
    shift 2
    dir=$(mktemp -d "$SCRATCH/run.XXXXXX")
    mkdir -m 700 "$dir/home" "$dir/runtime"
    if ! HOME="$dir/home" XDG_RUNTIME_DIR="$dir/runtime" \
        "$MAPWATCH" --title "$title" -- "$@" >>"$results" 2>"$dir/stderr" </dev/null; then
        echo "$* failed:" >&2
        cat "$dir/stderr" >&2
        exit 1
    fi
    rm -rf "$dir"
}

# One unmeasured run each, so that all start with the same warm disk cache.
measure "$OURS_TITLE" /dev/null "$PROGRAM"
measure "$FLOOR_TITLE" /dev/null "$FLOOR" --japanese
# Alternating, so that changes in the machine's load fall on all alike.
for ((i = 0; i < RUNS; i++)); do
    measure "$OURS_TITLE" "$SCRATCH/ours" "$PROGRAM"
    measure "$FLOOR_TITLE" "$SCRATCH/floor" "$FLOOR"
    measure "$FLOOR_TITLE" "$SCRATCH/floor-ja" "$FLOOR" --japanese
done

# The median of field $1 (map_ms or peak_kb) over the lines of file $2.
median() {
    sed -n "s/.*$1=\([0-9.]*\).*/\1/p" "$2" | sort -g |
        awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

awk -v runs="$RUNS" \
    -v oms="$(median map_ms "$SCRATCH/ours")" -v fms="$(median map_ms "$SCRATCH/floor")" \
    -v jms="$(median map_ms "$SCRATCH/floor-ja")" \
    -v okb="$(median peak_kb "$SCRATCH/ours")" -v fkb="$(median peak_kb "$SCRATCH/floor")" \
    -v jkb="$(median peak_kb "$SCRATCH/floor-ja")" 'BEGIN {
    printf "%-22s %10s %14s   (medians of %d runs)\n", "", "map (ms)", "peak RSS (MB)", runs
    printf "%-22s %10.2f %14.1f\n", "ours", oms, okb / 1024
    printf "%-22s %10.2f %14.1f\n", "floor", fms, fkb / 1024
    printf "%-22s %10.2f %14.1f\n", "floor, Japanese label", jms, jkb / 1024
    printf "%-22s %10.2f %14.2f\n", "ours / floor", oms / fms, okb / fkb
    printf "%-22s %10.2f %14.2f\n", "ours / Japanese floor", oms / jms, okb / jkb
}'
