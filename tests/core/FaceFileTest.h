// SPDX-License-Identifier: MIT
#pragma once

// What the face file's tests share on every system: a folder of each case's own, what a
// reading finds, the calls that make a change last, and other copies of the program changing
// the file at the same time. tst_facefile.cpp defines them.
#include "catalogue/FaceFile.h"
#include "support/ChildProcess.h"
#include "support/Files.h"
#include "support/Text.h"

#include <doctest.h>

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

using Reason = FaceFileRefusal::Reason;

inline const std::u16string kNotAFile = u"ファイルではないものがその名前で置かれています";
inline const std::u16string kNotAllowed = u"アクセスが許可されていません";

// Each case's own folder, with the face file's path in it. No observer or disk-call hook
// outlives the case.
struct FaceFileTest {
    ~FaceFileTest();

    // The face file's path after arranging "absent file", "absent folder", "folder" or "name
    // too long" there; empty when it could not be arranged.
    std::filesystem::path pathIn(std::string_view situation) const;
    // With the file holding "a" and "b": registers "c" ("append"), or deletes "a" ("remove").
    Refusal change(std::string_view kind) const;

    TempFolder folder;
    std::filesystem::path path = folder.filePath("顔ファイル.dat");
};

// The faces a reading finds, or what it found instead.
std::vector<std::u16string> facesIn(const std::filesystem::path &path);

// What a deletion window listed from a file holding these lines, each ended by CR LF.
FaceFileReading listingOf(const std::vector<std::string> &lines);

// Dates the file's last change far back, so that any change made after it shows in its
// fingerprint, however soon it comes.
[[nodiscard]] bool backdate(const std::filesystem::path &path);
// A file's identity and the time of its last change: a file left alone keeps both.
std::string fingerprint(const std::filesystem::path &path);

// The calls that make a change last, as a test sees them, in order: "sync file", "sync
// folder", "rename". The one named `failing` fails with `error`, as the system would fail it.
class DiskCallRecorder {
public:
    DiskCallRecorder();
    ~DiskCallRecorder();
    DiskCallRecorder(const DiskCallRecorder &) = delete;
    DiskCallRecorder &operator=(const DiskCallRecorder &) = delete;

    std::string calls; // separated by ", "
    std::string failing;
    FileSystem::SystemError error = 0;
};

// A call that fails leaves the file as it was, says why, and leaves no other file behind.
struct FailedDiskCall {
    const char *name;
    const char *change; // "append" or "remove"
    const char *failing;
    FileSystem::SystemError error;
    std::u16string reason;
};
void checkFailedDiskCall(const FaceFileTest &test, const FailedDiskCall &row);

// Something holds the file while this copy registers and deletes; once it lets go, it goes on
// with its own change, or none.
struct Holder {
    const char *name;
    const char *scenario; // of the other copy, which says "holding" while it holds the file
    std::u16string reason;
    std::string after;
};
void checkSomethingHoldingOn(const FaceFileTest &test, const Holder &row);

// A program that takes no lock changes the file while a rewrite is under way, `writes` times
// at most; `write` is told which time it is.
struct UnlockedWrite {
    const char *name;
    bool (*write)(const std::filesystem::path &path, int time);
    int writes;
    Refusal refusal;
    std::string after;
};
void checkUnlockedWrite(const FaceFileTest &test, const UnlockedWrite &row);

// Another copy of the program changing the face file: this test program again, started as
// ChildProcess({scenario, path in UTF-8, …}). It says "waiting" while it waits for the file,
// and ends saying "done", or "failed: " and why. "append" appends the face that follows the
// path; "append-held" holds the lock before appending until it is told to go on; "append-many"
// appends the face numbered from 1 to the count after it.
using ChildScenario = int (*)(const std::vector<std::string> &arguments);
// A scenario that only one system has, registered from that system's file before main runs.
bool addChildScenario(const std::string &name, ChildScenario scenario);
// The other copy's side of the talk.
void say(const char *line);
void awaitGoOn();

// A failed comparison of lists shows each item.
namespace doctest {
template <class T> struct StringMaker<std::vector<T>> {
    static String convert(const std::vector<T> &items)
    {
        String shown = "{";
        for (const T &item : items)
            shown += String(shown.size() > 1 ? ", " : "") + toString(item);
        return shown + "}";
    }
};
} // namespace doctest
