// SPDX-License-Identifier: MIT
#include "catalogue/FaceFile.h"

#include "catalogue/FaceFileLock.h"
#include "catalogue/FaceRemoval.h"
#include "text/CodePage932.h"
#include "text/Lines.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

std::function<void(FaceFileMoment)> &observer()
{
    static std::function<void(FaceFileMoment)> instance;
    return instance;
}

void observe(FaceFileMoment moment)
{
    if (observer())
        observer()(moment);
}

void observeWaiting()
{
    observe(FaceFileMoment::WaitingForLock);
}

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

const QString kNotAFile = u"ファイルではないものがその名前で置かれています"_s;
const QString kBusy =
    u"ほかのピコラ３が顔ファイルを使っています。少し待ってから、もう一度お試しください"_s;

// The reasons a user can act on, in the user's language.
QString describeError(int error)
{
    switch (error) {
    case ENOENT:
        return u"フォルダーがありません"_s;
    case EACCES:
    case EPERM:
        return u"アクセスが許可されていません"_s;
    case EISDIR:
        return kNotAFile;
    case ENOTDIR:
        return u"フォルダーの名前でファイルが置かれています"_s;
    case ENOSPC:
    case EDQUOT:
        return u"ディスクに空きがありません"_s;
    case EFBIG:
        return u"ファイルが大きすぎます"_s;
    case EROFS:
        return u"書き込みできない場所です"_s;
    case ELOOP:
        return u"シンボリックリンクが循環しています"_s;
    case EIO:
        return u"ディスクの読み書きに失敗しました"_s;
    default:
        return QString::fromLocal8Bit(std::strerror(error));
    }
}

FaceFileChange failed(const QString &reason)
{
    return {FaceFileChange::Outcome::Failed, reason};
}

FaceFileChange failedToLock(const FaceFileLock &lock)
{
    if (lock.busy())
        return failed(kBusy);
    if (lock.notRegular())
        return failed(kNotAFile);
    return failed(describeError(lock.error()));
}

bool readAll(int fd, QByteArray &content)
{
    struct stat info {};
    if (::fstat(fd, &info) != 0)
        return false;
    // The file may grow while it is read: the buffer grows with it.
    QByteArray bytes(qsizetype(info.st_size) + 4096, Qt::Uninitialized);
    qsizetype used = 0;
    for (;;) {
        if (used == bytes.size())
            bytes.resize(bytes.size() * 2);
        const ssize_t got = ::read(fd, bytes.data() + used, size_t(bytes.size() - used));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return false;
        if (got == 0)
            break;
        used += got;
    }
    bytes.truncate(used);
    content = std::move(bytes);
    return true;
}

bool writeAll(int fd, QByteArrayView bytes)
{
    while (!bytes.isEmpty()) {
        const ssize_t written = ::write(fd, bytes.data(), size_t(bytes.size()));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            if (written == 0)
                errno = ENOSPC;
            return false;
        }
        bytes = bytes.sliced(written);
    }
    return true;
}

// Takes a failed append back off the end, so that no half face stays behind.
void cutBackTo(int fd, off_t size)
{
    while (::ftruncate(fd, size) != 0 && errno == EINTR) {
    }
}

// The rename itself must reach the disk too, or a power cut could bring back the old file.
void syncFolderOf(const QByteArray &path)
{
    const QByteArray folder = QFile::encodeName(QFileInfo(QFile::decodeName(path)).absolutePath());
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// Puts a file holding the bytes in the place of the one at path, with its permissions. Returns
// 0, or the error number with the old file in place and no temporary file left.
int replaceFile(const QByteArray &path, QByteArrayView bytes, mode_t mode)
{
    QByteArray temporary = path + ".XXXXXX";
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0)
        return errno;
    int error = 0;
    if (::fchmod(fd, mode & 07777) != 0 || !writeAll(fd, bytes) || ::fsync(fd) != 0)
        error = errno;
    if (::close(fd) != 0 && error == 0)
        error = errno;
    if (error == 0 && ::rename(temporary.constData(), path.constData()) != 0)
        error = errno;
    if (error != 0) {
        ::unlink(temporary.constData());
        return error;
    }
    syncFolderOf(path);
    return 0;
}

} // namespace

QString faceFilePath()
{
    // The user's documents folder stands in for Windows' "c:\my documents". Qt finds it
    // through HOME, and without HOME would answer "//Documents".
    if (qEnvironmentVariableIsEmpty("HOME"))
        return accountHome() + u"/Documents/顔ファイル.dat"_s;
    // user-dirs.dirs may name only "$HOME/…" or an absolute path. Qt passes any other value
    // on as it stands, which would make the face file depend on the folder the program was
    // started from; such a value names no folder.
    QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!QDir::isAbsolutePath(documents))
        documents = QDir::homePath() + u"/Documents"_s;
    return documents + u"/顔ファイル.dat"_s;
}

QList<QByteArrayView> FaceFileReading::lines(qsizetype most) const
{
    return splitLines(content, most);
}

FaceFileReading readFaceFile(const QString &path)
{
    FaceFileReading reading;
    // Non-blocking, so that a FIFO in the file's place is refused instead of waited on.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        if (errno != ENOENT) {
            reading.state = FaceFileReading::State::Unreadable;
            reading.reason = describeError(errno);
        }
        return reading;
    }
    struct stat info {};
    if (::fstat(fd, &info) == 0 && !S_ISREG(info.st_mode)) {
        reading.state = FaceFileReading::State::Unreadable;
        reading.reason = kNotAFile;
    } else if (!readAll(fd, reading.content)) {
        reading.state = FaceFileReading::State::Unreadable;
        reading.reason = describeError(errno);
    } else {
        reading.state = FaceFileReading::State::Read;
    }
    ::close(fd);
    return reading;
}

bool holdsLineBreak(const QString &face)
{
    return face.contains(u'\r') || face.contains(u'\n');
}

FaceFileChange appendFace(const QString &path, const QString &face)
{
    if (holdsLineBreak(face) || !CodePage932::unrepresentable(face).isEmpty())
        return failed(u"顔ファイルに書けない文字が含まれています"_s);
    const FaceFileLock lock(path, FaceFileLock::Purpose::Append, observeWaiting);
    if (!lock.held())
        return failedToLock(lock);

    struct stat info {};
    if (::fstat(lock.fd(), &info) != 0)
        return failed(describeError(errno));
    // A file ended by hand without a line end would glue its last face to the new one.
    char end[2];
    const size_t endSize = size_t(qMin<off_t>(info.st_size, 2));
    if (::pread(lock.fd(), end, endSize, info.st_size - off_t(endSize)) != ssize_t(endSize))
        return failed(describeError(errno));
    const QByteArray line =
        lineAfter(QByteArrayView(end, qsizetype(endSize)), CodePage932::encode(face));

    observe(FaceFileMoment::AboutToAppend);
    if (!writeAll(lock.fd(), line) || ::fdatasync(lock.fd()) != 0) {
        const int error = errno;
        cutBackTo(lock.fd(), info.st_size);
        return failed(describeError(error));
    }
    return {FaceFileChange::Outcome::Done, {}};
}

FaceFileChange removeListedFace(const QString &path, double chosen, const QList<QByteArray> &listed)
{
    if (!namesListedLine(chosen, listed.size()))
        return {FaceFileChange::Outcome::NotListed, {}};
    // A face file that is a link to one elsewhere is rewritten there, and stays a link.
    const QString canonical = QFileInfo(path).canonicalFilePath();
    const QString target = canonical.isEmpty() ? path : canonical;
    const FaceFileLock lock(target, FaceFileLock::Purpose::Rewrite, observeWaiting);
    if (lock.absent())
        return {FaceFileChange::Outcome::Changed, {}};
    if (!lock.held())
        return failedToLock(lock);

    QByteArray content;
    struct stat info {};
    if (!readAll(lock.fd(), content) || ::fstat(lock.fd(), &info) != 0)
        return failed(describeError(errno));
    const std::optional<QByteArray> kept = withoutListedLine(content, chosen, listed);
    if (!kept)
        return {FaceFileChange::Outcome::Changed, {}};

    observe(FaceFileMoment::AboutToReplace);
    if (const int error = replaceFile(QFile::encodeName(target), *kept, info.st_mode))
        return failed(describeError(error));
    return {FaceFileChange::Outcome::Done, {}};
}

void setFaceFileObserver(std::function<void(FaceFileMoment)> watcher)
{
    observer() = std::move(watcher);
}
