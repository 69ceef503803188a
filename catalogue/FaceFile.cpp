// SPDX-License-Identifier: MIT
#include "catalogue/FaceFile.h"

#include "catalogue/FaceFileLock.h"
#include "catalogue/FaceRemoval.h"
#include "catalogue/FailureReasons.h"
#include "text/CodePage932.h"
#include "text/Lines.h"

#include <algorithm>

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

using Reason = FaceFileRefusal::Reason;
using FileSystem::SystemError;

// Why the lock could not be taken, for the user.
std::u16string whyNotLocked(const FaceFileLock &lock, const FileSystem::Path &path)
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
bool readEnd(const FileSystem::File &file, std::uint64_t &size, std::string &end,
             SystemError &error)
{
    for (int attempt = 0; attempt < 3; ++attempt) {
        const std::size_t wanted = std::size_t(std::min<std::uint64_t>(size, 2));
        if (!FileSystem::readAt(file, size - wanted, wanted, end, error))
            return false;
        if (end.size() == wanted)
            return true;
        const std::optional<std::uint64_t> now = FileSystem::sizeOf(file, error);
        if (!now)
            return false;
        size = *now;
    }
    error = FileSystem::kTryAgain;
    return false;
}

// Whether the path still names the file that was read, as it was read: the same file, of the
// same size, last changed at the same moment. A program that takes no lock, such as an editor,
// may have written to it, or a link may point elsewhere now.
bool stillAsRead(const FileSystem::Path &path, const FileSystem::Fingerprint &read)
{
    return FileSystem::fingerprintOf(path) == read;
}

// How often a rewrite starts again when the file changed under it before it gives up.
constexpr int kRewriteAttempts = 3;

// How one rewrite of the file as it is now came out: done, refused, or to be started again from
// the file as it is then, which changed under it.
struct RewriteAttempt {
    bool startAgain;
    std::optional<FaceFileRefusal> refusal;
};

RewriteAttempt rewriteOnce(const FileSystem::Path &path, std::size_t index,
                           std::string_view listed)
{
    const auto refusedFor = [](Reason reason, std::u16string why = {}) {
        return RewriteAttempt{.startAgain = false,
                              .refusal = FaceFileRefusal{reason, std::move(why)}};
    };
    const RewriteAttempt startAgain{.startAgain = true, .refusal = std::nullopt};
    // A face file that is a link to one elsewhere is rewritten there, and stays a link.
    const FileSystem::Path target = FileSystem::linksFollowed(path);
    const FaceFileLock lock(target, FaceFileLock::Purpose::Rewrite, observeWaiting);
    if (lock.absent())
        return refusedFor(Reason::Changed);
    if (!lock.held())
        return refusedFor(Reason::NotRewritten, whyNotLocked(lock, target));

    std::string content;
    SystemError error = 0;
    if (!FileSystem::readAll(lock.file(), content, error))
        return refusedFor(Reason::NotRewritten, errorReason(error, target));
    const std::optional<FileSystem::Fingerprint> read = FileSystem::fingerprintOf(lock.file());
    // The file may have grown while it was read, or the link been pointed elsewhere while the
    // lock was awaited.
    if (!read || read->size != content.size() || !stillAsRead(path, *read))
        return startAgain;
    const std::optional<std::string> kept = withoutListedLine(content, index, listed);
    if (!kept)
        return refusedFor(Reason::Changed);

    observe(FaceFileMoment::AboutToReplace);
    FileSystem::Replacement replacement(target);
    if (const SystemError failed = replacement.fill(*kept, lock.file()))
        return refusedFor(Reason::NotRewritten, errorReason(failed, target));
    if (!stillAsRead(path, *read))
        return startAgain;
    if (const SystemError failed = replacement.putInPlace())
        return refusedFor(Reason::NotRewritten, errorReason(failed, target));
    return RewriteAttempt{.startAgain = false, .refusal = std::nullopt};
}

} // namespace

FaceFileReading FaceFileReading::of(std::string content, std::size_t most)
{
    FaceFileReading reading(State::Read, {});
    const std::vector<std::string_view> lines = splitLines(content, most);
    reading.faces_.reserve(lines.size());
    for (std::string_view line : lines)
        reading.faces_.push_back(CodePage932::decode(line));
    // Of a longer file, only the lines read are kept: a deletion window holds its listing while
    // it is open.
    if (lines.size() == most) {
        const std::string_view last = splitStoredLines(content, most).back();
        content.resize(std::size_t(last.data() + last.size() - content.data()));
        content.shrink_to_fit();
    }
    reading.stored_ = std::move(content);
    return reading;
}

FaceFileReading readFaceFile(const FileSystem::Path &path, std::size_t most)
{
    FileSystem::WholeFile whole = FileSystem::readWholeFile(path);
    switch (whole.outcome) {
    case FileSystem::WholeFile::Outcome::Read:
        return FaceFileReading::of(std::move(whole.content), most);
    case FileSystem::WholeFile::Outcome::Absent:
        return FaceFileReading::absent();
    case FileSystem::WholeFile::Outcome::NotAFile:
        return FaceFileReading::unreadable(notAFileReason());
    case FileSystem::WholeFile::Outcome::Failed:
        break;
    }
    return FaceFileReading::unreadable(errorReason(whole.error, path));
}

bool holdsLineBreak(std::u16string_view face)
{
    return face.find_first_of(u"\r\n") != std::u16string_view::npos;
}

std::optional<FaceFileRefusal> refusalOfFace(std::u16string_view face)
{
    if (face.empty())
        return FaceFileRefusal{Reason::EmptyFace, {}};
    if (holdsLineBreak(face))
        return FaceFileRefusal{Reason::LineBreak, {}};
    if (std::u16string unrepresentable = CodePage932::unrepresentable(face);
        !unrepresentable.empty())
        return FaceFileRefusal{Reason::Unrepresentable, std::move(unrepresentable)};
    return std::nullopt;
}

std::optional<FaceFileRefusal> appendFace(const FileSystem::Path &path, std::u16string_view face)
{
    if (std::optional<FaceFileRefusal> refusal = refusalOfFace(face))
        return refusal;
    const auto notAppended = [](std::u16string why) {
        return FaceFileRefusal{Reason::NotAppended, std::move(why)};
    };
    const FaceFileLock lock(path, FaceFileLock::Purpose::Append, observeWaiting);
    if (!lock.held())
        return notAppended(whyNotLocked(lock, path));

    observe(FaceFileMoment::AboutToAppend);
    // A file ended by hand without a line end would glue its last face to the new one. The size
    // is taken as late as can be, for a program that takes no lock may append at any time; one
    // that writes in the instant between here and the append still meets a line end or glues.
    SystemError error = 0;
    std::optional<std::uint64_t> size = FileSystem::sizeOf(lock.file(), error);
    std::string end;
    if (!size || !readEnd(lock.file(), *size, end, error))
        return notAppended(errorReason(error, path));
    const std::string line = lineAfter(end, CodePage932::encode(face));

    if (!FileSystem::appendAll(lock.file(), line, error) ||
        (error = FileSystem::syncToDisk(lock.file())) != 0) {
        FileSystem::cutBackTo(lock.file(), *size);
        return notAppended(errorReason(error, path));
    }
    if (lock.created())
        FileSystem::syncFolderOf(path);
    return std::nullopt;
}

std::optional<FaceFileRefusal> removeListedFace(const FileSystem::Path &path, std::size_t index,
                                                const FaceFileReading &listed)
{
    if (index >= listed.faces_.size())
        return FaceFileRefusal{Reason::NotListed, {}};
    const std::string_view line = splitLines(listed.stored_, index + 1)[index];
    for (int attempt = 0; attempt < kRewriteAttempts; ++attempt)
        if (RewriteAttempt rewrite = rewriteOnce(path, index, line); !rewrite.startAgain)
            return std::move(rewrite.refusal);
    return FaceFileRefusal{Reason::Changed, {}};
}

void setFaceFileObserver(std::function<void(FaceFileMoment)> watcher)
{
    observer() = std::move(watcher);
}
