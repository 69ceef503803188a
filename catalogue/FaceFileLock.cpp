// SPDX-License-Identifier: MIT
#include "catalogue/FaceFileLock.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QThread>

#include <cerrno>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr unsigned long kPollMs = 10;

bool sameFile(const struct stat &a, const struct stat &b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

} // namespace

FaceFileLock::FaceFileLock(const QString &path, Purpose purpose,
                           const std::function<void()> &waiting)
{
    const QByteArray name = QFile::encodeName(path);
    // Non-blocking, so that a FIFO in the file's place is refused instead of waited on.
    const int flags = purpose == Purpose::Append ? O_RDWR | O_APPEND | O_CREAT : O_RDONLY;
    const QDeadlineTimer deadline(kPatience);
    bool toldWaiting = false;
    for (;;) {
        const int fd = ::open(name.constData(), flags | O_NONBLOCK | O_CLOEXEC, 0666);
        if (fd < 0) {
            error_ = errno;
            return;
        }
        struct stat opened {};
        if (::fstat(fd, &opened) != 0) {
            error_ = errno;
            ::close(fd);
            return;
        }
        if (!S_ISREG(opened.st_mode)) {
            notRegular_ = true;
            ::close(fd);
            return;
        }
        while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            if (errno == EINTR)
                continue;
            // A file system without locks still lets the user save, as before locks existed.
            if (errno != EWOULDBLOCK)
                break;
            if (deadline.hasExpired()) {
                busy_ = true;
                ::close(fd);
                return;
            }
            if (!toldWaiting && waiting) {
                toldWaiting = true;
                waiting();
            }
            QThread::msleep(kPollMs);
        }
        // The lock is on what was opened; while we waited, a rewrite may have put a new file
        // in its place, or the file may be gone. Then lock what is there now.
        struct stat current {};
        if (::stat(name.constData(), &current) == 0 && sameFile(current, opened)) {
            fd_ = fd;
            return;
        }
        ::close(fd);
        if (deadline.hasExpired()) {
            busy_ = true;
            return;
        }
    }
}

bool FaceFileLock::absent() const
{
    return error_ == ENOENT;
}

FaceFileLock::~FaceFileLock()
{
    // Closing releases the lock.
    if (fd_ >= 0)
        ::close(fd_);
}
