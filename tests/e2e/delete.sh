#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Deleting face 2 of 3 by the keyboard: a number not listed is refused and the file left
# alone; then the file loses exactly line 2, and the main window's list holds the other two.
# usage: delete.sh PICORA3_DELETE_HARNESS SCREENSHOT_FOLDER
source "$(dirname "$0")/xsession.sh"

begin_x_test "$@"
make_documents
printf '(^o^)\r\n \x81\x5f(^^\x81\x5f)\r\n(T_T)\r\n' >"$face_file"

"$program" &
APP_PID=$!
delete=$(window_named "登録した顔の削除")
xdotool windowfocus --sync "$delete"
screenshot "$delete" "$shots/delete.png"

# The focus starts in the list; Tab passes the disabled button and reaches the number.
xdotool key --delay 30 Tab
before=$(stat -c '%i %Y' "$face_file")
xdotool type --delay 50 "9"
xdotool key --delay 30 Return
refused=$(window_named "無効です")
xdotool windowfocus --sync "$refused"
xdotool key --delay 30 Return
wait_for 5 no_window_named "無効です" || fail "the refusal stayed up"
[[ $(stat -c '%i %Y' "$face_file") == "$before" ]] || fail "a number not listed touched the file"
no_window_named "削除終了" || fail "a number not listed was reported deleted"

# The number is selected again, so typing replaces it.
xdotool windowfocus --sync "$delete"
xdotool type --delay 50 "2"
xdotool key --delay 30 Return
done_box=$(window_named "削除終了")
xdotool windowfocus --sync "$done_box"
xdotool key --delay 30 Return
wait_for 5 no_window_named "登録した顔の削除" || fail "the deletion window stayed"
cmp -s "$face_file" <(printf '(^o^)\r\n(T_T)\r\n') ||
    fail "face file holds $(od -An -tx1 "$face_file")"

# The main window's list now holds the two that are left, in order, and nothing more.
main=$(window_named "ピコラ Ver3.0")
xdotool windowfocus --sync "$main"
xdotool mousemove --window "$main" 100 $(($(client_top "$main") + 40 + 13)) click 1
xdotool key --delay 30 Down
expect_clipboard "(^o^)"
xdotool key --delay 30 Down
expect_clipboard "(T_T)"
xdotool key --delay 30 Down
expect_clipboard "(T_T)"
echo "e2e deletion: passed"
