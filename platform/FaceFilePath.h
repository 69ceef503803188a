// SPDX-License-Identifier: MIT
#pragma once

#include <filesystem>

// Where the face file is: 顔ファイル.dat in the user's documents folder, which stands in for
// Windows' "c:\my documents". The program never creates the folder.
std::filesystem::path faceFilePath();
