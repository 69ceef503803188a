// SPDX-License-Identifier: MIT
// The face file where only a POSIX system can arrange the situation: FIFOs and links, another
// program's flock, owners, modes and read-only folders, the system's own error numbers, and a
// copy stopped while it waits.
#include "FaceFileTest.h"

#include "catalogue/FailureReasons.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <memory>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A folder nothing can be created in or removed from, for as long as this lives. Permissions do
// not stop root, who runs the tests in CI, so root sets the file system's immutable flag.
class ReadOnlyFolder {
public:
    explicit ReadOnlyFolder(const std::filesystem::path &path) : path_(path)
    {
        active_ = geteuid() == 0 ? setImmutable(true) : ::chmod(path_.c_str(), 0555) == 0;
    }
    ~ReadOnlyFolder()
    {
        if (active_ && !(geteuid() == 0 ? setImmutable(false) : ::chmod(path_.c_str(), 0755) == 0))
            std::fprintf(stderr, "could not make %s writable again\n", path_.c_str());
    }
    ReadOnlyFolder(const ReadOnlyFolder &) = delete;
    ReadOnlyFolder &operator=(const ReadOnlyFolder &) = delete;

    bool active() const { return active_; }

private:
    bool setImmutable(bool on) const
    {
        const int fd = ::open(path_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0)
            return false;
        int flags = 0;
        bool done = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
        if (done) {
            flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
            done = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
        }
        ::close(fd);
        return done;
    }

    std::filesystem::path path_;
    bool active_ = false;
};

// Overwrites one byte in place and puts the file's access and modification times back, as
// `rsync --inplace --times` does; only the change time, which no program can set, moves on.
// It moves by the ticks of the system's file clock, so the write is repeated until it has.
bool editInPlaceKeepingTheTimes(const std::filesystem::path &path, off_t at, char byte)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
    struct stat before {};
    struct stat now {};
    bool done = fd >= 0 && ::fstat(fd, &before) == 0;
    const timespec times[2] = {before.st_atim, before.st_mtim};
    do {
        done = done && ::pwrite(fd, &byte, 1, at) == 1 && ::futimens(fd, times) == 0 &&
               ::fstat(fd, &now) == 0;
    } while (done && now.st_ctim.tv_sec == before.st_ctim.tv_sec &&
             now.st_ctim.tv_nsec == before.st_ctim.tv_nsec);
    if (fd >= 0)
        ::close(fd);
    return done;
}

// Holds the file's lock as another program would, until told to let go.
int holdLockAsAnotherProgram(const std::vector<std::string> &arguments)
{
    const int fd = ::open(pathOf(arguments.at(1)).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0 || ::flock(fd, LOCK_EX) != 0)
        return 1;
    say("holding");
    awaitGoOn();
    say("done");
    return 0;
}
[[maybe_unused]] const bool kLockHeld = addChildScenario("lock-held", holdLockAsAnotherProgram);

// The face file's path after arranging what only this system has there, or one of the
// situations every system has.
std::filesystem::path arrangedPath(const FaceFileTest &test, std::string_view situation)
{
    const std::filesystem::path &path = test.path;
    bool arranged = true;
    if (situation == "dangling link")
        arranged = ::symlink(test.folder.filePath("gone/x.dat").c_str(), path.c_str()) == 0;
    else if (situation == "fifo")
        arranged = ::mkfifo(path.c_str(), 0600) == 0;
    else if (situation == "file for folder")
        return writeBytes(test.folder.filePath("Documents"), "a\r\n")
                   ? test.folder.filePath("Documents/顔ファイル.dat")
                   : std::filesystem::path();
    else
        return test.pathIn(situation);
    return arranged ? path : std::filesystem::path();
}

} // namespace

TEST_CASE_FIXTURE(FaceFileTest, "readingTellsAbsentFromUnreadable")
{
    const struct {
        const char *name;
        const char *situation;
        std::u16string found;
    } rows[] = {
        {"dangling link", "dangling link", u"<absent>"},
        {"a FIFO in its place", "fifo", u"<unreadable: " + kNotAFile + u">"},
        {"a file in the folder's place", "file for folder",
         u"<unreadable: フォルダーの名前でファイルが置かれています（ENOTDIR）>"},
    };
    for (const auto &row : rows)
        SUBCASE(row.name)
        {
            const std::filesystem::path arranged = arrangedPath(*this, row.situation);
            REQUIRE(!arranged.empty());
            CHECK(facesIn(arranged) == std::vector{row.found});
        }
}

TEST_CASE_FIXTURE(FaceFileTest, "failedAppendsSayWhyAndChangeNothing")
{
    const struct {
        const char *name;
        const char *situation;
        std::u16string reason;
        const char *left; // the names in the folder afterwards
    } rows[] = {
        {"absent folder", "absent folder", u"フォルダーがありません（ENOENT）", ""},
        {"a FIFO in its place", "fifo", kNotAFile, "顔ファイル.dat"},
        {"a name too long", "name too long", u"ファイルの名前かパスが長すぎます（ENAMETOOLONG）",
         ""},
    };
    for (const auto &row : rows)
        SUBCASE(row.name)
        {
            const std::filesystem::path arranged = arrangedPath(*this, row.situation);
            REQUIRE(!arranged.empty());
            CHECK(appendFace(arranged, u"(^^)") ==
                  Refusal(FaceFileRefusal{Reason::NotAppended, row.reason}));
            CHECK(fileNamesIn(folder.path()) == row.left);
        }
}

TEST_CASE_FIXTURE(FaceFileTest, "failedRewriteLeavesTheFileAsItWas")
{
    REQUIRE(writeBytes(path, "a\r\nb\r\n"));
    ReadOnlyFolder readOnly(folder.path());
    if (!readOnly.active()) {
        MESSAGE("this file system cannot make a folder read-only for root");
        return;
    }
    // Root is stopped by the folder's immutable flag, anyone else by its mode.
    CHECK(removeListedFace(path, 0, listingOf({"a", "b"})) ==
          Refusal(FaceFileRefusal{Reason::NotRewritten,
                                  kNotAllowed + (geteuid() == 0 ? u"（EPERM）" : u"（EACCES）")}));
    CHECK(readBytes(path) == "a\r\nb\r\n");
    CHECK(fileNamesIn(folder.path()) == "顔ファイル.dat");
}

TEST_CASE_FIXTURE(FaceFileTest, "rewriteKeepsALinkAndThePermissions")
{
    const std::filesystem::path real = folder.filePath("elsewhere.dat");
    REQUIRE(writeBytes(real, "a\r\nb\r\n"));
    REQUIRE(::chmod(real.c_str(), 0640) == 0);
    REQUIRE(::symlink(real.c_str(), path.c_str()) == 0);
    CHECK(removeListedFace(path, 0, listingOf({"a", "b"})) == kDone);
    CHECK(std::filesystem::read_symlink(path) == real);
    CHECK(readBytes(real) == "b\r\n");
    struct stat after {};
    REQUIRE(::stat(real.c_str(), &after) == 0);
    CHECK((after.st_mode & 0777) == 0640);
    // Appending through the link reaches the same file.
    CHECK(appendFace(path, u"c") == kDone);
    CHECK(readBytes(real) == "b\r\nc\r\n");
}

TEST_CASE_FIXTURE(FaceFileTest, "rewriteKeepsOwnerGroupAndMode")
{
    const struct {
        const char *name;
        uid_t owner;
        gid_t group;
        mode_t mode;
    } rows[] = {
        {"another user's file", 65534, 65534, 0644},
        {"another group's file", 0, 65534, 0660},
        {"read-only, which root may change", 0, 0, 0444},
    };
    if (geteuid() != 0) {
        MESSAGE("only root can give a file to another user");
        return;
    }
    for (const auto &row : rows)
        SUBCASE(row.name)
        {
            REQUIRE(writeBytes(path, "a\r\nb\r\n"));
            REQUIRE(::chown(path.c_str(), row.owner, row.group) == 0);
            REQUIRE(::chmod(path.c_str(), row.mode) == 0);
            CHECK(removeListedFace(path, 0, listingOf({"a", "b"})) == kDone);
            CHECK(readBytes(path) == "b\r\n");
            struct stat after {};
            REQUIRE(::stat(path.c_str(), &after) == 0);
            CHECK(after.st_uid == row.owner);
            CHECK(after.st_gid == row.group);
            CHECK((after.st_mode & 07777) == row.mode);
        }
}

// Near the system's limit of 4,095 bytes a path has no room for a longer one beside it.
TEST_CASE_FIXTURE(FaceFileTest, "rewriteNearThePathLimit")
{
    const std::string name = "/顔ファイル.dat";
    std::string deep = folder.path().native();
    for (int left = 4090 - int(name.size()) - int(deep.size()); left > 0;) {
        // A last step of one byte would leave no room for a name after its slash.
        const int step = std::min(200, left == 201 ? 150 : left);
        deep += '/' + std::string(std::size_t(step - 1), 'x');
        left -= step;
    }
    REQUIRE(std::filesystem::create_directories(deep));
    const std::filesystem::path file = deep + name;
    REQUIRE(file.native().size() == 4090);
    CHECK(appendFace(file, u"a") == kDone);
    CHECK(appendFace(file, u"b") == kDone);
    CHECK(removeListedFace(file, 0, listingOf({"a", "b"})) == kDone);
    CHECK(readBytes(file) == "b\r\n");
    CHECK(fileNamesIn(deep) == "顔ファイル.dat");
}

// A tool that edits the file in place to the same size and puts its modification time back
// (`rsync --inplace --times`) during a rewrite: only the change time tells.
TEST_CASE_FIXTURE(FaceFileTest, "unlockedAppendDuringARewriteIsKept")
{
    checkUnlockedWrite(*this, {"same size in place, modification time put back",
                               [](const std::filesystem::path &file, int) {
                                   return editInPlaceKeepingTheTimes(file, 0, 'A');
                               },
                               1, kDone, "A\r\nc\r\n"});
}

// The face file is a link, pointed elsewhere while the rewrite waits for another copy: the
// file it points to now is rewritten, and the one it pointed to before is left alone.
TEST_CASE_FIXTURE(FaceFileTest, "rewriteFollowsALinkPointedElsewhereMeanwhile")
{
    const std::filesystem::path before = folder.filePath("before.dat");
    const std::filesystem::path now = folder.filePath("now.dat");
    REQUIRE(writeBytes(before, "a\r\nb\r\n"));
    REQUIRE(writeBytes(now, "a\r\nb\r\n"));
    REQUIRE(::symlink(before.c_str(), path.c_str()) == 0);
    ChildProcess other({"append-held", utf8Of(before), "new"});
    REQUIRE(other.said("holding"));
    setFaceFileObserver([&](FaceFileMoment moment) {
        if (moment != FaceFileMoment::WaitingForLock)
            return;
        CHECK(::unlink(path.c_str()) == 0);
        CHECK(::symlink(now.c_str(), path.c_str()) == 0);
        other.tellToGoOn();
    });
    CHECK(removeListedFace(path, 0, listingOf({"a", "b"})) == kDone);
    CHECK(other.ending() == "done");
    CHECK(readBytes(before) == "a\r\nb\r\nnew\r\n");
    CHECK(readBytes(now) == "b\r\n");
    CHECK(std::filesystem::read_symlink(path) == now);
}

// A file just made, and a file renamed in place, need their folder on the disk too.
TEST_CASE_FIXTURE(FaceFileTest, "changesReachTheDiskInOrder")
{
    SUBCASE("registering the first face, which makes the file")
    {
        DiskCallRecorder recorder;
        CHECK(change("append") == kDone);
        CHECK(recorder.calls == "sync file, sync folder");
    }
    SUBCASE("deleting")
    {
        REQUIRE(writeBytes(path, "a\r\nb\r\n"));
        DiskCallRecorder recorder;
        CHECK(change("remove") == kDone);
        CHECK(recorder.calls == "sync file, rename, sync folder");
    }
}

TEST_CASE_FIXTURE(FaceFileTest, "failedDiskCallsChangeNothing")
{
    const std::u16string diskFailed = u"ディスクの読み書きに失敗しました（EIO）";
    const FailedDiskCall rows[] = {
        {"rename refused, as in a shared folder", "remove", "rename", EPERM,
         kNotAllowed + u"（EPERM）"},
        {"a folder put in the file's place before the rename", "remove", "rename", EISDIR,
         kNotAFile + u"（EISDIR）"},
        {"the new file does not reach the disk", "remove", "sync file", EIO, diskFailed},
        {"the appended face does not reach the disk", "append", "sync file", EIO, diskFailed},
    };
    for (const FailedDiskCall &row : rows)
        SUBCASE(row.name)
        {
            checkFailedDiskCall(*this, row);
        }
}

TEST_CASE_FIXTURE(FaceFileTest, "somethingHoldingOnIsReported")
{
    checkSomethingHoldingOn(
        *this,
        {"another program, as `flock FILE sleep 600`", "lock-held",
         u"ほかのプログラムが顔ファイルを使っています。少し待ってから、もう一度お試しください",
         "a\r\n"});
}

TEST_CASE_FIXTURE(FaceFileTest, "reasonsNameTheError")
{
    const struct {
        const char *name;
        int error;
        std::u16string reason;
    } rows[] = {
        {"busy", EBUSY, u"デバイスが使用中です（EBUSY）"},
        {"no space, where there is", ENOSPC, u"ディスクに空きがありません（ENOSPC）"},
        {"without a text of its own", EXDEV, u"予期しないエラーが起きました（EXDEV）"},
        {"without a name", 4000, u"予期しないエラーが起きました（エラー番号 4000）"},
    };
    for (const auto &row : rows)
        SUBCASE(row.name)
        {
            CHECK(errorReason(row.error, path) == row.reason);
        }
}
