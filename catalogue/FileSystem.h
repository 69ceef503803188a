// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

// What the face file needs of the operating system, in the face file's own words. Each system
// says how in a file of its own: FileSystem-posix.cpp, FileSystem-win32.cpp.
namespace FileSystem {

using Path = std::filesystem::path;

// What the system said when a call failed: errno, or Windows' GetLastError(); 0 for nothing.
using SystemError = int;
// The system's own word for "try again in a moment".
extern const SystemError kTryAgain;

// An open file, closed when it goes: a descriptor, or a Windows handle.
class File {
public:
    File() = default;
    explicit File(std::intptr_t handle) : handle_(handle) {}
    File(File &&other) noexcept;
    File &operator=(File &&other) noexcept;
    ~File();
    File(const File &) = delete;
    File &operator=(const File &) = delete;

    bool isOpen() const { return handle_ != kNone; }
    std::intptr_t handle() const { return handle_; }
    // Hands the file over to be closed by the caller.
    std::intptr_t release() { return std::exchange(handle_, kNone); }

private:
    static constexpr std::intptr_t kNone = -1;
    std::intptr_t handle_ = kNone;
};

// A whole file read at once, or why not.
struct WholeFile {
    enum class Outcome {
        Read,
        Absent,   // no file, or no folder, by that name
        NotAFile, // something else stands there: a folder, a FIFO, a device
        Failed,   // the error says why
    };
    Outcome outcome = Outcome::Absent;
    SystemError error = 0;
    std::string content;
};
// Opened so that nothing waits: a FIFO in the file's place is refused, not waited on.
WholeFile readWholeFile(const Path &path);

// Reads from the start to the end, also when the file grows meanwhile.
bool readAll(const File &file, std::string &content, SystemError &error);
// Reads up to `count` bytes at `offset`; fewer when the file is shorter by then.
bool readAt(const File &file, std::uint64_t offset, std::size_t count, std::string &bytes,
            SystemError &error);
std::optional<std::uint64_t> sizeOf(const File &file, SystemError &error);
// Writes all of the bytes at the file's end, wherever another program has put it meanwhile.
bool appendAll(const File &file, std::string_view bytes, SystemError &error);
// Cuts the file back to `size` bytes, taking off what a failed append left.
void cutBackTo(const File &file, std::uint64_t size);
// Sends the file's content to the disk. Returns 0 or the error.
SystemError syncToDisk(const File &file);
// A file just made must have its name on the disk too, where the system keeps it apart.
void syncFolderOf(const Path &file);

// What tells one state of a file from another: which file it is (device and file number, or
// volume and file index), its size, and when it last changed.
struct Fingerprint {
    std::uint64_t size = 0;
    std::array<std::uint64_t, 6> identityAndTimes{};
    bool operator==(const Fingerprint &) const = default;
};
std::optional<Fingerprint> fingerprintOf(const File &file);
// Of the file the path names now, links followed; nothing when there is none.
std::optional<Fingerprint> fingerprintOf(const Path &path);

// The path with its links followed, so that a face file that is a link is changed where it
// points; the path itself when it names nothing.
Path linksFollowed(const Path &path);

// A new file written beside the one it is to replace, in the same folder, and put in its place
// in one step, so that the path always names either the old file or the new one. Until it is
// in place, letting it go leaves nothing behind.
class Replacement {
public:
    explicit Replacement(const Path &target);
    ~Replacement();
    Replacement(const Replacement &) = delete;
    Replacement &operator=(const Replacement &) = delete;

    // Fills the new file with the bytes, gives it what the old one had of owner and access,
    // and sends it to the disk. Returns 0, or the error; then it cannot be put in place.
    SystemError fill(std::string_view bytes, const File &old);
    // Puts the new file in place of the old one for good. Returns 0, or the error with the old
    // file in place.
    SystemError putInPlace();

private:
    File folder_; // where the system names files relative to an open folder
    File file_;
    Path name_;   // the new file's
    Path target_; // the old file's
    SystemError error_ = 0;
    bool placed_ = false;
};

// The calls that make a change last, which a test may watch in their order, or make fail.
enum class DiskCall {
    SyncFile,
    SyncFolder,
    Rename, // the new file put in place of the old
};
// Runs before each such call; a result other than 0 makes the call fail with that error. An
// empty hook lets every call through.
void setDiskCallHook(std::function<SystemError(DiskCall)> hook);

} // namespace FileSystem
