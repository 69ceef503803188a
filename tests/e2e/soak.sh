#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Ten thousand category presses, choices and keystrokes: the program's resident memory at the
# end stays within a few percent of what it was after the first hundred.
# usage: soak.sh PICORA3 SCREENSHOT_FOLDER [ACTIONS]
source "$(dirname "$0")/xsession.sh"

program=$1
actions=${3:-10000}
start_x_server

"$program" &
APP_PID=$!
main=$(window_named "ピコラ Ver3.0")
xdotool windowfocus --sync "$main"

resident_kb() {
    awk '/^VmRSS:/ { print $2 }' "/proc/$APP_PID/status"
}

# One round is five actions, from the face list and back to it: press 笑い系 (Tab, space),
# come back (Shift+Tab), choose two entries (Down, Down), type a letter.
round=(Tab space shift+Tab Down Down x)
run_rounds() {
    local rounds=$1 keys=()
    for ((i = 0; i < rounds; i++)); do keys+=("${round[@]}"); done
    xdotool key --delay 2 "${keys[@]}"
}

run_rounds 20
expect_clipboard "(^O^)x"
after_hundred=$(resident_kb)
for ((done = 100; done < actions; done += 500)); do
    run_rounds 100
    kill -0 "$APP_PID" || fail "the program ended after $done actions"
done
expect_clipboard "(^O^)x"
at_end=$(resident_kb)
growth=$(((at_end - after_hundred) * 1000 / after_hundred))
echo "resident memory: ${after_hundred} kB after 100 actions, ${at_end} kB after $actions (${growth}‰)"
((growth <= 30)) || fail "resident memory grew by ${growth}‰"
echo "e2e soak: passed"
