#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The picker as a person uses it: splash, main window, a category by keyboard and by mouse,
# a chosen and a typed face read back from the real clipboard, and the quit question.
# usage: picker.sh PICORA3 SCREENSHOT_FOLDER
source "$(dirname "$0")/xsession.sh"

begin_x_test "$@"

"$program" &
APP_PID=$!

splash=$(window_named "ポルカン")
read -r x y w h < <(window_geometry "$splash")
[[ "$w $h" == "299 162" ]] || fail "splash is ${w}x$h"
is_centred "$splash" || fail "splash not centred: $x,$y"
screenshot "$splash" "$shots/splash.png"

main=$(window_named "ピコラ Ver3.0")
wait_for 5 no_window_named "ポルカン" || fail "the splash stayed up"
[[ "$(frame_origin "$main")" == "0 0" ]] || fail "main window at $(frame_origin "$main")"
client_top=$(client_top "$main")
label=$(category_label "$(window_geometry "$main")")

# The desktop matches the window to its menu entry by the class in WM_CLASS.
entry=$(echo "$(dirname "$0")"/../../packaging/*.desktop)
wm_class=$(xprop -id "$main" WM_CLASS | sed -n 's/^WM_CLASS(STRING) = ".*", "\(.*\)"$/\1/p')
[[ $wm_class == "$(sed -n 's/^StartupWMClass=//p' "$entry")" && -n $wm_class ]] ||
    fail "the main window's class is '$wm_class', its menu entry's $(grep StartupWMClass "$entry")"
# KDE's window manager reads the entry's name from a property of its own.
kde_entry=$(xprop -id "$main" _KDE_NET_WM_DESKTOP_FILE | sed -n 's/^.* = "\(.*\)"$/\1/p')
[[ $kde_entry == "$(basename "$entry" .desktop)" ]] ||
    fail "the main window names the menu entry '$kde_entry' to KDE"

# What another program copied is the user's: pressing a category leaves it there. The focus
# starts in the face list; Tab reaches 笑い系.
printf 'https://example.org/' | xclip -selection clipboard
expect_clipboard "https://example.org/"
before=$(region_print "$label")
xdotool windowfocus --sync "$main"
xdotool key --delay 30 Tab space
wait_for_change 5 "$label" "$before" || fail "笑い系 did not name its category"
expect_clipboard "https://example.org/"
xdotool key --delay 30 shift+Tab Down
expect_clipboard "(^o^)"
# Laughing No. 17 keeps its leading blank.
for _ in $(seq 16); do xdotool key --delay 10 Down; done
expect_clipboard " ＼(^^＼)"

# Another program copies a text equal to the face: it is that program's now, and pressing
# 怒り系 by the mouse leaves it. So does 泣き系 with another program's picture.
printf ' ＼(^^＼)' | xclip -selection clipboard
before=$(region_print "$label")
xdotool mousemove --window "$main" $((72 + 32)) $((client_top + 80 + 12)) click 1
wait_for_change 5 "$label" "$before" || fail "怒り系 did not name its category"
expect_clipboard " ＼(^^＼)"
picture=$(dirname "$0")/../../resources/pictures/smile-32.png
xclip -selection clipboard -t image/png -i "$picture"
before=$(region_print "$label")
xdotool mousemove --window "$main" $((8 + 32)) $((client_top + 112 + 12)) click 1
wait_for_change 5 "$label" "$before" || fail "泣き系 did not name its category"
timeout 3 xclip -o -selection clipboard -t image/png | cmp -s - "$picture" ||
    fail "the picture another program copied is gone"
# A face typed into the list's text field. Alt chords, pressed out of habit for menus that have
# no access keys, type nothing and leave the clipboard alone.
xdotool mousemove --window "$main" 100 $((client_top + 40 + 13)) click 1
xdotool key --delay 30 ctrl+a
type_text 120 "(ﾟ〇ﾟ;) "
expect_clipboard "(ﾟ〇ﾟ;) "
xdotool key --delay 30 BackSpace BackSpace
expect_clipboard "(ﾟ〇ﾟ;"
xdotool key --delay 30 alt+f alt+e alt+h
type_text 120 "!"
expect_clipboard "(ﾟ〇ﾟ;!"
xdotool key --delay 30 BackSpace
expect_clipboard "(ﾟ〇ﾟ;"
# Alt alone, then the arrows, opens the menus: ファイル's 終了 asks to quit, and Escape cancels.
xdotool key --delay 30 alt Down Return
question=$(window_named "ピコラ３の終了")
xdotool windowfocus --sync "$question"
xdotool key --delay 30 Escape
wait_for 5 no_window_named "ピコラ３の終了" || fail "Escape did not cancel the question"
expect_clipboard "(ﾟ〇ﾟ;"
screenshot "$main" "$shots/main.png"

# Another program takes the clipboard: ours goes on, and the next edit takes it back.
printf 'taken' | xclip -selection clipboard
expect_clipboard "taken"
kill -0 "$APP_PID" || fail "losing the clipboard ended the program"
xdotool windowfocus --sync "$main"
type_text 120 "ﾟ"
expect_clipboard "(ﾟ〇ﾟ;ﾟ"
xdotool key --delay 30 BackSpace
expect_clipboard "(ﾟ〇ﾟ;"

# Quit by the button: Enter answers the preselected Cancel, and nothing changes.
xdotool key --delay 30 shift+Tab space
question=$(window_named "ピコラ３の終了")
wait_for 5 is_centred "$question" ||
    fail "the quit question stands at $(frame_geometry "$question"), not mid-screen"
screenshot "$question" "$shots/quit-question${WINDOW_MANAGER:+-$WINDOW_MANAGER}.png"
xdotool windowfocus --sync "$question"
xdotool key --delay 30 Return
wait_for 5 no_window_named "ピコラ３の終了" || fail "Cancel did not close the question"
kill -0 "$APP_PID" || fail "Cancel ended the program"
expect_clipboard "(ﾟ〇ﾟ;"

# Quit again and answer OK: the program ends, and what another program copied meanwhile
# stays on the clipboard.
printf 'copied meanwhile' | xclip -selection clipboard
expect_clipboard "copied meanwhile"
xdotool windowfocus --sync "$main"
xdotool key --delay 30 space
question=$(window_named "ピコラ３の終了")
xdotool windowfocus --sync "$question"
xdotool key --delay 30 shift+Tab space
wait_for 5 bash -c "! kill -0 $APP_PID" || fail "OK did not end the program"
wait "$APP_PID" || fail "the program ended with status $?"
APP_PID=
expect_clipboard "copied meanwhile"
echo "e2e picker: passed"
