// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTest>

#include <fcntl.h>
#include <sys/stat.h>

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

// Faces "face 1" to "face N" from `from` to `to`, each with CR LF.
inline QByteArray numberedLines(int from, int to)
{
    QByteArray bytes;
    for (int n = from; n <= to; ++n)
        bytes += "face " + QByteArray::number(n) + "\r\n";
    return bytes;
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
