// SPDX-License-Identifier: MIT
#pragma once

#include "platform/FaceFilePath.h"
#include "platform/QtText.h"
#include "support/Files.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

// A home folder of the test program's own, so that the face file lives in a documents folder
// that the tests make, fill and take away. Call it before the application is made.
inline void useTemporaryHome()
{
    static QTemporaryDir home;
    qputenv("HOME", home.path().toUtf8());
    qunsetenv("XDG_CONFIG_HOME");
}

inline QString faceFileName()
{
    return fromPath(faceFilePath());
}

inline QString documentsFolder()
{
    return QFileInfo(faceFileName()).path();
}
inline void makeDocuments()
{
    QDir().mkpath(documentsFolder());
}
inline void removeDocuments()
{
    QDir(documentsFolder()).removeRecursively();
}

// An empty documents folder, as a new user has.
inline void freshDocuments()
{
    removeDocuments();
    makeDocuments();
}

inline QByteArray faceFileBytes()
{
    return readBytes(faceFileName());
}
[[nodiscard]] inline bool writeFaceFile(const QByteArray &bytes)
{
    return writeBytes(faceFileName(), bytes);
}

// The main of a test program that works on the face file in its own home.
#define FACE_FILE_TEST_MAIN(TestClass)                                                             \
    int main(int argc, char **argv)                                                                \
    {                                                                                              \
        useTemporaryHome();                                                                        \
        QApplication app(argc, argv);                                                              \
        TestClass test;                                                                            \
        return QTest::qExec(&test, argc, argv);                                                    \
    }
