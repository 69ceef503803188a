// SPDX-License-Identifier: MIT
#include "forms/Startup.h"

#include "forms/frmCopy.h"
#include "platform/Runtime.h"

#include <QTimer>

int runPicora3(int argc, char **argv, const std::function<void()> &onceRunning)
{
    // The splash is the program's start-up object: its load brings the other windows.
    return Runtime::run(argc, argv, [&onceRunning] {
        frmCopy.Show();
        if (onceRunning)
            QTimer::singleShot(0, onceRunning);
    });
}
