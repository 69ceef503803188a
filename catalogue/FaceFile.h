// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>
#include <limits>
#include <optional>

// The user's own faces live in one file, one face per line in code page 932 with CR LF (the
// line rule is in text/Lines.h). Every reading and every change of it goes through here, and
// answers in faces and reasons, never in the file's bytes; the program never creates the folder
// it is in.
QString faceFilePath();

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
    QString detail;

    bool operator==(const FaceFileRefusal &) const = default;
};

// What reading the face file found: its faces, one a line in file order, each decoded from
// code page 932 (bytes that are not valid there become U+FFFD).
class FaceFileReading {
public:
    enum class State {
        Read,
        Absent,     // nothing registered yet
        Unreadable, // there, but not a file this user can read
    };
    State state = State::Absent;
    QString reason; // why it is unreadable, for the user
    QStringList faces;

private:
    // The lines read, as stored. A rewrite looks for the chosen one's own bytes in the file,
    // which its text cannot stand in for where the bytes are not valid code page 932.
    QByteArray stored_;

    friend FaceFileReading readFaceContent(QByteArray content, qsizetype most);
    friend std::optional<FaceFileRefusal> removeListedFace(const QString &path, qsizetype index,
                                                           const FaceFileReading &listed);
};

// Reads the first `most` faces of the file.
FaceFileReading readFaceFile(const QString &path,
                             qsizetype most = std::numeric_limits<qsizetype>::max());
// What a reading finds in a file that holds `content`.
FaceFileReading readFaceContent(QByteArray content,
                                qsizetype most = std::numeric_limits<qsizetype>::max());

// A face holding CR or LF would be read back as two faces.
bool holdsLineBreak(const QString &face);

// Why the face cannot be registered as typed: it is empty, holds a line break, or holds
// characters that code page 932 cannot hold; nothing when it can.
std::optional<FaceFileRefusal> refusalOfFace(const QString &face);

// Appends the face as one line, after ending a last line that a hand-made file left unended.
// A face that cannot be registered, and a file the user may not write, are refused. When it
// says why not, the file is as it was.
std::optional<FaceFileRefusal> appendFace(const QString &path, const QString &face);

// Rewrites the file without the face at `index` in `listed`, which a reading of the file took
// earlier: the new content goes to a temporary file beside it, to the disk, and then in place
// of the old in one rename, so the file is always either the old or the new. Like an append,
// it refuses a file the user may not write, and the new file keeps the old one's owner, group
// and mode. If a program that takes no lock changes the file meanwhile, the rewrite starts again
// from the file as it is then, a few times at most, and otherwise says it Changed. An index
// that names no listed face is NotListed. When it says why not, the file is as it was.
std::optional<FaceFileRefusal> removeListedFace(const QString &path, qsizetype index,
                                                const FaceFileReading &listed);

// Lets a test see a change wait for another copy of the program, and stop it at the moment
// where another copy must not come between.
enum class FaceFileMoment {
    WaitingForLock,
    AboutToAppend,  // the lock is held, nothing looked at, read or written yet
    AboutToReplace, // a rewrite has read the file and not yet written the new one
};
void setFaceFileObserver(std::function<void(FaceFileMoment)> observer);
