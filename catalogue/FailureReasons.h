// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

// Why the face file could not be read or changed, for the user, in the user's language.

// The system's error in Japanese, and the system's name for it in brackets after it for a bug
// report: "ディスクに空きがありません（ENOSPC）". The file's folder tells a disk without space
// from one that can hold no more files.
QString errorReason(int error, const QString &file);

QString notAFileReason();

// Something else holds the face file: another copy of the program, or another program.
QString busyReason(bool byAnotherCopy);
