#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# A new user registers two faces, one typed and one pasted, finds them in the face file as
# code page 932 with CR LF, and finds them again after a restart. A pasted line break is
# refused, and a face added by hand without a line end stays its own face.
# usage: register.sh PICORA3 SCREENSHOT_FOLDER
source "$(dirname "$0")/xsession.sh"

begin_x_test "$@"
make_documents

start_program() {
    "$program" &
    APP_PID=$!
    main=$(window_named "ピコラ Ver3.0")
    client_top=$(client_top "$main")
}

press_user_category() {
    xdotool mousemove --window "$main" 60 $((client_top + 144 + 12)) click 1
}

# Answers the question in the window of this title by its button: "default" or "other".
answer() {
    local box
    box=$(window_named "$1")
    xdotool windowfocus --sync "$box"
    if [[ $2 == default ]]; then xdotool key --delay 30 Return; else xdotool key --delay 30 shift+Tab space; fi
    wait_for 5 no_window_named "$1" || fail "the question '$1' stayed up"
}

face_file_is() {
    cmp -s "$face_file" <(printf "$1")
}

quit_program() {
    xdotool windowfocus --sync "$main"
    xdotool mousemove --window "$main" 160 $((client_top + 144 + 12)) click 1
    answer "ピコラ３の終了" other
    wait_for 5 bash -c "! kill -0 $APP_PID" || fail "the program did not end"
    APP_PID=
}

start_program
press_user_category
answer "登録された「顔」がありません" default
enter=$(window_named "「顔」の登録")
xdotool windowfocus --sync "$enter"

# A typed face, registered with Enter and confirmed with Enter (OK is preselected).
xdotool type --delay 80 "(^_^)v"
xdotool key --delay 30 Return
answer "「顔」登録の確認" default
wait_for 5 face_file_is '(^_^)v\r\n' || fail "face file holds $(od -c "$face_file")"

# A face pasted from another program's clipboard: full-width characters, a leading blank.
printf ' ＼(^^＼)／' | xclip -selection clipboard
xdotool windowfocus --sync "$enter"
xdotool key --delay 30 ctrl+v
screenshot "$enter" "$shots/enter.png"
xdotool key --delay 30 Return
answer "「顔」登録の確認" default
wait_for 5 face_file_is '(^_^)v\r\n \x81\x5f(^^\x81\x5f)\x81\x5e\r\n' ||
    fail "face file holds $(od -An -tx1 "$face_file")"

# Text with a line break pasted from another program is refused, and nothing is written.
printf 'ab\rcd' | xclip -selection clipboard
xdotool windowfocus --sync "$enter"
xdotool key --delay 30 ctrl+a ctrl+v Return
answer "無効です" default
face_file_is '(^_^)v\r\n \x81\x5f(^^\x81\x5f)\x81\x5e\r\n' ||
    fail "face file holds $(od -An -tx1 "$face_file")"

# A face added by hand in an editor that wrote no final line end keeps its own line.
printf 'abc' >>"$face_file"
xdotool windowfocus --sync "$enter"
xdotool key --delay 30 ctrl+a BackSpace
xdotool type --delay 80 "zz"
xdotool key --delay 30 Return
answer "「顔」登録の確認" default
wait_for 5 face_file_is '(^_^)v\r\n \x81\x5f(^^\x81\x5f)\x81\x5e\r\nabc\r\nzz\r\n' ||
    fail "face file holds $(od -An -tx1 "$face_file")"

# Closing the registration window asks first (Cancel preselected).
xdotool windowfocus --sync "$enter"
xdotool key --delay 30 Tab Tab space
answer "「顔」登録の終了" other
wait_for 5 no_window_named "「顔」の登録" || fail "the registration window stayed"
quit_program

# After a restart every face is in the user category, in order.
start_program
press_user_category
xdotool windowfocus --sync "$main"
xdotool mousemove --window "$main" 100 $((client_top + 40 + 13)) click 1
xdotool key --delay 30 Down
expect_clipboard "(^_^)v"
xdotool key --delay 30 Down
expect_clipboard " ＼(^^＼)／"
xdotool key --delay 30 Down
expect_clipboard "abc"
xdotool key --delay 30 Down
expect_clipboard "zz"
quit_program
echo "e2e registration: passed"
