// SPDX-License-Identifier: MIT
// Taking turns with the face file on POSIX systems: a lock on the whole file, which other
// programs may take too, and byte locks of this program's own far past any face.
#include "catalogue/FaceFileLock.h"

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

using Clock = std::chrono::steady_clock;

// Copies of this program lock single bytes far past any face; such byte locks and the
// whole-file lock never meet. The copy next in line holds one, so that the holder cannot take
// the file again before it; the copy that has the file holds the other, so that a waiter knows
// who keeps it.
constexpr off_t kNextInLine = std::numeric_limits<off_t>::max() - 1;
constexpr off_t kHolder = std::numeric_limits<off_t>::max() - 2;

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

// The life of a waiter. A lock held elsewhere is waited for in the kernel, which wakes the
// waiter the moment the holder lets go, instead of looking again now and then and losing to
// copies that come in between. The kernel's wait cannot be given a time limit, so it runs in a
// thread of its own, on a duplicate of the descriptor; the duplicate shares the open file and
// its locks. The thread's life ends in one of three ways:
// - It takes the lock within the patience: it hands over the result and closes its duplicate.
//   The lock stays, for it belongs to the open file, which the caller keeps open.
// - The patience runs out first: the caller reports the file busy and closes its descriptor.
//   The thread, detached, goes on waiting on its duplicate, by then the open file's last
//   descriptor; when it takes the lock it closes the duplicate, which lets the lock go at once.
//   It touches nothing else that the caller owns: the promise it sets keeps its own state.
// - The program ends while it waits, and the thread ends with it.
Taking waitInThread(int fd, int (*wait)(int), Clock::time_point deadline)
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
    if (result.wait_until(deadline) != std::future_status::ready)
        return Taking::Busy;
    return takingAfter(result.get());
}

Taking take(int fd, const LockKind &kind, Clock::time_point deadline,
            const std::function<void()> &tellWaiting)
{
    const int error = retried(kind.now, fd);
    if (!heldElsewhere(error))
        return takingAfter(error);
    tellWaiting();
    return waitInThread(fd, kind.waiting, deadline);
}

// Takes the file in turn: first a place in line, then the file itself, then the place is
// given up for the next copy. A file system without locks still lets the user save, as
// before locks existed.
Taking takeInTurn(int fd, Clock::time_point deadline, const std::function<void()> &tellWaiting)
{
    const Taking inLine = take(fd, kPlaceInLine, deadline, tellWaiting);
    if (inLine == Taking::Busy || inLine == Taking::Failed)
        return inLine;
    const Taking whole = take(fd, kWholeFile, deadline, tellWaiting);
    const int failure = errno;
    if (inLine == Taking::Taken)
        unlockByte(fd, kNextInLine);
    errno = failure;
    return whole;
}

// The file opened for writing as the purpose wants it, or why it could not be.
struct Opening {
    FileSystem::File file;
    bool created = false;
    bool absent = false;
    bool notRegular = false;
    int error = 0;
};

Opening openForWriting(const FileSystem::Path &path, FaceFileLock::Purpose purpose)
{
    // Non-blocking, so that a FIFO in the file's place is refused instead of waited on.
    const int flags = (purpose == FaceFileLock::Purpose::Append ? O_RDWR | O_APPEND : O_RDWR) |
                      O_NONBLOCK | O_CLOEXEC;
    Opening opening;
    int fd = ::open(path.c_str(), flags);
    if (fd < 0 && errno == ENOENT && purpose == FaceFileLock::Purpose::Append) {
        fd = ::open(path.c_str(), flags | O_CREAT, 0666);
        opening.created = fd >= 0;
    }
    if (fd < 0) {
        // Opened for writing, a folder answers so instead of being opened.
        opening.notRegular = errno == EISDIR;
        opening.absent = errno == ENOENT;
        opening.error = opening.notRegular ? 0 : errno;
        return opening;
    }
    opening.file = FileSystem::File(fd);
    struct stat opened {};
    if (::fstat(fd, &opened) != 0) {
        opening.error = errno;
        opening.file = FileSystem::File();
    } else if (!S_ISREG(opened.st_mode)) {
        opening.notRegular = true;
        opening.file = FileSystem::File();
    }
    return opening;
}

// The lock is on what was opened; while it was awaited, a rewrite may have put a new file in
// its place, or the file may be gone.
bool stillNamedByPath(const FileSystem::Path &path, int fd)
{
    struct stat named {};
    struct stat locked {};
    return ::stat(path.c_str(), &named) == 0 && ::fstat(fd, &locked) == 0 &&
           named.st_dev == locked.st_dev && named.st_ino == locked.st_ino;
}

} // namespace

FaceFileLock::FaceFileLock(const FileSystem::Path &path, Purpose purpose,
                           const std::function<void()> &waiting)
{
    const Clock::time_point deadline = Clock::now() + kPatience;
    bool toldWaiting = false;
    const std::function<void()> tellWaiting = [&] {
        if (!toldWaiting && waiting)
            waiting();
        toldWaiting = true;
    };
    for (;;) {
        Opening opening = openForWriting(path, purpose);
        created_ = created_ || opening.created;
        if (!opening.file.isOpen()) {
            absent_ = opening.absent;
            notRegular_ = opening.notRegular;
            error_ = opening.error;
            return;
        }
        const int fd = int(opening.file.handle());
        const Taking taking = takeInTurn(fd, deadline, tellWaiting);
        if (taking == Taking::Busy || taking == Taking::Failed) {
            busy_ = taking == Taking::Busy;
            error_ = taking == Taking::Failed ? errno : 0;
            heldByAnotherCopy_ = busy_ && holderIsACopy(fd);
            return;
        }
        if (stillNamedByPath(path, fd)) {
            announceHolding(fd);
            file_ = std::move(opening.file);
            return;
        }
        if (Clock::now() >= deadline) {
            busy_ = true;
            return;
        }
    }
}
