// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>

#include <functional>

class QApplication;

namespace Runtime {

// Runs the program on the desktop it was started from: connects to the display, prepares the
// runtime, has `start` show the first window, and turns the event loop until End. Returns the
// loop's exit code, or leaves the process with it where taking the connection down could hang.
int run(int argc, char **argv, const std::function<void()> &start);

// The Qt platform plugins to ask for, in order, given QT_QPA_PLATFORM, WAYLAND_DISPLAY and
// DISPLAY as they are set; empty leaves the choice to Qt.
QByteArray preferredPlatform(const QByteArray &qpaPlatform, const QByteArray &waylandDisplay,
                             const QByteArray &display);

// What every run of the program needs before its first window: the fonts, the window icon
// and the rule that only End finishes the program.
void prepare(QApplication &app);

// Stops the program at once: every window goes, hidden or visible, without its unload
// handler being asked.
void End();

// The very last step of End. Tests replace it so that the test program itself goes on.
void setEndAction(std::function<void()> action);

// Destroys what is left of the windows once the event loop has returned.
void destroyAllForms();

} // namespace Runtime
