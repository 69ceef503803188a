#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The picker on a Wayland desktop, under a headless sway: natively (QT_QPA_PLATFORM=wayland)
# or as the program starts on its own there (no QT_QPA_PLATFORM: through XWayland). A typed
# face, a category and a chosen face read back by wl-paste, and the quit question by keys.
# usage: wayland.sh PICORA3 SCREENSHOT_FOLDER native|xwayland
source "$(dirname "$0")/waylandsession.sh"

program=$1
shots=$2
way=$3
mkdir -p "$shots"
entry=$(echo "$(dirname "$0")"/../../packaging/*.desktop)
case $way in
native)
    export QT_QPA_PLATFORM=wayland
    # Every request and event on the program's connection, for the check at the end.
    debug=(env WAYLAND_DEBUG=client)
    shell=xdg_shell
    menu_match=$(basename "$entry" .desktop)
    ;;
xwayland)
    debug=()
    shell=xwayland
    menu_match=$(sed -n 's/^StartupWMClass=//p' "$entry")
    ;;
*) fail "unknown way in: $way" ;;
esac
start_compositor

cp "$program" "$SCRATCH/picora3"
"${AS_TESTER[@]}" "${debug[@]}" "$SCRATCH/picora3" >"$SCRATCH/program.log" 2>&1 &
APP_PID=$!

main=$(focused_window "ピコラ Ver3.0")
wait_for 5 no_window_named "ポルカン" || fail "the splash stayed up"
IFS=$'\t' read -r got_shell _ pid fx fy fw fh ww wh _ matched <<<"$main"
[[ $got_shell == "$shell" ]] || fail "the main window's shell is $got_shell, expected $shell"
[[ $matched == "$menu_match" ]] ||
    fail "the desktop matches the main window by '$matched', its menu entry by '$menu_match'"
((pid == APP_PID)) || fail "the main window belongs to process $pid, not $APP_PID"
[[ "$ww $wh" == "211 198" ]] || fail "the main window is ${ww}x$wh"
expect_clipboard_empty
border=$(((fw - ww) / 2))
label=$(category_label "$((fx + border)) $((fy + fh - wh - border)) $ww $wh")

# What another program copied is the user's: pressing a category leaves it there. The focus
# starts in the face list's text field; Tab reaches 笑い系.
as_tester wl-copy 'https://example.org/'
expect_clipboard "https://example.org/"
before=$(region_print "$label")
keys -k Tab -k space
wait_for_change 5 "$label" "$before" || fail "笑い系 did not name its category"
expect_clipboard "https://example.org/"

# Back in the list, a typed face.
keys -M shift -k Tab -m shift
keys "(ﾟ〇ﾟ;) "
expect_clipboard "(ﾟ〇ﾟ;) "
keys -k BackSpace
expect_clipboard "(ﾟ〇ﾟ;)"
screenshot "$fx $fy $fw $fh" "$shots/wayland-$way.png"

# Tab reaches 笑い系; pressing it empties the clipboard. Back in the list, Down chooses the
# first laughing face.
keys -k Tab -k space
expect_clipboard_empty
keys -M shift -k Tab -m shift -k Down
expect_clipboard "(^o^)"

# Another program copies a text equal to the face: it is that program's now, and 泣き系 leaves
# it. So does 怒り系 with another program's picture.
as_tester wl-copy '(^o^)'
before=$(region_print "$label")
keys -k Tab -k Tab -k space
wait_for_change 5 "$label" "$before" || fail "泣き系 did not name its category"
expect_clipboard "(^o^)"
picture=$(dirname "$0")/../../resources/pictures/smile-32.png
as_tester wl-copy --type image/png <"$picture"
before=$(region_print "$label")
keys -k Tab -k space
wait_for_change 5 "$label" "$before" || fail "怒り系 did not name its category"
timeout 3 "${AS_TESTER[@]}" wl-paste --type image/png | cmp -s - "$picture" ||
    fail "the picture another program copied is gone"
keys -M shift -k Tab -k Tab -k Tab -m shift -k Down
expect_clipboard "(｀_´ﾒ)"

# Quit by the button (before the list in the tab order): Enter answers the preselected
# Cancel, and nothing changes.
keys -M shift -k Tab -m shift -k space
focused_window "ピコラ３の終了" >/dev/null
keys -k Return
wait_for 5 no_window_named "ピコラ３の終了" || fail "Cancel did not close the question"
kill -0 "$APP_PID" || fail "Cancel ended the program"
expect_clipboard "(｀_´ﾒ)"

# Quit again and answer OK: the clipboard is emptied and the program ends.
focused_window "ピコラ Ver3.0" >/dev/null
keys -k space
focused_window "ピコラ３の終了" >/dev/null
keys -M shift -k Tab -m shift -k space
wait_for 5 bash -c "! kill -0 $APP_PID" || fail "OK did not end the program"
status=0
wait "$APP_PID" || status=$?
APP_PID=
((status == 0)) || fail "the program ended with status $status"
expect_clipboard_empty
# A compositor that keeps what a vanished client offered (GNOME's) would keep the face unless
# the request to empty the clipboard was carried out before the program left: after that
# request comes a round trip, and its answer.
if [[ $way == native ]]; then
    last_clear=$(grep -n -- '-> wl_data_device@[0-9]*\.set_selection(nil' "$SCRATCH/program.log" |
        tail -n1 | cut -d: -f1) || true
    [[ -n $last_clear ]] || fail "the program never asked to empty the clipboard"
    requests="$SCRATCH/requests.log"
    tail -n "+$last_clear" "$SCRATCH/program.log" >"$requests"
    callback=$(grep -o -m1 -- '-> wl_display@1\.sync(new id wl_callback@[0-9]*)' "$requests" |
        grep -o 'wl_callback@[0-9]*') || fail "no round trip after the clipboard was emptied"
    grep -q " $callback\.done(" "$requests" ||
        fail "the program left before the compositor answered its round trip"
fi
echo "e2e wayland ($way): passed"
