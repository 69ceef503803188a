// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <sys/stat.h>

// A new file written beside the one it is to replace, in the same folder, and put in its place
// by one rename, so that the path always names either the old file or the new one. Until it is
// in place, letting it go leaves nothing behind.
class FileReplacement {
public:
    // Creates the new file, empty, beside the file at `path`.
    explicit FileReplacement(const QString &path);
    ~FileReplacement();
    FileReplacement(const FileReplacement &) = delete;
    FileReplacement &operator=(const FileReplacement &) = delete;

    // Fills the new file with the bytes and gives it the old file's owner, group and mode, all
    // on the disk. Returns 0, or the error number; then it cannot be put in place.
    int fill(QByteArrayView bytes, const struct stat &old);
    // Puts the new file in place of the old one for good. Returns 0, or the error number with
    // the old file in place.
    int putInPlace();

private:
    int folder_ = -1;
    int fd_ = -1;
    int error_ = 0;
    QByteArray name_;   // the new file's, within the folder
    QByteArray target_; // the old file's, within the folder
    bool placed_ = false;
};
