# SPDX-License-Identifier: MIT
# shellcheck shell=bash
# Shared by the Wayland end-to-end tests: a private headless sway with its XWayland, waits on
# conditions, the windows as the compositor lists them, the clipboard as a Wayland program
# sees it. Source it; it cleans up after itself on exit, and skips the test on a machine
# without the Wayland tools it calls.

source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
# Nothing of the caller's own desktop may leak in: the session is this one alone.
unset DISPLAY WAYLAND_DISPLAY WAYLAND_SOCKET SWAYSOCK I3SOCK XAUTHORITY QT_QPA_PLATFORM
unset XDG_CURRENT_DESKTOP XDG_SESSION_DESKTOP
# A real Wayland session says so, and Qt on its own would then start natively.
export XDG_SESSION_TYPE=wayland
export WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman

# sway refuses to run as root, so as root the compositor, the program and every client run
# as nobody, which every Debian system has. The scratch folder is theirs, and the program is
# copied into it: the build may sit under a home only root can enter.
AS_TESTER=()
if ((EUID == 0)); then
    AS_TESTER=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
    chown -R nobody:nogroup "$SCRATCH"
    # Made by the first X server; sway would otherwise make it nobody's alone.
    [[ -d /tmp/.X11-unix ]] || install -d -m 1777 /tmp/.X11-unix
fi
# A command in the background takes "${AS_TESTER[@]}" itself instead, so that $! is the
# command and not a subshell around it.
as_tester() {
    "${AS_TESTER[@]}" "$@"
}

fail() {
    echo "FAIL: $*" >&2
    if [[ -n "${SWAYSOCK:-}" ]]; then
        echo "windows (shell, focused, pid, frame, size, title):" >&2
        views 2>/dev/null | sed 's/^/  /' >&2 || true
    fi
    if [[ -n "${APP_PID:-}" ]] && ! kill -0 "$APP_PID" 2>/dev/null; then
        echo "the program is gone" >&2
    fi
    [[ -s "$SCRATCH/program.log" ]] && sed 's/^/  program: /' "$SCRATCH/program.log" >&2
    [[ -s "$SCRATCH/sway.log" ]] && tail -n 20 "$SCRATCH/sway.log" | sed 's/^/  sway: /' >&2
    exit 1
}

# Starts sway on a headless 1280 x 1024 output with XWayland, and takes over its
# WAYLAND_DISPLAY, DISPLAY and SWAYSOCK as its own clients get them.
start_compositor() {
    cat >"$SCRATCH/sway.conf" <<EOF
xwayland enable
output HEADLESS-1 mode 1280x1024
exec printf '%s\\n' "\$WAYLAND_DISPLAY" "\$DISPLAY" "\$SWAYSOCK" >"$HOME/session.new" && mv "$HOME/session.new" "$HOME/session"
EOF
    "${AS_TESTER[@]}" sway -c "$SCRATCH/sway.conf" >"$SCRATCH/sway.log" 2>&1 &
    SWAY_PID=$!
    wait_for "$server_start_seconds" test -s "$HOME/session" || fail "sway did not start"
    {
        read -r WAYLAND_DISPLAY
        read -r DISPLAY
        read -r SWAYSOCK
    } <"$HOME/session"
    export WAYLAND_DISPLAY DISPLAY SWAYSOCK
    [[ -n $WAYLAND_DISPLAY && -n $DISPLAY && -n $SWAYSOCK ]] || fail "sway gave no session"
}

stop_everything() {
    [[ -n "${APP_PID:-}" ]] && kill "$APP_PID" 2>/dev/null || true
    if [[ -n "${SWAY_PID:-}" ]]; then
        kill "$SWAY_PID" 2>/dev/null || true
        wait "$SWAY_PID" 2>/dev/null || true
    fi
    rm -rf "$SCRATCH"
}
trap stop_everything EXIT
need_tools sway swaymsg Xwayland wtype wl-copy wl-paste grim python3

# Every window sway shows, one a line: shell, focused, pid, the frame (title bar included)
# as "X Y W H", the window's own size as "W H", the title, and what the desktop matches to a
# menu entry: the app id of a Wayland window, the class in WM_CLASS of an X window.
views() {
    as_tester swaymsg -r -t get_tree | python3 -c '
import json, sys

def walk(node):
    if node.get("shell"):
        r, d, w = node["rect"], node["deco_rect"], node["window_rect"]
        print(node["shell"], str(node["focused"]).lower(), node["pid"],
              r["x"], r["y"] - d["height"], r["width"], r["height"] + d["height"],
              w["width"], w["height"], node["name"],
              node.get("app_id") or node.get("window_properties", {}).get("class"), sep="\t")
    for child in node.get("nodes", []) + node.get("floating_nodes", []):
        walk(child)

walk(json.load(sys.stdin))'
}

view_named() {
    views | awk -F'\t' -v title="$1" '$10 == title { print; found = 1 } END { exit !found }'
}

no_window_named() {
    ! view_named "$1" >/dev/null
}

window_focused() {
    [[ "$(view_named "$1" | cut -f2)" == true ]]
}

# Waits up to 20 s for the window titled $1 to be up and to have the keyboard, then prints
# its line from views.
focused_window() {
    wait_for 20 window_focused "$1" || fail "no focused window named $1"
    view_named "$1"
}

# Keys and text through a virtual keyboard, to the focused window. wtype hands the
# compositor a keymap of its own first; its -s pause lets that arrive before the first key.
keys() {
    as_tester wtype -s 400 "$@"
}

# wl-paste waits for the owner to answer; a program that hangs must not hang the test.
clipboard_text() {
    as_tester timeout 5 wl-paste --no-newline
}

clipboard_is() {
    [[ "$(clipboard_text; echo .)" == "$1." ]]
}

expect_clipboard() {
    wait_for 5 clipboard_is "$1" || fail "clipboard holds '$(clipboard_text 2>&1)', expected '$1'"
}

# Nobody offers a selection: wl-paste fails and says so, with nothing on its output.
clipboard_empty() {
    local out status=0
    out=$(clipboard_text 2>"$SCRATCH/paste.err") || status=$?
    ((status != 0)) && [[ -z $out && "$(cat "$SCRATCH/paste.err")" == "No selection" ]]
}

expect_clipboard_empty() {
    wait_for 5 clipboard_empty || fail "clipboard holds '$(clipboard_text 2>&1)', expected no selection"
}

grab() {
    as_tester grim -g "$1" -
}

# A fingerprint of what the screen shows in the rectangle "X Y W H".
region_print() {
    local x y w h
    read -r x y w h <<<"$1"
    grab "$x,$y ${w}x$h" | md5sum
}

# A picture of the frame "X Y W H" once the window has finished drawing (two grabs alike).
screenshot() {
    local x y w h previous="$SCRATCH/previous.png" deadline=$((SECONDS + 5))
    read -r x y w h <<<"$1"
    grab "$x,$y ${w}x$h" >"$previous"
    grab "$x,$y ${w}x$h" >"$2"
    until cmp -s "$previous" "$2" || ((SECONDS >= deadline)); do
        mv "$2" "$previous"
        grab "$x,$y ${w}x$h" >"$2"
    done
}
