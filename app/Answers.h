// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

// What the program answers on the command line, without a window or a display. Everything is
// written as UTF-8 whatever the locale, so that no face is mangled on its way to another
// program. Each returns the program's exit status.
int answerHelp();
int answerVersion();
int answerList();
int answerMistake(const QString &mistake);
