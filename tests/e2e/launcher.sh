#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The command line on a real X server: the README's launcher recipe, with sed choosing a line
# in the launcher's place, puts exactly that face on the clipboard; and Qt's -display option
# opens the windows on the server it names when DISPLAY names none.
# usage: launcher.sh PICORA3 SCREENSHOT_FOLDER
source "$(dirname "$0")/xsession.sh"

begin_x_test "$@"

# Registered faces come last, decoded from code page 932. A launcher prints the chosen line
# with its line end, which must not be pasted with the face.
make_documents
printf '(^o^)\x81\x60\r\n' >"$face_file"
"$program" --list | tail -n 1 | xclip -selection clipboard -rmlastnl
expect_clipboard "(^o^)～"
"$program" --list | sed -n 25p | xclip -selection clipboard -rmlastnl
expect_clipboard '\(^_^ )'

env -u DISPLAY "$program" -display "$DISPLAY" &
APP_PID=$!
window_named "ポルカン" >/dev/null
echo "e2e launcher: passed"
