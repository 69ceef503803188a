// SPDX-License-Identifier: MIT
#include "FaceFile.h"

#include <QStandardPaths>

using namespace Qt::StringLiterals;

QString faceFilePath()
{
#ifdef Q_OS_WIN
    return u"c:/my documents/顔ファイル.dat"_s;
#else
    // Without drive letters, the user's documents folder stands in for "my documents".
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) +
           u"/顔ファイル.dat"_s;
#endif
}
