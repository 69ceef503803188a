# SPDX-License-Identifier: MIT
# Shared by the end-to-end tests and the benchmarks: a private X server, waits on conditions,
# the clipboard as another program sees it. Source it; it cleans up after itself on exit, and
# skips the test on a machine without the X tools its helpers call.

source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

fail() {
    echo "FAIL: $*" >&2
    if [[ -n "${DISPLAY:-}" ]]; then
        echo "windows:" >&2
        xdotool search --onlyvisible --name . 2>/dev/null | while read -r id; do
            echo "  $id $(xdotool getwindowname "$id" 2>/dev/null)" >&2
        done
    fi
    [[ -n "${APP_PID:-}" ]] && ! kill -0 "$APP_PID" 2>/dev/null && echo "the program is gone" >&2
    exit 1
}

window_manager_ready() {
    xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id'
}

# A private X server on a display of its own, without a window manager, as DISPLAY.
start_bare_x_server() {
    local display_file="$SCRATCH/display"
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$display_file" >/dev/null 2>&1 &
    XVFB_PID=$!
    wait_for "$server_start_seconds" test -s "$display_file" || fail "Xvfb did not start"
    export DISPLAY=":$(head -n1 "$display_file")"
}

# A private X server with a window manager, which gives windows their frames and close boxes
# as on a desktop: openbox, or the one WINDOW_MANAGER names (metacity, say).
start_x_server() {
    local window_manager=${WINDOW_MANAGER:-openbox}
    need_tools "$window_manager"
    start_bare_x_server
    "$window_manager" --sm-disable >/dev/null 2>&1 &
    WM_PID=$!
    wait_for "$server_start_seconds" window_manager_ready ||
        fail "the window manager did not start"
}

# The usual start of a test: the program and the screenshot folder from its arguments, and
# the X server.
begin_x_test() {
    program=$1
    shots=$2
    mkdir -p "$shots"
    start_x_server
}

stop_everything() {
    [[ -n "${APP_PID:-}" ]] && kill "$APP_PID" 2>/dev/null || true
    [[ -n "${WM_PID:-}" ]] && kill "$WM_PID" 2>/dev/null || true
    [[ -n "${XVFB_PID:-}" ]] && kill "$XVFB_PID" 2>/dev/null || true
    rm -rf "$SCRATCH"
}
trap stop_everything EXIT
need_tools Xvfb xdotool xprop xwininfo xclip xmodmap import

# The id of the visible window whose title is exactly $1, waiting up to 20 s for it.
window_named() {
    local id deadline=$((SECONDS + 20))
    until id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n1) && [[ -n $id ]]; do
        ((SECONDS < deadline)) || fail "no window named $1"
        sleep 0.05
    done
    echo "$id"
}

no_window_named() {
    ! xdotool search --onlyvisible --name "^$1\$" >/dev/null
}

# Types the text into the focused window, $1 milliseconds between keys. A character that no
# key gives gets a spare key of its own first, for good: xdotool would lend it a key only for
# the moment of typing, and a program that reads the changed keyboard a little late (under
# metacity, often) would find the key taken back and see nothing.
type_text() {
    local delay=$1 text=$2 character keysym keycode
    for ((i = 0; i < ${#text}; i++)); do
        character=${text:i:1}
        [[ $character == [[:print:]] && $(printf '%d' "'$character") -lt 128 ]] && continue
        keysym=$(printf 'U%04X' "'$character")
        xmodmap -pke | grep -q " = $keysym\( \|\$\)" && continue
        keycode=$(xmodmap -pke | awk '/^keycode +[0-9]+ =$/ { code = $2 } END { print code }')
        [[ -n $keycode ]] || fail "no spare key for $character"
        xmodmap -e "keycode $keycode = $keysym"
    done
    xdotool type --delay "$delay" "$text"
}

clipboard_is() {
    [[ "$(xclip -o -selection clipboard; echo .)" == "$1." ]]
}

expect_clipboard() {
    wait_for 5 clipboard_is "$1" ||
        fail "clipboard holds '$(xclip -o -selection clipboard 2>&1)', expected '$1'"
}

# The window's client area on the screen as "X Y W H" (xdotool's own figure counts the
# frame twice under some window managers).
window_geometry() {
    xwininfo -id "$1" | awk -F: '
        /Absolute upper-left X/ { x = $2 } /Absolute upper-left Y/ { y = $2 }
        /^ *Width/ { w = $2 } /^ *Height/ { h = $2 }
        END { print x + 0, y + 0, w + 0, h + 0 }'
}

# Where the main window $1's own client area starts, below its menu bar, from its top.
client_top() {
    client_top_in "$(window_geometry "$1")"
}

# The window's frame, title bar and border included, as "X Y W H".
frame_geometry() {
    local x y w h left right top bottom
    read -r x y w h < <(window_geometry "$1")
    read -r left right top bottom < <(xprop -id "$1" _NET_FRAME_EXTENTS |
        sed -n 's/.*= //; s/,//gp' | grep . || echo 0 0 0 0)
    echo "$((x - left)) $((y - top)) $((w + left + right)) $((h + top + bottom))"
}

frame_origin() {
    local x y
    read -r x y _ < <(frame_geometry "$1")
    echo "$x $y"
}

frame_not_at() {
    [[ "$(frame_origin "$1")" != "$2" ]]
}

# Moves the window as a person would drag it, and waits until it has got there.
move_window() {
    local before
    before=$(frame_origin "$1")
    xdotool windowmove "$1" "$2" "$3"
    wait_for 5 frame_not_at "$1" "$before" || fail "the window did not move"
}

# Whether the window's frame stands in the middle of the 1280 x 1024 screen. The program
# centres the window before the window manager frames it, so allow for the frame's size.
is_centred() {
    local w h fx fy fw fh
    read -r _ _ w h < <(window_geometry "$1")
    read -r fx fy fw fh < <(frame_geometry "$1")
    local slack=$((fw - w + fh - h + 2))
    (((2 * fx + fw - 1280) ** 2 <= slack ** 2 && (2 * fy + fh - 1024) ** 2 <= slack ** 2))
}

# A fingerprint of what the screen shows in the rectangle "X Y W H".
region_print() {
    local x y w h
    read -r x y w h <<<"$1"
    import -window root -crop "${w}x$h+$x+$y" rgb:- | md5sum
}

pixel_at() {
    import -window root -crop "1x1+$1+$2" txt:- | grep -o '#[0-9A-F]\{6\}'
}

# The window manager draws the title bar after the window is mapped.
title_bar_drawn() {
    local x y w
    read -r x y w _ < <(frame_geometry "$1")
    [[ "$(pixel_at $((x + w / 2)) $((y + 2)))" != "#000000" ]]
}

# A picture of the window as the user sees it, frame included.
screenshot() {
    local x y w h
    wait_for 5 title_bar_drawn "$1" || true # a frameless window has no title bar
    read -r x y w h < <(frame_geometry "$1")
    import -window root -crop "${w}x$h+$x+$y" +repage "$2"
}
