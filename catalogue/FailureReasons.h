// SPDX-License-Identifier: MIT
#pragma once

#include "catalogue/FileSystem.h"

#include <string>

// Why the face file could not be read or changed, for the user, in the user's language.

// The system's error in Japanese, and the system's name for it in brackets after it for a bug
// report: "ディスクに空きがありません（ENOSPC）". Each system has its own table
// (FailureReasons-posix.cpp, FailureReasons-win32.cpp). The file's folder tells a disk without
// space from one that can hold no more files.
std::u16string errorReason(FileSystem::SystemError error, const FileSystem::Path &file);

std::u16string notAFileReason();

// Something else holds the face file: another copy of the program, or another program.
std::u16string busyReason(bool byAnotherCopy);
