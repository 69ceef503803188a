// SPDX-License-Identifier: MIT
#include "catalogue/FileReplacement.h"

#include "catalogue/FileCalls.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <utility>

#include <fcntl.h>
#include <unistd.h>

namespace {

// Opens a new file of a name no other file has in the folder, named after the old one.
int createBeside(int folder, const QByteArray &target, QByteArray &name)
{
    static constexpr char kLetters[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = target + '.';
        for (int i = 0; i < 6; ++i)
            name += kLetters[QRandomGenerator::global()->bounded(int(sizeof kLetters) - 1)];
        const int fd =
            ::openat(folder, name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

} // namespace

// The new file is named relative to its open folder, so that no path longer than the old
// file's own is ever formed, however near the system's limit that is.
FileReplacement::FileReplacement(const QString &path)
{
    const QFileInfo file(path);
    target_ = QFile::encodeName(file.fileName());
    // Only a place to name files in: making, renaming and removing them needs no right to read
    // the folder.
    folder_ = ::open(QFile::encodeName(file.absolutePath()).constData(),
                     O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (folder_ >= 0)
        fd_ = createBeside(folder_, target_, name_);
    if (fd_ < 0) {
        error_ = errno;
        name_.clear();
    }
}

FileReplacement::~FileReplacement()
{
    if (fd_ >= 0)
        ::close(fd_);
    if (!name_.isEmpty() && !placed_)
        ::unlinkat(folder_, name_.constData(), 0);
    if (folder_ >= 0)
        ::close(folder_);
}

int FileReplacement::fill(QByteArrayView bytes, const struct stat &old)
{
    if (error_ != 0)
        return error_;
    struct stat made {};
    // Another user's file stays theirs; one that cannot stay theirs is not replaced.
    const bool sameOwners =
        ::fstat(fd_, &made) == 0 && made.st_uid == old.st_uid && made.st_gid == old.st_gid;
    if ((!sameOwners && ::fchown(fd_, old.st_uid, old.st_gid) != 0) ||
        ::fchmod(fd_, old.st_mode & 07777) != 0 || !writeAll(fd_, bytes) || syncToDisk(fd_) != 0)
        error_ = errno;
    return error_;
}

int FileReplacement::putInPlace()
{
    if (error_ != 0)
        return error_;
    // Some file systems tell of a failed write only when the file is closed.
    if (::close(std::exchange(fd_, -1)) != 0 ||
        renameInFolder(folder_, name_.constData(), target_.constData()) != 0)
        return error_ = errno;
    placed_ = true;
    // The rename itself must reach the disk too, or a power cut could bring back the old file.
    syncFolder(folder_, ".");
    return 0;
}
