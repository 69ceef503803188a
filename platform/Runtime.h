// SPDX-License-Identifier: MIT
#pragma once

#include <functional>

class QApplication;

namespace Runtime {

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
