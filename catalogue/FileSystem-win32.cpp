// SPDX-License-Identifier: MIT
// The face file's needs met by Windows' own calls. Files are opened sharing reading, writing
// and deleting with everyone, so that an editor, an indexer or a virus scanner that reads the
// face file never makes a change fail, and the program never blocks them; paths are given in
// the long form (\\?\), which has no 260-character limit.
#include "catalogue/FileSystem.h"

#include "catalogue/LongPaths.h"

#include <chrono>
#include <random>
#include <thread>
#include <utility>

#include <windows.h>

namespace FileSystem {

const SystemError kTryAgain = ERROR_RETRY;

namespace {

std::function<SystemError(DiskCall)> &diskCallHook()
{
    static std::function<SystemError(DiskCall)> hook;
    return hook;
}

// Runs the call unless the hook makes it fail; returns 0 or the error.
template <class Call> SystemError throughHook(DiskCall kind, Call call)
{
    if (diskCallHook())
        if (const SystemError error = diskCallHook()(kind))
            return error;
    return call() ? 0 : SystemError(GetLastError());
}

HANDLE handleOf(const File &file)
{
    return reinterpret_cast<HANDLE>(file.handle());
}

constexpr DWORD kShareWithEveryone = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

OVERLAPPED at(std::uint64_t offset)
{
    OVERLAPPED where{};
    where.Offset = DWORD(offset & 0xFFFFFFFFu);
    where.OffsetHigh = DWORD(offset >> 32);
    return where;
}

// Reads at `offset` without moving the file's position, as pread does.
bool readSome(HANDLE file, std::uint64_t offset, char *into, DWORD count, DWORD &got)
{
    OVERLAPPED where = at(offset);
    if (ReadFile(file, into, count, &got, &where))
        return true;
    if (GetLastError() == ERROR_HANDLE_EOF) {
        got = 0;
        return true;
    }
    return false;
}

std::uint64_t fileTime(const FILETIME &time)
{
    return (std::uint64_t(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

std::optional<Fingerprint> fingerprintOfHandle(HANDLE file)
{
    BY_HANDLE_FILE_INFORMATION info{};
    FILE_BASIC_INFO basic{};
    if (!GetFileInformationByHandle(file, &info) ||
        !GetFileInformationByHandleEx(file, FileBasicInfo, &basic, sizeof basic))
        return std::nullopt;
    // The change time, which no program can set back, tells of an edit whose writer put the
    // last write time back.
    return Fingerprint{
        (std::uint64_t(info.nFileSizeHigh) << 32) | info.nFileSizeLow,
        {info.dwVolumeSerialNumber, (std::uint64_t(info.nFileIndexHigh) << 32) | info.nFileIndexLow,
         fileTime(info.ftLastWriteTime), std::uint64_t(basic.ChangeTime.QuadPart), 0, 0}};
}

// Opens whatever the path names, a folder too, only to ask about it.
File openToAsk(const Path &path)
{
    return File(reinterpret_cast<std::intptr_t>(
        CreateFileW(longPath(path).c_str(), FILE_READ_ATTRIBUTES, kShareWithEveryone, nullptr,
                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr)));
}

} // namespace

File::File(File &&other) noexcept : handle_(std::exchange(other.handle_, kNone)) {}

File &File::operator=(File &&other) noexcept
{
    if (this != &other) {
        File gone(std::move(*this));
        handle_ = std::exchange(other.handle_, kNone);
    }
    return *this;
}

File::~File()
{
    // Closing lets go of the locks taken through the file too.
    if (isOpen())
        CloseHandle(reinterpret_cast<HANDLE>(handle_));
}

WholeFile readWholeFile(const Path &path)
{
    WholeFile whole;
    const File file(reinterpret_cast<std::intptr_t>(
        CreateFileW(longPath(path).c_str(), GENERIC_READ, kShareWithEveryone, nullptr,
                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)));
    if (!file.isOpen()) {
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
            whole.outcome = WholeFile::Outcome::Absent;
        else if (namesAFolder(path))
            whole.outcome = WholeFile::Outcome::NotAFile;
        else
            whole = WholeFile{WholeFile::Outcome::Failed, SystemError(error), {}};
        return whole;
    }
    if (GetFileType(handleOf(file)) != FILE_TYPE_DISK)
        whole.outcome = WholeFile::Outcome::NotAFile;
    else if (!readAll(file, whole.content, whole.error))
        whole.outcome = WholeFile::Outcome::Failed;
    else
        whole.outcome = WholeFile::Outcome::Read;
    return whole;
}

bool readAll(const File &file, std::string &content, SystemError &error)
{
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(handleOf(file), &size)) {
        error = SystemError(GetLastError());
        return false;
    }
    // The file may grow while it is read: the buffer grows with it.
    std::string bytes(std::size_t(size.QuadPart) + 4096, '\0');
    std::size_t used = 0;
    for (;;) {
        if (used == bytes.size())
            bytes.resize(bytes.size() * 2);
        DWORD got = 0;
        const DWORD wanted = DWORD(std::min<std::size_t>(bytes.size() - used, 1u << 30));
        if (!readSome(handleOf(file), used, bytes.data() + used, wanted, got)) {
            error = SystemError(GetLastError());
            return false;
        }
        if (got == 0)
            break;
        used += got;
    }
    bytes.resize(used);
    content = std::move(bytes);
    return true;
}

bool readAt(const File &file, std::uint64_t offset, std::size_t count, std::string &bytes,
            SystemError &error)
{
    bytes.assign(count, '\0');
    DWORD got = 0;
    if (!readSome(handleOf(file), offset, bytes.data(), DWORD(count), got)) {
        error = SystemError(GetLastError());
        return false;
    }
    bytes.resize(got);
    return true;
}

std::optional<std::uint64_t> sizeOf(const File &file, SystemError &error)
{
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(handleOf(file), &size)) {
        error = SystemError(GetLastError());
        return std::nullopt;
    }
    return std::uint64_t(size.QuadPart);
}

bool appendAll(const File &file, std::string_view bytes, SystemError &error)
{
    while (!bytes.empty()) {
        // An offset of all ones writes at the file's end as it is at that moment.
        OVERLAPPED atTheEnd{};
        atTheEnd.Offset = 0xFFFFFFFFu;
        atTheEnd.OffsetHigh = 0xFFFFFFFFu;
        DWORD written = 0;
        const DWORD count = DWORD(std::min<std::size_t>(bytes.size(), 1u << 30));
        if (!WriteFile(handleOf(file), bytes.data(), count, &written, &atTheEnd) || written == 0) {
            error =
                written == 0 && GetLastError() == 0 ? ERROR_DISK_FULL : SystemError(GetLastError());
            return false;
        }
        bytes.remove_prefix(written);
    }
    return true;
}

void cutBackTo(const File &file, std::uint64_t size)
{
    FILE_END_OF_FILE_INFO end{};
    end.EndOfFile.QuadPart = LONGLONG(size);
    SetFileInformationByHandle(handleOf(file), FileEndOfFileInfo, &end, sizeof end);
}

SystemError syncToDisk(const File &file)
{
    return throughHook(DiskCall::SyncFile, [&file] { return FlushFileBuffers(handleOf(file)); });
}

// NTFS keeps a file's name with the file system's own journal; a folder cannot be flushed.
void syncFolderOf(const Path &) {}

std::optional<Fingerprint> fingerprintOf(const File &file)
{
    return fingerprintOfHandle(handleOf(file));
}

std::optional<Fingerprint> fingerprintOf(const Path &path)
{
    const File file = openToAsk(path);
    if (!file.isOpen())
        return std::nullopt;
    return fingerprintOfHandle(handleOf(file));
}

Path linksFollowed(const Path &path)
{
    const File file = openToAsk(path);
    if (!file.isOpen())
        return path;
    std::wstring final(MAX_PATH, L'\0');
    DWORD length = GetFinalPathNameByHandleW(handleOf(file), final.data(), DWORD(final.size()),
                                             FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    if (length >= final.size()) {
        final.resize(length);
        length = GetFinalPathNameByHandleW(handleOf(file), final.data(), DWORD(final.size()),
                                           FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    }
    if (length == 0 || length >= final.size())
        return path;
    final.resize(length);
    return Path(final);
}

namespace {

// Opens a new file of a name no other file has in the folder, named after the old one.
File createBeside(const Path &target, Path &name, SystemError &error)
{
    static constexpr wchar_t kLetters[] =
        L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    thread_local std::mt19937 random{std::random_device{}()};
    std::uniform_int_distribution<std::size_t> letter(0, std::size(kLetters) - 2);
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::wstring suffix = L".";
        for (int i = 0; i < 6; ++i)
            suffix += kLetters[letter(random)];
        name = target;
        name += suffix;
        File file(reinterpret_cast<std::intptr_t>(
            CreateFileW(longPath(name).c_str(), GENERIC_READ | GENERIC_WRITE,
                        FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, CREATE_NEW,
                        FILE_ATTRIBUTE_NORMAL, nullptr)));
        if (file.isOpen() || GetLastError() != ERROR_FILE_EXISTS) {
            error = file.isOpen() ? 0 : SystemError(GetLastError());
            return file;
        }
    }
    error = ERROR_FILE_EXISTS;
    return File();
}

bool heldOpenElsewhere(DWORD error)
{
    return error == ERROR_SHARING_VIOLATION || error == ERROR_ACCESS_DENIED ||
           error == ERROR_LOCK_VIOLATION;
}

// Puts the new file in place of the old. A rename over a file that any program holds open
// fails on Windows, and this program's own turn holds it; but a file held open sharing its
// deletion may be renamed. So the old file steps aside first, the new one takes its name, and
// the old one goes once the last program holding it lets go. Should the new one fail to take
// the name, the old one has it back.
bool replace(const Path &target, const Path &replacement)
{
    const std::wstring targetName = longPath(target);
    const std::wstring aside = longPath(replacement) + L".old";
    if (!MoveFileExW(targetName.c_str(), aside.c_str(), MOVEFILE_WRITE_THROUGH))
        return false;
    if (!MoveFileExW(longPath(replacement).c_str(), targetName.c_str(), MOVEFILE_WRITE_THROUGH)) {
        const DWORD error = GetLastError();
        MoveFileExW(aside.c_str(), targetName.c_str(), MOVEFILE_WRITE_THROUGH);
        SetLastError(error);
        return false;
    }
    DeleteFileW(aside.c_str());
    return true;
}

} // namespace

Replacement::Replacement(const Path &target) : target_(target)
{
    Path name;
    file_ = createBeside(target, name, error_);
    if (file_.isOpen())
        name_ = name;
}

Replacement::~Replacement()
{
    file_ = File();
    if (!name_.empty() && !placed_)
        DeleteFileW(longPath(name_).c_str());
}

SystemError Replacement::fill(std::string_view bytes, const File &)
{
    if (error_ != 0)
        return error_;
    if (!appendAll(file_, bytes, error_))
        return error_;
    if ((error_ = syncToDisk(file_)) != 0)
        return error_;
    // Windows replaces only a file that nobody holds without sharing.
    file_ = File();
    return 0;
}

SystemError Replacement::putInPlace()
{
    if (error_ != 0)
        return error_;
    // Another program holding the old file without sharing its deletion keeps it in place for
    // a moment, as a virus scanner does; after the same patience as with another copy, the
    // user is told.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    for (;;) {
        const SystemError error =
            throughHook(DiskCall::Rename, [this] { return replace(target_, name_); });
        if (error == 0)
            break;
        if (!heldOpenElsewhere(DWORD(error)) || std::chrono::steady_clock::now() >= deadline)
            return error_ = error;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    placed_ = true;
    return 0;
}

void setDiskCallHook(std::function<SystemError(DiskCall)> hook)
{
    diskCallHook() = std::move(hook);
}

} // namespace FileSystem
