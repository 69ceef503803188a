// SPDX-License-Identifier: MIT
#pragma once

#include "catalogue/FileSystem.h"

#include <chrono>
#include <functional>

// The face file, open and locked against every other copy of the program for as long as this
// lives. Appends and rewrites each hold it, so a face appended can never fall between a
// rewrite's reading and its renaming. A rewrite puts a new file in place: whoever was waiting on
// the old one notices and locks the new one instead.
//
// Copies take the lock in turn: a copy that has just let go cannot take it again before one that
// was already waiting, however briefly each holds it. Each system says how in a file of its
// own: FaceFileLock-posix.cpp, FaceFileLock-win32.cpp.
class FaceFileLock {
public:
    enum class Purpose {
        Append,  // creates the file when absent
        Rewrite, // an absent file stays absent
    };

    // How long a change waits for another copy before saying so: the window stays frozen
    // meanwhile, so not longer than a moment.
    static constexpr std::chrono::milliseconds kPatience{2000};

    // `waiting` runs once if another copy holds the lock when it is first asked for. Both
    // purposes open the file for writing, so that a file the user may not change is refused.
    FaceFileLock(const FileSystem::Path &path, Purpose purpose,
                 const std::function<void()> &waiting);
    FaceFileLock(const FaceFileLock &) = delete;
    FaceFileLock &operator=(const FaceFileLock &) = delete;

    bool held() const { return file_.isOpen(); }
    const FileSystem::File &file() const { return file_; }
    // Whether opening made the file, so that its folder must reach the disk too.
    bool created() const { return created_; }

    // Why it is not held: the file is absent (a rewrite only), something kept it past the
    // patience, the path names no regular file, or the system's error.
    bool absent() const { return absent_; }
    bool busy() const { return busy_; }
    // Whether what kept it was another copy of this program, which says so while it holds it.
    bool heldByAnotherCopy() const { return heldByAnotherCopy_; }
    bool notRegular() const { return notRegular_; }
    FileSystem::SystemError error() const { return error_; }

private:
    FileSystem::File file_;
    FileSystem::SystemError error_ = 0;
    bool created_ = false;
    bool absent_ = false;
    bool busy_ = false;
    bool heldByAnotherCopy_ = false;
    bool notRegular_ = false;
};
