// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <functional>

// The system's file calls as the face file uses them.

// Reads from the descriptor's position to the end, also when the file grows meanwhile. On
// failure errno says why.
bool readAll(int fd, QByteArray &content);
// Writes all of the bytes, going on after interruptions. On failure errno says why.
bool writeAll(int fd, QByteArrayView bytes);

// The calls that make a change last: a file's or a folder's content to the disk, and a rename
// within one folder. Changes make them through here, so that a test can see the order in which
// they come, or make one fail. Each returns 0 or sets errno and returns -1, as the system does.
struct DiskCalls {
    std::function<int(int fd)> sync;
    std::function<int(int folder, const char *from, const char *to)> rename;
};
// A member left empty is the system's own call.
void setDiskCalls(DiskCalls calls);

int syncToDisk(int fd);
int renameInFolder(int folder, const char *from, const char *to);
// Syncs the folder at `path`, relative to the folder `at` (AT_FDCWD: the working folder), so
// that the names in it last. A folder that cannot be opened is passed over.
void syncFolder(int at, const char *path);
