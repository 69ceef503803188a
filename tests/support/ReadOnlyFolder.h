// SPDX-License-Identifier: MIT
#pragma once

#include <QFile>
#include <QString>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

// A folder nothing can be created in or removed from, for as long as this lives. Permissions do
// not stop root, who runs the tests in CI, so root sets the file system's immutable flag.
class ReadOnlyFolder {
public:
    explicit ReadOnlyFolder(const QString &path) : path_(QFile::encodeName(path))
    {
        active_ = geteuid() == 0 ? setImmutable(true) : ::chmod(path_.constData(), 0555) == 0;
    }
    ~ReadOnlyFolder()
    {
        if (active_ &&
            !(geteuid() == 0 ? setImmutable(false) : ::chmod(path_.constData(), 0755) == 0))
            qWarning("could not make %s writable again", path_.constData());
    }
    ReadOnlyFolder(const ReadOnlyFolder &) = delete;
    ReadOnlyFolder &operator=(const ReadOnlyFolder &) = delete;

    bool active() const { return active_; }

private:
    bool setImmutable(bool on) const
    {
        const int fd = ::open(path_.constData(), O_RDONLY | O_DIRECTORY);
        if (fd < 0)
            return false;
        int flags = 0;
        bool done = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
        if (done) {
            flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
            done = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
        }
        ::close(fd);
        return done;
    }

    QByteArray path_;
    bool active_ = false;
};
