// SPDX-License-Identifier: MIT
#include "platform/FaceFilePath.h"

#include "platform/QtText.h"

#include <QDir>
#include <QStandardPaths>

#include <pwd.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

// The account's own home folder, for when HOME is not set.
QString accountHome()
{
    passwd entry{};
    passwd *found = nullptr;
    char buffer[4096];
    if (::getpwuid_r(::getuid(), &entry, buffer, sizeof buffer, &found) == 0 && found &&
        found->pw_dir && *found->pw_dir)
        return QFile::decodeName(found->pw_dir);
    return QDir::rootPath();
}

QString documentsFolder()
{
    // Qt finds the documents folder through HOME, and without HOME would answer "//Documents".
    if (qEnvironmentVariableIsEmpty("HOME"))
        return accountHome() + u"/Documents"_s;
    // user-dirs.dirs may name only "$HOME/…" or an absolute path. Qt passes any other value
    // on as it stands, which would make the face file depend on the folder the program was
    // started from; such a value names no folder.
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QDir::isAbsolutePath(documents) ? documents : QDir::homePath() + u"/Documents"_s;
}

} // namespace

std::filesystem::path faceFilePath()
{
    return toPath(documentsFolder() + u"/顔ファイル.dat"_s);
}
