// SPDX-License-Identifier: MIT
#include "catalogue/FaceFile.h"

#include "catalogue/FaceFileLock.h"
#include "catalogue/FaceRemoval.h"
#include "catalogue/FailureReasons.h"
#include "catalogue/FileCalls.h"
#include "catalogue/FileReplacement.h"
#include "text/CodePage932.h"
#include "text/Lines.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <cerrno>
#include <optional>

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

using Reason = FaceFileRefusal::Reason;

// Why the lock could not be taken, for the user.
QString whyNotLocked(const FaceFileLock &lock, const QString &path)
{
    if (lock.busy())
        return busyReason(lock.heldByAnotherCopy());
    if (lock.notRegular())
        return notAFileReason();
    return errorReason(lock.error(), path);
}

// Reads the last two bytes of a file of `size` bytes, or all of a shorter one. A program that
// takes no lock may cut the file short meanwhile: then the end it has now is read, and `size`
// follows it.
bool readEnd(int fd, off_t &size, QByteArray &end)
{
    for (int attempt = 0; attempt < 3; ++attempt) {
        const qsizetype wanted = qsizetype(qMin<off_t>(size, 2));
        end.resize(wanted);
        ssize_t got = 0;
        while ((got = ::pread(fd, end.data(), size_t(wanted), size - off_t(wanted))) < 0 &&
               errno == EINTR) {
        }
        if (got == wanted)
            return true;
        struct stat info {};
        if (got < 0 || ::fstat(fd, &info) != 0)
            return false;
        size = info.st_size;
    }
    errno = EAGAIN;
    return false;
}

// Takes a failed append back off the end, so that no half face stays behind.
void cutBackTo(int fd, off_t size)
{
    while (::ftruncate(fd, size) != 0 && errno == EINTR) {
    }
}

// A file just made must have its name on the disk too, or a power cut could take away the
// first face after it was reported saved.
void syncFolderOf(const QString &file)
{
    const QString canonical = QFileInfo(file).canonicalFilePath();
    const QFileInfo real(canonical.isEmpty() ? file : canonical);
    syncFolder(AT_FDCWD, QFile::encodeName(real.absolutePath()).constData());
}

// Whether the path still names the file that was read, as it was read: the same file, of the
// same size, last changed at the same moment. A program that takes no lock, such as an editor,
// may have written to it, or a link may point elsewhere now.
bool stillAsRead(const QString &path, const struct stat &read)
{
    struct stat now {};
    return ::stat(QFile::encodeName(path).constData(), &now) == 0 && now.st_dev == read.st_dev &&
           now.st_ino == read.st_ino && now.st_size == read.st_size &&
           now.st_mtim.tv_sec == read.st_mtim.tv_sec &&
           now.st_mtim.tv_nsec == read.st_mtim.tv_nsec &&
           now.st_ctim.tv_sec == read.st_ctim.tv_sec && now.st_ctim.tv_nsec == read.st_ctim.tv_nsec;
}

// How often a rewrite starts again when the file changed under it before it gives up.
constexpr int kRewriteAttempts = 3;

// How one rewrite of the file as it is now came out: done, refused, or to be started again from
// the file as it is then, which changed under it.
struct RewriteAttempt {
    bool startAgain;
    std::optional<FaceFileRefusal> refusal;
};

RewriteAttempt rewriteOnce(const QString &path, qsizetype index, QByteArrayView listed)
{
    const auto refusedFor = [](Reason reason, const QString &why = {}) {
        return RewriteAttempt{.startAgain = false, .refusal = FaceFileRefusal{reason, why}};
    };
    // A face file that is a link to one elsewhere is rewritten there, and stays a link.
    const QString canonical = QFileInfo(path).canonicalFilePath();
    const QString target = canonical.isEmpty() ? path : canonical;
    const FaceFileLock lock(target, FaceFileLock::Purpose::Rewrite, observeWaiting);
    if (lock.absent())
        return refusedFor(Reason::Changed);
    if (!lock.held())
        return refusedFor(Reason::NotRewritten, whyNotLocked(lock, target));

    QByteArray content;
    struct stat read {};
    if (!readAll(lock.fd(), content) || ::fstat(lock.fd(), &read) != 0)
        return refusedFor(Reason::NotRewritten, errorReason(errno, target));
    // The link may have been pointed elsewhere while the lock was awaited.
    if (read.st_size != content.size() || !stillAsRead(path, read))
        return RewriteAttempt{.startAgain = true, .refusal = std::nullopt};
    const std::optional<QByteArray> kept = withoutListedLine(content, index, listed);
    if (!kept)
        return refusedFor(Reason::Changed);

    observe(FaceFileMoment::AboutToReplace);
    FileReplacement replacement(target);
    if (const int error = replacement.fill(*kept, read))
        return refusedFor(Reason::NotRewritten, errorReason(error, target));
    if (!stillAsRead(path, read))
        return RewriteAttempt{.startAgain = true, .refusal = std::nullopt};
    if (const int error = replacement.putInPlace())
        return refusedFor(Reason::NotRewritten, errorReason(error, target));
    return RewriteAttempt{.startAgain = false, .refusal = std::nullopt};
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

FaceFileReading readFaceFile(const QString &path, qsizetype most)
{
    FaceFileReading reading;
    // Non-blocking, so that a FIFO in the file's place is refused instead of waited on.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        if (errno != ENOENT) {
            reading.state = FaceFileReading::State::Unreadable;
            reading.reason = errorReason(errno, path);
        }
        return reading;
    }
    struct stat info {};
    QByteArray content;
    if (::fstat(fd, &info) == 0 && !S_ISREG(info.st_mode)) {
        reading.state = FaceFileReading::State::Unreadable;
        reading.reason = notAFileReason();
    } else if (!readAll(fd, content)) {
        reading.state = FaceFileReading::State::Unreadable;
        reading.reason = errorReason(errno, path);
    } else {
        reading = readFaceContent(std::move(content), most);
    }
    ::close(fd);
    return reading;
}

FaceFileReading readFaceContent(QByteArray content, qsizetype most)
{
    FaceFileReading reading;
    reading.state = FaceFileReading::State::Read;
    const QList<QByteArrayView> lines = splitLines(content, most);
    reading.faces.reserve(lines.size());
    for (QByteArrayView line : lines)
        reading.faces.append(CodePage932::decode(line));
    // Of a longer file, only the lines read are kept: a deletion window holds its listing while
    // it is open.
    if (lines.size() == most) {
        const QByteArrayView last = splitStoredLines(content, most).last();
        content.truncate(last.data() + last.size() - content.constData());
        content.squeeze();
    }
    reading.stored_ = std::move(content);
    return reading;
}

bool holdsLineBreak(const QString &face)
{
    return face.contains(u'\r') || face.contains(u'\n');
}

std::optional<FaceFileRefusal> refusalOfFace(const QString &face)
{
    if (face.isEmpty())
        return FaceFileRefusal{Reason::EmptyFace, {}};
    if (holdsLineBreak(face))
        return FaceFileRefusal{Reason::LineBreak, {}};
    if (const QString unrepresentable = CodePage932::unrepresentable(face);
        !unrepresentable.isEmpty())
        return FaceFileRefusal{Reason::Unrepresentable, unrepresentable};
    return std::nullopt;
}

std::optional<FaceFileRefusal> appendFace(const QString &path, const QString &face)
{
    if (const std::optional<FaceFileRefusal> refusal = refusalOfFace(face))
        return refusal;
    const auto notAppended = [](const QString &why) {
        return FaceFileRefusal{Reason::NotAppended, why};
    };
    const FaceFileLock lock(path, FaceFileLock::Purpose::Append, observeWaiting);
    if (!lock.held())
        return notAppended(whyNotLocked(lock, path));

    observe(FaceFileMoment::AboutToAppend);
    // A file ended by hand without a line end would glue its last face to the new one. The size
    // is taken as late as can be, for a program that takes no lock may append at any time; one
    // that writes in the instant between here and the append still meets a line end or glues.
    struct stat info {};
    if (::fstat(lock.fd(), &info) != 0)
        return notAppended(errorReason(errno, path));
    off_t size = info.st_size;
    QByteArray end;
    if (!readEnd(lock.fd(), size, end))
        return notAppended(errorReason(errno, path));
    const QByteArray line = lineAfter(end, CodePage932::encode(face));

    if (!writeAll(lock.fd(), line) || syncToDisk(lock.fd()) != 0) {
        const int error = errno;
        cutBackTo(lock.fd(), size);
        return notAppended(errorReason(error, path));
    }
    if (lock.created())
        syncFolderOf(path);
    return std::nullopt;
}

std::optional<FaceFileRefusal> removeListedFace(const QString &path, qsizetype index,
                                                const FaceFileReading &listed)
{
    if (index < 0 || index >= listed.faces.size())
        return FaceFileRefusal{Reason::NotListed, {}};
    const QByteArrayView line = splitLines(listed.stored_, index + 1)[index];
    for (int attempt = 0; attempt < kRewriteAttempts; ++attempt)
        if (const RewriteAttempt rewrite = rewriteOnce(path, index, line); !rewrite.startAgain)
            return rewrite.refusal;
    return FaceFileRefusal{Reason::Changed, {}};
}

void setFaceFileObserver(std::function<void(FaceFileMoment)> watcher)
{
    observer() = std::move(watcher);
}
