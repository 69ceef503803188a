// SPDX-License-Identifier: MIT
#pragma once

#include <QWidget>

// What the program tells the display server beyond what Qt says for it.
namespace DisplayServer {

// Names the window's menu entry where Qt does not: on X, KDE's window manager reads it from a
// property of the window of its own, before the window is mapped.
void nameMenuEntry(WId window);

// Waits until the compositor has carried out every request the program made, the withdrawal
// of its face from the clipboard among them. A Wayland compositor drops what a client asked
// just before it hung up; on X requests are carried out in order, and nothing is waited for.
void finishRequests();

} // namespace DisplayServer
