// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>

#include <functional>

// Runs the program: the splash, then the main window, until the user quits. A test program
// may ask for one more step once the splash is up.
int runPicora3(int argc, char **argv, const std::function<void()> &onceRunning = {});

// The Qt platform plugins to ask for, in order, given QT_QPA_PLATFORM, WAYLAND_DISPLAY and
// DISPLAY as they are set; empty leaves the choice to Qt.
QByteArray preferredPlatform(const QByteArray &qpaPlatform, const QByteArray &waylandDisplay,
                             const QByteArray &display);
