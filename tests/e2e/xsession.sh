# SPDX-License-Identifier: MIT
# Shared by the end-to-end tests: a private X server, waits on conditions, the clipboard as
# another program sees it. Source it; it cleans up after itself on exit.

set -euo pipefail
SCRATCH=$(mktemp -d)
export XDG_RUNTIME_DIR="$SCRATCH/runtime" HOME="$SCRATCH/home"
mkdir -m 700 "$XDG_RUNTIME_DIR" "$HOME"

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

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

start_x_server() {
    local fdfile
    fdfile=$(mktemp)
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fdfile" >/dev/null 2>&1 &
    XVFB_PID=$!
    wait_for 10 test -s "$fdfile" || fail "Xvfb did not start"
    export DISPLAY=":$(head -n1 "$fdfile")"
    rm -f "$fdfile"
}

stop_everything() {
    [[ -n "${APP_PID:-}" ]] && kill "$APP_PID" 2>/dev/null || true
    [[ -n "${XVFB_PID:-}" ]] && kill "$XVFB_PID" 2>/dev/null || true
    rm -rf "$SCRATCH"
}
trap stop_everything EXIT

# The id of the visible window whose title is exactly $1, waiting up to 10 s for it.
window_named() {
    local id
    id=$(timeout 10 xdotool search --sync --onlyvisible --name "^$1\$" | head -n1) ||
        fail "no window named $1"
    echo "$id"
}

no_window_named() {
    ! xdotool search --onlyvisible --name "^$1\$" >/dev/null
}

clipboard_is() {
    [[ "$(xclip -o -selection clipboard; echo .)" == "$1." ]]
}

expect_clipboard() {
    wait_for 5 clipboard_is "$1" ||
        fail "clipboard holds '$(xclip -o -selection clipboard 2>&1)', expected '$1'"
}

# Window position and size as "X Y W H".
window_geometry() {
    xdotool getwindowgeometry --shell "$1" | awk -F= '
        $1 == "X" { x = $2 } $1 == "Y" { y = $2 } $1 == "WIDTH" { w = $2 } $1 == "HEIGHT" { h = $2 }
        END { print x, y, w, h }'
}

screenshot() {
    import -window "$1" "$2"
}
