// SPDX-License-Identifier: MIT
// Taking turns with the face file on Windows. Windows' locks are mandatory: a lock on the
// faces would stop other programs reading them. So copies of this program lock single bytes
// far past any real file's size instead, which nothing else ever reads or writes.
#include "catalogue/FaceFileLock.h"

#include "catalogue/LongPaths.h"

#include <thread>

#include <windows.h>

namespace {

using Clock = std::chrono::steady_clock;

// The turn itself; the place of the copy next in line, so that the copy holding the turn
// cannot take it again before that one; and the mark of the copy holding the turn, so that a
// waiter knows who keeps it.
constexpr std::uint64_t kTurn = 0x7FFFFFFFFFFFF000;
constexpr std::uint64_t kNextInLine = kTurn + 1;
constexpr std::uint64_t kHolder = kTurn + 2;

// How often a waiter looks again: Windows cannot wait for a byte lock with a time limit.
constexpr std::chrono::milliseconds kLookAgain{10};

HANDLE handleOf(const FileSystem::File &file)
{
    return reinterpret_cast<HANDLE>(file.handle());
}

OVERLAPPED byteAt(std::uint64_t offset)
{
    OVERLAPPED where{};
    where.Offset = DWORD(offset & 0xFFFFFFFFu);
    where.OffsetHigh = DWORD(offset >> 32);
    return where;
}

bool lockByte(HANDLE file, std::uint64_t at)
{
    OVERLAPPED where = byteAt(at);
    return LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &where);
}

void unlockByte(HANDLE file, std::uint64_t at)
{
    OVERLAPPED where = byteAt(at);
    UnlockFileEx(file, 0, 1, 0, &where);
}

bool holderIsACopy(HANDLE file)
{
    if (!lockByte(file, kHolder))
        return true;
    unlockByte(file, kHolder);
    return false;
}

// Takes the byte, looking again until the deadline; false when it stayed taken.
bool takeByte(HANDLE file, std::uint64_t at, Clock::time_point deadline,
              const std::function<void()> &tellWaiting)
{
    while (!lockByte(file, at)) {
        tellWaiting();
        if (Clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(kLookAgain);
    }
    return true;
}

// Takes the turn: first a place in line, then the turn, then the place is given up for the
// next copy.
bool takeInTurn(HANDLE file, Clock::time_point deadline, const std::function<void()> &tellWaiting)
{
    if (!takeByte(file, kNextInLine, deadline, tellWaiting))
        return false;
    const bool taken = takeByte(file, kTurn, deadline, tellWaiting);
    unlockByte(file, kNextInLine);
    return taken;
}

struct Opening {
    FileSystem::File file;
    bool created = false;
    bool absent = false;
    bool notRegular = false;
    bool heldElsewhere = false; // opened by a program that shares neither writing nor reading
    DWORD error = 0;
};

Opening openForWriting(const FileSystem::Path &path, FaceFileLock::Purpose purpose)
{
    Opening opening;
    const bool append = purpose == FaceFileLock::Purpose::Append;
    opening.file = FileSystem::File(reinterpret_cast<std::intptr_t>(
        CreateFileW(longPath(path).c_str(), GENERIC_READ | GENERIC_WRITE,
                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                    append ? OPEN_ALWAYS : OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)));
    const DWORD error = GetLastError();
    if (opening.file.isOpen()) {
        opening.created = append && error != ERROR_ALREADY_EXISTS;
        BY_HANDLE_FILE_INFORMATION info{};
        if (GetFileType(handleOf(opening.file)) != FILE_TYPE_DISK) {
            opening.notRegular = true;
            opening.file = FileSystem::File();
        } else if (GetFileInformationByHandle(handleOf(opening.file), &info) &&
                   (info.dwFileAttributes & FILE_ATTRIBUTE_READONLY)) {
            // A file the user marked read-only stays as it is, whoever asks: Windows refuses
            // every account alike, but other file systems reached through Windows may not.
            opening.error = ERROR_ACCESS_DENIED;
            opening.file = FileSystem::File();
        }
        return opening;
    }
    opening.absent = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
    opening.notRegular = error == ERROR_ACCESS_DENIED && namesAFolder(path);
    opening.heldElsewhere = error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION;
    opening.error = opening.notRegular ? 0 : error;
    return opening;
}

// The turn is for what was opened; while it was awaited, a rewrite may have put a new file in
// its place, or the file may be gone.
bool stillNamedByPath(const FileSystem::Path &path, const FileSystem::File &file)
{
    const std::optional<FileSystem::Fingerprint> named = FileSystem::fingerprintOf(path);
    const std::optional<FileSystem::Fingerprint> locked = FileSystem::fingerprintOf(file);
    return named && locked && named->identityAndTimes[0] == locked->identityAndTimes[0] &&
           named->identityAndTimes[1] == locked->identityAndTimes[1];
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
        // Another program that holds the file without sharing it lets go in a moment, as a
        // virus scanner does, or is named after the patience.
        if (opening.heldElsewhere && Clock::now() < deadline) {
            std::this_thread::sleep_for(kLookAgain);
            continue;
        }
        if (!opening.file.isOpen()) {
            absent_ = opening.absent;
            notRegular_ = opening.notRegular;
            busy_ = opening.heldElsewhere;
            error_ = busy_ ? 0 : FileSystem::SystemError(opening.error);
            return;
        }
        if (!takeInTurn(handleOf(opening.file), deadline, tellWaiting)) {
            busy_ = true;
            heldByAnotherCopy_ = holderIsACopy(handleOf(opening.file));
            return;
        }
        if (stillNamedByPath(path, opening.file)) {
            lockByte(handleOf(opening.file), kHolder);
            file_ = std::move(opening.file);
            return;
        }
        if (Clock::now() >= deadline) {
            busy_ = true;
            return;
        }
    }
}
