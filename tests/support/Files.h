// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QString>
#include <QTest>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

// A file's bytes, or "<absent>".
inline QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<absent>");
}

// Whether the file now holds exactly the bytes.
[[nodiscard]] inline bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size();
}

[[nodiscard]] inline bool appendBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::Append) && file.write(bytes) == bytes.size();
}

// Overwrites one byte in place and puts the file's access and modification times back, as
// `rsync --inplace --times` does; only the change time, which no program can set, moves on.
// It moves by the ticks of the system's file clock, so the write is repeated until it has.
[[nodiscard]] inline bool editInPlaceKeepingTheTimes(const QString &path, off_t at, char byte)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CLOEXEC);
    struct stat before {};
    struct stat now {};
    bool done = fd >= 0 && ::fstat(fd, &before) == 0;
    const timespec times[2] = {before.st_atim, before.st_mtim};
    do {
        done = done && ::pwrite(fd, &byte, 1, at) == 1 && ::futimens(fd, times) == 0 &&
               ::fstat(fd, &now) == 0;
    } while (done && now.st_ctim.tv_sec == before.st_ctim.tv_sec &&
             now.st_ctim.tv_nsec == before.st_ctim.tv_nsec);
    if (fd >= 0)
        ::close(fd);
    return done;
}

// Faces "face 1" to "face N" from `from` to `to`, each with CR LF.
inline QByteArray numberedLines(int from, int to)
{
    QByteArray bytes;
    for (int n = from; n <= to; ++n)
        bytes += "face " + QByteArray::number(n) + "\r\n";
    return bytes;
}

inline QList<QByteArray> byteLines(std::initializer_list<const char *> texts)
{
    QList<QByteArray> list;
    for (const char *text : texts)
        list << QByteArray(text);
    return list;
}

// Dates the file's last change far back, so that any change made after it shows in its
// fingerprint, however soon it comes.
[[nodiscard]] inline bool backdate(const QString &path)
{
    const timespec longAgo[2] = {{1000000000, 0}, {1000000000, 0}};
    return ::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), longAgo, 0) == 0;
}

// A file's identity and the time of its last change: a file left alone keeps both.
inline QString fingerprint(const QString &path)
{
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return QStringLiteral("<absent>");
    return QStringLiteral("%1 %2.%3")
        .arg(info.st_ino)
        .arg(info.st_mtim.tv_sec)
        .arg(info.st_mtim.tv_nsec);
}
