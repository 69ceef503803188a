// SPDX-License-Identifier: MIT
// The face file's needs met by POSIX calls.
#include "catalogue/FileSystem.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <random>
#include <utility>

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace FileSystem {

const SystemError kTryAgain = EAGAIN;

namespace {

std::function<SystemError(DiskCall)> &diskCallHook()
{
    static std::function<SystemError(DiskCall)> hook;
    return hook;
}

// Runs the call unless the hook makes it fail; returns 0, or sets errno and returns -1, as
// the system does.
template <class Call> int throughHook(DiskCall kind, Call call)
{
    if (diskCallHook()) {
        if (const SystemError error = diskCallHook()(kind)) {
            errno = error;
            return -1;
        }
    }
    return call();
}

int fdOf(const File &file)
{
    return int(file.handle());
}

int syncFolderAt(int at, const char *path)
{
    const int fd = ::openat(at, path, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return 0; // a folder that cannot be opened is passed over
    const int result = throughHook(DiskCall::SyncFolder, [fd] { return ::fsync(fd); });
    ::close(fd);
    return result;
}

Fingerprint fingerprint(const struct stat &info)
{
    return Fingerprint{std::uint64_t(info.st_size),
                       {std::uint64_t(info.st_dev), std::uint64_t(info.st_ino),
                        std::uint64_t(info.st_mtim.tv_sec), std::uint64_t(info.st_mtim.tv_nsec),
                        std::uint64_t(info.st_ctim.tv_sec), std::uint64_t(info.st_ctim.tv_nsec)}};
}

} // namespace

File::File(File &&other) noexcept : handle_(std::exchange(other.handle_, kNone)) {}

File &File::operator=(File &&other) noexcept
{
    if (this != &other) {
        File gone(std::move(*this));
        handle_ = std::exchange(other.handle_, kNone);
    }
    return *this;
}

File::~File()
{
    // Closing lets go of the locks taken through the file too.
    if (isOpen())
        ::close(int(handle_));
}

WholeFile readWholeFile(const Path &path)
{
    WholeFile whole;
    const File file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (!file.isOpen()) {
        whole.outcome = errno == ENOENT ? WholeFile::Outcome::Absent : WholeFile::Outcome::Failed;
        whole.error = errno == ENOENT ? 0 : errno;
        return whole;
    }
    struct stat info {};
    if (::fstat(fdOf(file), &info) == 0 && !S_ISREG(info.st_mode))
        whole.outcome = WholeFile::Outcome::NotAFile;
    else if (!readAll(file, whole.content, whole.error))
        whole.outcome = WholeFile::Outcome::Failed;
    else
        whole.outcome = WholeFile::Outcome::Read;
    return whole;
}

bool readAll(const File &file, std::string &content, SystemError &error)
{
    struct stat info {};
    if (::fstat(fdOf(file), &info) != 0) {
        error = errno;
        return false;
    }
    // The file may grow while it is read: the buffer grows with it.
    std::string bytes(std::size_t(info.st_size) + 4096, '\0');
    std::size_t used = 0;
    for (;;) {
        if (used == bytes.size())
            bytes.resize(bytes.size() * 2);
        const ssize_t got = ::pread(fdOf(file), bytes.data() + used, bytes.size() - used,
                                    off_t(used));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            error = errno;
            return false;
        }
        if (got == 0)
            break;
        used += std::size_t(got);
    }
    bytes.resize(used);
    content = std::move(bytes);
    return true;
}

bool readAt(const File &file, std::uint64_t offset, std::size_t count, std::string &bytes,
            SystemError &error)
{
    bytes.assign(count, '\0');
    ssize_t got = 0;
    while ((got = ::pread(fdOf(file), bytes.data(), count, off_t(offset))) < 0 && errno == EINTR) {
    }
    if (got < 0) {
        error = errno;
        return false;
    }
    bytes.resize(std::size_t(got));
    return true;
}

std::optional<std::uint64_t> sizeOf(const File &file, SystemError &error)
{
    struct stat info {};
    if (::fstat(fdOf(file), &info) != 0) {
        error = errno;
        return std::nullopt;
    }
    return std::uint64_t(info.st_size);
}

bool appendAll(const File &file, std::string_view bytes, SystemError &error)
{
    // The file is open for appending: every write lands at its end as it is then.
    while (!bytes.empty()) {
        const ssize_t written = ::write(fdOf(file), bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            error = written == 0 ? ENOSPC : errno;
            return false;
        }
        bytes.remove_prefix(std::size_t(written));
    }
    return true;
}

void cutBackTo(const File &file, std::uint64_t size)
{
    while (::ftruncate(fdOf(file), off_t(size)) != 0 && errno == EINTR) {
    }
}

SystemError syncToDisk(const File &file)
{
    return throughHook(DiskCall::SyncFile, [&file] { return ::fsync(fdOf(file)); }) == 0 ? 0
                                                                                         : errno;
}

void syncFolderOf(const Path &file)
{
    std::error_code ignored;
    const Path real = std::filesystem::weakly_canonical(file, ignored);
    syncFolderAt(AT_FDCWD, (real.empty() ? file : real).parent_path().c_str());
}

std::optional<Fingerprint> fingerprintOf(const File &file)
{
    struct stat info {};
    if (::fstat(fdOf(file), &info) != 0)
        return std::nullopt;
    return fingerprint(info);
}

std::optional<Fingerprint> fingerprintOf(const Path &path)
{
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        return std::nullopt;
    return fingerprint(info);
}

Path linksFollowed(const Path &path)
{
    std::error_code error;
    const Path real = std::filesystem::canonical(path, error);
    return error ? path : real;
}

namespace {

// Opens a new file of a name no other file has in the folder, named after the old one.
int createBeside(int folder, const std::string &target, std::string &name)
{
    static constexpr char kLetters[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    thread_local std::mt19937 random{std::random_device{}()};
    std::uniform_int_distribution<std::size_t> letter(0, sizeof kLetters - 2);
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = target + '.';
        for (int i = 0; i < 6; ++i)
            name += kLetters[letter(random)];
        const int fd =
            ::openat(folder, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

} // namespace

// The new file is named relative to its open folder, so that no path longer than the old
// file's own is ever formed, however near the system's limit that is.
Replacement::Replacement(const Path &target) : target_(target.filename())
{
    // Only a place to name files in: making, renaming and removing them needs no right to read
    // the folder.
    std::error_code ignored;
    const Path folder = std::filesystem::absolute(target, ignored).parent_path();
    folder_ = File(::open(folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
    std::string name;
    if (folder_.isOpen())
        file_ = File(createBeside(fdOf(folder_), target_.native(), name));
    if (file_.isOpen())
        name_ = name;
    else
        error_ = errno;
}

Replacement::~Replacement()
{
    file_ = File();
    if (!name_.empty() && !placed_)
        ::unlinkat(fdOf(folder_), name_.c_str(), 0);
}

SystemError Replacement::fill(std::string_view bytes, const File &old)
{
    if (error_ != 0)
        return error_;
    struct stat before {};
    struct stat made {};
    // Another user's file stays theirs; one that cannot stay theirs is not replaced.
    if (::fstat(fdOf(old), &before) != 0 || ::fstat(fdOf(file_), &made) != 0)
        return error_ = errno;
    const bool sameOwners = made.st_uid == before.st_uid && made.st_gid == before.st_gid;
    if ((!sameOwners && ::fchown(fdOf(file_), before.st_uid, before.st_gid) != 0) ||
        ::fchmod(fdOf(file_), before.st_mode & 07777) != 0)
        return error_ = errno;
    if (!appendAll(file_, bytes, error_))
        return error_;
    return error_ = syncToDisk(file_);
}

SystemError Replacement::putInPlace()
{
    if (error_ != 0)
        return error_;
    // Some file systems tell of a failed write only when the file is closed.
    if (::close(int(file_.release())) != 0)
        return error_ = errno;
    const int folder = fdOf(folder_);
    if (throughHook(DiskCall::Rename, [&] {
            return ::renameat(folder, name_.c_str(), folder, target_.c_str());
        }) != 0)
        return error_ = errno;
    placed_ = true;
    // The rename itself must reach the disk too, or a power cut could bring back the old file.
    syncFolderAt(folder, ".");
    return 0;
}

void setDiskCallHook(std::function<SystemError(DiskCall)> hook)
{
    diskCallHook() = std::move(hook);
}

} // namespace FileSystem
