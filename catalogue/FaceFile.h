// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

// The user's own faces live in one file, one face per line in code page 932 with CR LF.
// Every reader and writer finds it here; the program never creates the folder it is in.
QString faceFilePath();
