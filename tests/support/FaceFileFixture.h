// SPDX-License-Identifier: MIT
#pragma once

#include "catalogue/FaceFile.h"
#include "support/Files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

// A home folder of the test's own, so that the face file lives in a documents folder that the
// test makes, fills and takes away. Construct it before the application.
class TemporaryHome {
public:
    TemporaryHome()
    {
        qputenv("HOME", home_.path().toUtf8());
        qunsetenv("XDG_CONFIG_HOME");
    }

    QString documents() const { return QFileInfo(faceFilePath()).path(); }

    void makeDocuments() const { QDir().mkpath(documents()); }
    void removeDocuments() const { QDir(documents()).removeRecursively(); }

private:
    QTemporaryDir home_;
};

inline QByteArray faceFileBytes()
{
    return readBytes(faceFilePath());
}

inline void writeFaceFile(const QByteArray &bytes)
{
    writeBytes(faceFilePath(), bytes);
}
