// SPDX-License-Identifier: MIT
#include "FaceRemoval.h"

#include "platform/TextFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cmath>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <unistd.h>
#endif

using namespace Qt::StringLiterals;

namespace {

// The rename itself must reach the disk too, or a power cut could bring back the old file.
void syncFolderOf(const QString &path)
{
#ifdef Q_OS_UNIX
    const int folder = ::open(QFile::encodeName(QFileInfo(path).absolutePath()).constData(),
                              O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
#else
    Q_UNUSED(path);
#endif
}

} // namespace

bool namesListedLine(double chosen, qsizetype listedCount)
{
    return chosen >= 1 && chosen <= double(listedCount) && std::floor(chosen) == chosen;
}

QByteArray withoutListedLine(QByteArrayView content, double chosen, const QList<QByteArray> &listed)
{
    if (!namesListedLine(chosen, listed.size()))
        return content.toByteArray();
    const qsizetype index = qsizetype(chosen) - 1;
    const QList<QByteArrayView> stored = splitStoredLines(content);
    const QList<QByteArrayView> texts = splitLines(content);
    if (index >= texts.size() || texts[index] != listed[index])
        return content.toByteArray();

    QByteArray kept;
    kept.reserve(content.size());
    for (qsizetype i = 0; i < stored.size(); ++i)
        if (i != index)
            kept.append(stored[i]);
    return kept;
}

bool removeListedFace(const QString &path, double chosen, const QList<QByteArray> &listed,
                      QString *reason)
{
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return true;
    if (!info.isFile()) {
        *reason = u"not a regular file"_s;
        return false;
    }
    QFile current(path);
    if (!current.open(QIODevice::ReadOnly)) {
        *reason = current.errorString();
        return false;
    }
    const QByteArray content = current.readAll();
    if (current.error() != QFileDevice::NoError) {
        *reason = current.errorString();
        return false;
    }
    current.close();

    QSaveFile replacement(path);
    // Unbuffered, so that a short write (a full disk, a size limit) shows in write()'s count:
    // a buffered one can fail at commit without saying so and put a cut-off file in place.
    if (!replacement.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        *reason = replacement.errorString();
        return false;
    }
    const QByteArray kept = withoutListedLine(content, chosen, listed);
    if (replacement.write(kept) != kept.size() || !replacement.commit()) {
        *reason = replacement.errorString();
        replacement.cancelWriting();
        return false;
    }
    syncFolderOf(path);
    return true;
}
