// SPDX-License-Identifier: MIT
#pragma once

#include "catalogue/FileSystem.h"

#include <string>

// Paths as Windows' own calls take them (LongPaths-win32.cpp); for the Windows side alone.

// The absolute path in the long form (\\?\C:\…, \\?\UNC\server\…), which has no
// 260-character limit.
std::wstring longPath(const FileSystem::Path &path);

// Whether the path names a folder, which Windows refuses to open as a file.
bool namesAFolder(const FileSystem::Path &path);
