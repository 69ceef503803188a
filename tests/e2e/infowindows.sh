#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The help and version windows as a person meets them: opened from the Help menu, put away
# with 戻る (and found again where they were left), closed with the close box (and made anew).
# usage: infowindows.sh PICORA3 SCREENSHOT_FOLDER
source "$(dirname "$0")/xsession.sh"

begin_x_test "$@"

"$program" &
APP_PID=$!
main=$(window_named "ピコラ Ver3.0")
menu_middle=$(($(client_top "$main") / 2)) # the menu bar stands above the client area

help_title="ピコラ３　ヘルプ（使い方）"
version_title="ピコラ３　バージョン情報"

# Whether one of the program's drop-down menus is on the screen. A drop-down has no title of its
# own, nor a window type Qt keeps, but it is the program's only window that no window manager
# frames.
menu_open() {
    local id
    for id in $(xdotool search --onlyvisible --class picora3); do
        [[ $(xwininfo -id "$id") == *"Override Redirect State: yes"* ]] && return
    done
    return 1
}

# Help menu: the first item is ヘルプ, the second (past the separator) バージョン情報.
open_from_help_menu() {
    xdotool mousemove --window "$main" 143 "$menu_middle" click 1
    wait_for 5 menu_open || fail "the Help menu did not open"
    xdotool key --delay 50 "$@" Return
}

open_from_help_menu Down
help=$(window_named "$help_title")
is_centred "$help" || fail "help window not centred: $(frame_geometry "$help")"
screenshot "$help" "$shots/help.png"

# 戻る has the focus: Enter hides the window, which keeps its place.
move_window "$help" 40 60
moved=$(frame_origin "$help")
xdotool key --delay 30 Return
wait_for 5 no_window_named "$help_title" || fail "戻る did not hide the help window"
open_from_help_menu Down
help=$(window_named "$help_title")
[[ "$(frame_origin "$help")" == "$moved" ]] || fail "help came back at $(frame_origin "$help")"
xdotool key --delay 30 space
wait_for 5 no_window_named "$help_title" || fail "space on 戻る did not hide the help window"

open_from_help_menu Down Down
version=$(window_named "$version_title")
is_centred "$version" || fail "version window not centred: $(frame_geometry "$version")"
screenshot "$version" "$shots/version.png"

# The close box destroys the window: the next one is made anew, centred again.
move_window "$version" 50 70
read -r x y w _ < <(frame_geometry "$version")
xdotool mousemove $((x + w - 12)) $((y + 10)) click 1
wait_for 5 no_window_named "$version_title" || fail "the close box did not close the version window"
open_from_help_menu Down Down
version=$(window_named "$version_title")
is_centred "$version" || fail "a fresh version window is not centred: $(frame_geometry "$version")"
kill -0 "$APP_PID" || fail "closing an information window ended the program"
echo "e2e information windows: passed"
