// SPDX-License-Identifier: MIT
#include "catalogue/FaceFileLock.h"

#include <QDeadlineTimer>
#include <QFile>

#include <cerrno>
#include <future>
#include <limits>
#include <system_error>
#include <thread>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Besides the lock on the whole file, which other programs may take too, copies of this program
// lock single bytes far past any face; such byte locks and the whole-file lock never meet.
// The copy next in line holds one, so that the holder cannot take the file again before it;
// the copy that has the file holds the other, so that a waiter knows who keeps it.
constexpr off_t kNextInLine = std::numeric_limits<off_t>::max() - 1;
constexpr off_t kHolder = std::numeric_limits<off_t>::max() - 2;

bool sameFile(const struct stat &a, const struct stat &b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

int errorOf(int result)
{
    return result == 0 ? 0 : errno;
}

int retried(int (*call)(int), int fd)
{
    int error = 0;
    while ((error = call(fd)) == EINTR) {
    }
    return error;
}

struct flock byteLock(short type, off_t at)
{
    struct flock lock {};
    lock.l_type = type;
    lock.l_whence = SEEK_SET;
    lock.l_start = at;
    lock.l_len = 1;
    return lock;
}

// One kind of lock, taken at once if it is free, or waited for; each returns 0 or the error.
struct LockKind {
    int (*now)(int fd);
    int (*waiting)(int fd);
};

const LockKind kWholeFile{
    [](int fd) { return errorOf(::flock(fd, LOCK_EX | LOCK_NB)); },
    [](int fd) { return errorOf(::flock(fd, LOCK_EX)); },
};

const LockKind kPlaceInLine{
    [](int fd) {
        struct flock lock = byteLock(F_WRLCK, kNextInLine);
        return errorOf(::fcntl(fd, F_OFD_SETLK, &lock));
    },
    [](int fd) {
        struct flock lock = byteLock(F_WRLCK, kNextInLine);
        return errorOf(::fcntl(fd, F_OFD_SETLKW, &lock));
    },
};

void unlockByte(int fd, off_t at)
{
    struct flock lock = byteLock(F_UNLCK, at);
    ::fcntl(fd, F_OFD_SETLK, &lock);
}

void announceHolding(int fd)
{
    struct flock lock = byteLock(F_WRLCK, kHolder);
    ::fcntl(fd, F_OFD_SETLK, &lock);
}

bool holderIsACopy(int fd)
{
    struct flock probe = byteLock(F_WRLCK, kHolder);
    return ::fcntl(fd, F_OFD_GETLK, &probe) == 0 && probe.l_type != F_UNLCK;
}

bool heldElsewhere(int error)
{
    return error == EWOULDBLOCK || error == EAGAIN || error == EACCES;
}

enum class Taking {
    Taken,
    Busy,        // still held elsewhere when the patience ran out
    Unsupported, // this file system does not lock
    Failed,      // the system could not wait; errno says why
};

Taking takingAfter(int error)
{
    return error == 0 ? Taking::Taken : Taking::Unsupported;
}

// Waits for the lock in the kernel, which wakes the waiter the moment the holder lets go,
// instead of looking again now and then and losing to copies that come in between. The wait
// runs in a thread of its own on a duplicate of the descriptor, which shares its locks. If the
// patience runs out first, that thread is left to take the lock when it comes and to let it go
// at once by closing the duplicate, the last of the file's descriptors by then.
Taking waitInThread(int fd, int (*wait)(int), const QDeadlineTimer &deadline)
{
    const int duplicate = ::fcntl(fd, F_DUPFD_CLOEXEC, 0);
    if (duplicate < 0)
        return Taking::Failed;
    std::promise<int> taken;
    std::future<int> result = taken.get_future();
    try {
        std::thread([duplicate, wait, taken = std::move(taken)]() mutable {
            taken.set_value(retried(wait, duplicate));
            ::close(duplicate);
        }).detach();
    } catch (const std::system_error &failure) {
        ::close(duplicate);
        errno = failure.code().value();
        return Taking::Failed;
    }
    if (result.wait_for(deadline.remainingTimeAsDuration()) != std::future_status::ready)
        return Taking::Busy;
    return takingAfter(result.get());
}

Taking take(int fd, const LockKind &kind, const QDeadlineTimer &deadline,
            const std::function<void()> &tellWaiting)
{
    const int error = retried(kind.now, fd);
    if (!heldElsewhere(error))
        return takingAfter(error);
    tellWaiting();
    return waitInThread(fd, kind.waiting, deadline);
}

} // namespace

FaceFileLock::FaceFileLock(const QString &path, Purpose purpose,
                           const std::function<void()> &waiting)
{
    const QByteArray name = QFile::encodeName(path);
    // Non-blocking, so that a FIFO in the file's place is refused instead of waited on.
    const int flags =
        (purpose == Purpose::Append ? O_RDWR | O_APPEND : O_RDWR) | O_NONBLOCK | O_CLOEXEC;
    const QDeadlineTimer deadline(kPatience);
    bool toldWaiting = false;
    const auto tellWaiting = [&] {
        if (!toldWaiting && waiting)
            waiting();
        toldWaiting = true;
    };
    for (;;) {
        int fd = ::open(name.constData(), flags);
        if (fd < 0 && errno == ENOENT && purpose == Purpose::Append) {
            fd = ::open(name.constData(), flags | O_CREAT, 0666);
            created_ = created_ || fd >= 0;
        }
        if (fd < 0) {
            // Opened for writing, a folder answers so instead of being opened.
            notRegular_ = errno == EISDIR;
            error_ = notRegular_ ? 0 : errno;
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

        // A file system without locks still lets the user save, as before locks existed.
        const Taking inLine = take(fd, kPlaceInLine, deadline, tellWaiting);
        const Taking whole = inLine == Taking::Busy || inLine == Taking::Failed
                                 ? inLine
                                 : take(fd, kWholeFile, deadline, tellWaiting);
        const int failure = whole == Taking::Failed ? errno : 0;
        if (inLine == Taking::Taken)
            unlockByte(fd, kNextInLine);
        if (whole == Taking::Busy || whole == Taking::Failed) {
            busy_ = whole == Taking::Busy;
            error_ = failure;
            heldByAnotherCopy_ = busy_ && holderIsACopy(fd);
            ::close(fd);
            return;
        }

        // The lock is on what was opened; while we waited, a rewrite may have put a new file
        // in its place, or the file may be gone. Then lock what is there now.
        struct stat current {};
        if (::stat(name.constData(), &current) == 0 && sameFile(current, opened)) {
            announceHolding(fd);
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
    // Closing releases the locks.
    if (fd_ >= 0)
        ::close(fd_);
}
