// SPDX-License-Identifier: MIT
// A deletion killed at any moment leaves the face file either as it was or as it was meant to
// become: never half written, never empty, never gone. The child says when each rewrite
// begins, so the test knows which deletion a kill cut short, and it can be told to stop at a
// given moment of a given rewrite, so that kills land in the middle of the work by construction.
#define DOCTEST_CONFIG_IMPLEMENT
#include "catalogue/FaceFile.h"
#include "catalogue/FileSystem.h"
#include "support/ChildProcess.h"
#include "support/Files.h"
#include "support/Text.h"
#include "text/Lines.h"

#include <doctest.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <string>
#include <vector>

#include <sys/resource.h>
#include <unistd.h>

namespace {

// Far more faces than the child deletes before its kill.
constexpr int kLines = 5000;

// Where the child stops for its kill, within the rewrite it is told.
enum class Hold {
    Nowhere,      // the test kills it the moment it says the rewrite began
    HalfWritten,  // the file size limit kills it halfway through writing the new file
    BeforeRename, // the new file is written and on the disk, the old one still in place
    AfterRename,  // the new file is in place, the folder not yet on the disk
};

std::string faceFile()
{
    std::string bytes;
    for (int n = 1; n <= kLines; ++n)
        bytes += "(^o^) \x81\x5F " + std::to_string(n) + "\r\n";
    return bytes;
}

// Straight to the pipe, so that the test has every word before the child goes on.
void say(const char *line)
{
    const std::string word = std::string(line) + "\n";
    while (::write(STDOUT_FILENO, word.data(), word.size()) < 0 && errno == EINTR) {
    }
}

// The child: deletes the first face again and again until none is left, saying when each
// rewrite begins, and stopping at the hold given in the rewrite given.
int deleteForever(const std::vector<std::string> &arguments)
{
    const std::filesystem::path path = pathOf(arguments.at(0));
    const Hold hold = Hold(std::stoi(arguments.at(1)));
    const int stopIn = std::stoi(arguments.at(2));
    // A kill by the file size limit would otherwise leave a core dump behind.
    const rlimit noCore{0, 0};
    ::setrlimit(RLIMIT_CORE, &noCore);
    int rewrites = 0;
    bool renamed = false;
    std::size_t size = 0;
    // At its moment the child stops for the kill: it says so and holds still, or, to be killed
    // halfway through the new file, lowers its file size limit to half the file.
    const auto reach = [&](Hold moment) {
        if (moment != hold || rewrites != stopIn)
            return;
        if (hold == Hold::HalfWritten) {
            const rlimit half{rlim_t(size / 2), rlim_t(size / 2)};
            ::setrlimit(RLIMIT_FSIZE, &half);
            return;
        }
        say("holding");
        for (;;)
            ::pause();
    };
    setFaceFileObserver([&](FaceFileMoment moment) {
        if (moment != FaceFileMoment::AboutToReplace)
            return;
        ++rewrites;
        renamed = false;
        say("rewriting");
        reach(Hold::HalfWritten);
    });
    // The hook runs before each call: just before the rename, and at the folder's sync that puts
    // the rename on the disk.
    FileSystem::setDiskCallHook([&](FileSystem::DiskCall call) {
        if (call == FileSystem::DiskCall::Rename) {
            reach(Hold::BeforeRename);
            renamed = true;
        } else if (call == FileSystem::DiskCall::SyncFolder && renamed) {
            reach(Hold::AfterRename);
        }
        return FileSystem::SystemError(0);
    });
    for (;;) {
        const FileSystem::WholeFile file = FileSystem::readWholeFile(path);
        if (file.outcome != FileSystem::WholeFile::Outcome::Read)
            return 2;
        size = file.content.size();
        if (splitLines(file.content).empty())
            return 0;
        if (removeListedFace(path, 0, FaceFileReading::of(file.content, 1)))
            return 3;
    }
}

// A child that did not end well ends "<failed: CODE …>", where a code above 128 is 128 and the
// signal that ended it.
bool endedBySignal(const std::string &ending)
{
    int code = 0;
    return std::sscanf(ending.c_str(), "<failed: %d", &code) == 1 && code > 128;
}

} // namespace

TEST_CASE("killedDeletionsNeverDamageTheFile")
{
    std::vector<int> oneToTen; // the rewrite each kill lands in
    for (int kill = 0; kill < 40; ++kill)
        oneToTen.push_back(1 + kill % 10);
    const std::vector<int> some{1, 2, 3, 5, 8};
    const struct {
        const char *name;
        Hold hold;
        std::vector<int> killedIn;
    } rows[] = {
        {"soon after a rewrite begins", Hold::Nowhere, oneToTen},
        {"halfway through the new file", Hold::HalfWritten, some},
        {"new file written, before the rename", Hold::BeforeRename, some},
        {"just after the rename", Hold::AfterRename, some},
    };
    for (const auto &row : rows)
        SUBCASE(row.name)
        {
            TempFolder folder;
            const std::filesystem::path path = folder.filePath("顔ファイル.dat");
            const std::string original = faceFile();
            int cutShort = 0;
            for (int rewrite : row.killedIn) {
                INFO("kill in rewrite " << rewrite);
                REQUIRE(writeBytes(path, original));

                ChildProcess child(
                    {utf8Of(path), std::to_string(int(row.hold)), std::to_string(rewrite)});
                int begun = 0;
                // The file size limit kills it by itself; otherwise the test does.
                if (row.hold != Hold::HalfWritten) {
                    while (begun < rewrite && child.said("rewriting"))
                        ++begun;
                    if (row.hold != Hold::Nowhere)
                        REQUIRE(child.said("holding"));
                    child.kill();
                }
                while (child.said("rewriting"))
                    ++begun;
                REQUIRE_MESSAGE(endedBySignal(child.ending()), "the child ended on its own");

                const std::string now = readBytes(path);
                // Some number of whole first lines gone, the rest exactly as they were.
                REQUIRE_MESSAGE(!now.empty(), "left an empty file");
                REQUIRE(original.ends_with(now));
                const std::string_view gone =
                    std::string_view(original).substr(0, original.size() - now.size());
                REQUIRE((gone.empty() || gone.ends_with('\n')));
                // Every rewrite begun before the last is done; the last one is done or not at all.
                const auto done = int(std::count(gone.begin(), gone.end(), '\n'));
                if (row.hold == Hold::Nowhere) {
                    REQUIRE((done == begun || done == begun - 1));
                } else {
                    REQUIRE(begun == rewrite);
                    REQUIRE(done == (row.hold == Hold::AfterRename ? begun : begun - 1));
                }
                if (done < begun)
                    ++cutShort;
                // Temporary files a kill left behind hold nobody's only copy of anything.
                for (const auto &left : std::filesystem::directory_iterator(folder.path()))
                    if (left.path() != path)
                        std::filesystem::remove(left.path());
            }
            MESSAGE(cutShort << " of " << row.killedIn.size() << " kills cut a rewrite short");
        }
}

int main(int argc, char **argv)
{
    return runTestsOrChild(argc, argv, deleteForever);
}
