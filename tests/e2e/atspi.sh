#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The program as a screen reader meets it, on a real accessibility bus: every control named,
# 笑い系 pressed through the bus, and the chosen face read out.
# usage: atspi.sh PICORA3 SCREENSHOT_FOLDER
source "$(dirname "$0")/xsession.sh"
# Debian's Python, which has pyatspi, whatever else is first on the PATH.
need_tools dbus-run-session dbus-update-activation-environment /usr/bin/python3
/usr/bin/python3 -c 'import pyatspi' 2>/dev/null ||
    skip "no pyatspi here (scripts/install-deps test installs it)"

# Runs itself again inside a private D-Bus session, which the accessibility bus needs.
if [[ -z "${PICORA_IN_SESSION:-}" ]]; then
    PICORA_IN_SESSION=1 dbus-run-session -- "$0" "$@"
    exit
fi

program=$1
check="$(dirname "$0")/atspi_check.py"
start_x_server
# The accessibility bus is started on demand by the session bus, which must know the display.
dbus-update-activation-environment DISPLAY XDG_RUNTIME_DIR HOME
# Qt joins the bus only when told to, or when a screen reader announces itself.
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
"$program" &
APP_PID=$!
main=$(window_named "ピコラ Ver3.0")

/usr/bin/python3 "$check" names || fail "a control has no name"
/usr/bin/python3 "$check" press || fail "笑い系 could not be pressed"
xdotool windowfocus --sync "$main"
xdotool mousemove --window "$main" 100 $(($(client_top "$main") + 40 + 13)) click 1
xdotool key --delay 30 Down
expect_clipboard "(^o^)"
/usr/bin/python3 "$check" chosen "(^o^)" || fail "the chosen face is not read out"
echo "e2e accessibility: passed"
