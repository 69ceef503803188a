// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <functional>
#include <limits>

// The user's own faces live in one file, one face per line in code page 932 with CR LF (the
// line rule is in platform/Lines.h). Every reading and every change of it goes through here;
// the program never creates the folder it is in.
QString faceFilePath();

// What reading the face file found.
struct FaceFileReading {
    enum class State {
        Read,
        Absent,     // nothing registered yet
        Unreadable, // there, but not a file this user can read
    };
    State state = State::Absent;
    QString reason; // why it is unreadable, for the user
    QByteArray content;

    // The lines without their line ends, the first `most` of them. They view `content`.
    QList<QByteArrayView> lines(qsizetype most = std::numeric_limits<qsizetype>::max()) const;
};

FaceFileReading readFaceFile(const QString &path);

// A face holding CR or LF would be read back as two faces.
bool holdsLineBreak(const QString &face);

// What a change to the face file came to. Unless it is Done, the file was not changed.
struct FaceFileChange {
    enum class Outcome {
        Done,
        NotListed, // the chosen number is not one of the listed numbers
        Changed,   // the file no longer holds the listed face at that number
        Failed,
    };
    Outcome outcome = Outcome::Failed;
    QString reason; // why it failed, for the user
};

// Appends the face as one line, after ending a last line that a hand-made file left unended.
// The face must hold no line break and nothing code page 932 cannot hold. A file the user may
// not write is refused.
FaceFileChange appendFace(const QString &path, const QString &face);

// Rewrites the file without the chosen listed line: the new content goes to a temporary file
// beside it, to the disk, and then in place of the old in one rename, so the file is always
// either the old or the new. Like an append, it refuses a file the user may not write, and the
// new file keeps the old one's owner, group and mode. If a program that takes no lock changes
// the file meanwhile, the rewrite starts again from the file as it is then, a few times at most,
// and otherwise reports it Changed.
FaceFileChange removeListedFace(const QString &path, double chosen,
                                const QList<QByteArray> &listed);

// Lets a test see a change wait for another copy of the program, and stop it at the moment
// where another copy must not come between.
enum class FaceFileMoment {
    WaitingForLock,
    AboutToAppend,  // the lock is held and the file's size known, nothing read or written yet
    AboutToReplace, // a rewrite has read the file and not yet written the new one
};
void setFaceFileObserver(std::function<void(FaceFileMoment)> observer);
