// SPDX-License-Identifier: MIT
#pragma once

#include "catalogue/FileSystem.h"

#include <cstddef>
#include <functional>
#include <limits>
#include <optional>
#include <string>
#include <vector>

// The user's own faces live in one file, one face per line in code page 932 with CR LF (the
// line rule is in text/Lines.h). Every reading and every change of it goes through here, and
// answers in faces and reasons, never in the file's bytes. Where the file is, each runtime
// says; the program never creates the folder it is in.

// Why the face file's home did not do what was asked. Each window says it in its own words;
// the detail is what the reason leaves open, for the user.
struct FaceFileRefusal {
    enum class Reason {
        EmptyFace,       // there is nothing to register
        LineBreak,       // a face holding CR or LF would be read back as two faces
        Unrepresentable, // code page 932 cannot hold the characters that the detail names
        NotListed,       // the number names none of the listed faces
        Changed,         // the file no longer holds the listed face at that number
        Unreadable,      // the file is there but cannot be read: the detail says why
        NotAppended,     // the detail says why the face could not be appended
        NotRewritten,    // the detail says why the file could not be rewritten
    };
    Reason reason;
    std::u16string detail;

    bool operator==(const FaceFileRefusal &) const = default;
};

// What reading the face file found: its faces, one a line in file order, each decoded from
// code page 932 (bytes that are not valid there become U+FFFD). The faces cannot be changed:
// a deletion finds the listed face's own bytes by its place in the list.
class FaceFileReading {
public:
    enum class State {
        Read,
        Absent,     // nothing registered yet
        Unreadable, // there, but not a file this user can read
    };

    // What a reading finds in a file that holds `content`.
    static FaceFileReading of(std::string content,
                              std::size_t most = std::numeric_limits<std::size_t>::max());
    static FaceFileReading absent() { return FaceFileReading(State::Absent, {}); }
    static FaceFileReading unreadable(std::u16string reason)
    {
        return FaceFileReading(State::Unreadable, std::move(reason));
    }

    State state() const { return state_; }
    // Why it is unreadable, for the user.
    const std::u16string &reason() const { return reason_; }
    const std::vector<std::u16string> &faces() const & { return faces_; }
    // A reading used up hands its faces over.
    std::vector<std::u16string> faces() && { return std::move(faces_); }

private:
    FaceFileReading(State state, std::u16string reason) : state_(state), reason_(std::move(reason))
    {
    }

    State state_;
    std::u16string reason_;
    std::vector<std::u16string> faces_;
    // The lines read, as stored. A rewrite looks for the chosen one's own bytes in the file,
    // which its text cannot stand in for where the bytes are not valid code page 932.
    std::string stored_;

    friend std::optional<FaceFileRefusal> removeListedFace(const FileSystem::Path &path,
                                                           std::size_t index,
                                                           const FaceFileReading &listed);
};

// Reads the first `most` faces of the file.
FaceFileReading readFaceFile(const FileSystem::Path &path,
                             std::size_t most = std::numeric_limits<std::size_t>::max());

// A face holding CR or LF would be read back as two faces.
bool holdsLineBreak(std::u16string_view face);

// Why the face cannot be registered as typed: it is empty, holds a line break, or holds
// characters that code page 932 cannot hold; nothing when it can.
std::optional<FaceFileRefusal> refusalOfFace(std::u16string_view face);

// Appends the face as one line, after ending a last line that a hand-made file left unended.
// A face that cannot be registered, and a file the user may not write, are refused. When it
// says why not, the file is as it was.
std::optional<FaceFileRefusal> appendFace(const FileSystem::Path &path, std::u16string_view face);

// Rewrites the file without the face at `index` in `listed`, which a reading of the file took
// earlier: the new content goes to a temporary file beside it, to the disk, and then in place
// of the old in one step, so the file is always either the old or the new. Like an append,
// it refuses a file the user may not write, and the new file keeps the old one's owner, group
// and mode. If a program that takes no lock changes the file meanwhile, the rewrite starts again
// from the file as it is then, a few times at most, and otherwise says it Changed. An index
// that names no listed face is NotListed. When it says why not, the file is as it was.
std::optional<FaceFileRefusal> removeListedFace(const FileSystem::Path &path, std::size_t index,
                                                const FaceFileReading &listed);

// Lets a test see a change wait for another copy of the program, and stop it at the moment
// where another copy must not come between.
enum class FaceFileMoment {
    WaitingForLock,
    AboutToAppend,  // the lock is held, nothing looked at, read or written yet
    AboutToReplace, // a rewrite has read the file and not yet written the new one
};
void setFaceFileObserver(std::function<void(FaceFileMoment)> observer);
