// SPDX-License-Identifier: MIT
#pragma once

#include <functional>

// Runs the program: the splash, then the main window, until the user quits. A test program
// may ask for one more step once the splash is up.
int runPicora3(int argc, char **argv, const std::function<void()> &onceRunning = {});
