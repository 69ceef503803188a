// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

// What the command line asks of the program. It is read before anything needs a display, so
// that --help, --version, --list and a mistyped option work without one. Qt's own options
// (-platform NAME, -display DISPLAY, -style STYLE, ...) stay where they are, for QApplication.
struct CommandLineRequest {
    enum class Action {
        OpenWindows,
        Help,
        Version,
        List,
        Mistake,
    };
    Action action = Action::OpenWindows;
    QString mistake; // what is wrong with the command line, for the user
};

// --help outranks --version, which outranks --list; the first mistake outranks them all.
CommandLineRequest readCommandLine(int argc, const char *const *argv);
