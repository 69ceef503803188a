// SPDX-License-Identifier: MIT
#include "catalogue/FileCalls.h"

#include <cerrno>

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

DiskCalls &diskCalls()
{
    static DiskCalls instance;
    return instance;
}

} // namespace

bool readAll(int fd, QByteArray &content)
{
    struct stat info {};
    if (::fstat(fd, &info) != 0)
        return false;
    // The file may grow while it is read: the buffer grows with it.
    QByteArray bytes(qsizetype(info.st_size) + 4096, Qt::Uninitialized);
    qsizetype used = 0;
    for (;;) {
        if (used == bytes.size())
            bytes.resize(bytes.size() * 2);
        const ssize_t got = ::read(fd, bytes.data() + used, size_t(bytes.size() - used));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return false;
        if (got == 0)
            break;
        used += got;
    }
    bytes.truncate(used);
    content = std::move(bytes);
    return true;
}

bool writeAll(int fd, QByteArrayView bytes)
{
    while (!bytes.isEmpty()) {
        const ssize_t written = ::write(fd, bytes.data(), size_t(bytes.size()));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            if (written == 0)
                errno = ENOSPC;
            return false;
        }
        bytes = bytes.sliced(written);
    }
    return true;
}

void setDiskCalls(DiskCalls calls)
{
    diskCalls() = std::move(calls);
}

int syncToDisk(int fd)
{
    return diskCalls().sync ? diskCalls().sync(fd) : ::fsync(fd);
}

int renameInFolder(int folder, const char *from, const char *to)
{
    return diskCalls().rename ? diskCalls().rename(folder, from, to)
                              : ::renameat(folder, from, folder, to);
}

void syncFolder(int at, const char *path)
{
    const int fd = ::openat(at, path, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        syncToDisk(fd);
        ::close(fd);
    }
}
