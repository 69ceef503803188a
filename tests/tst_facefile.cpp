// SPDX-License-Identifier: MIT
// The face file on disk: its line rule and code page, what reading it finds, appending, the
// rewrite, and other copies of the program changing it at the same time.
#include "catalogue/BuiltinFaces.h"
#include "catalogue/FaceFile.h"
#include "text/CodePage932.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include "support/Files.h"
#include "support/ReadOnlyFolder.h"

#include <cstdio>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;
using Outcome = FaceFileChange::Outcome;

namespace {

// The faces a reading finds, or what it found instead.
QStringList facesIn(const QString &path)
{
    const FaceFileReading reading = readFaceFile(path);
    if (reading.state == FaceFileReading::State::Absent)
        return {u"<absent>"_s};
    if (reading.state == FaceFileReading::State::Unreadable)
        return {u"<unreadable: %1>"_s.arg(reading.reason)};
    QStringList faces;
    for (QByteArrayView line : reading.lines())
        faces << CodePage932::decode(line);
    return faces;
}

QStringList allBuiltinFaces()
{
    QStringList faces;
    for (Catalogue::FaceList list :
         {Catalogue::kWaraiFaces, Catalogue::kNakiFaces, Catalogue::kIkariFaces,
          Catalogue::kTanoshiiFaces, Catalogue::kSonotaFaces, Catalogue::kMuFaces})
        for (std::u16string_view face : list)
            faces << QString::fromUtf16(face.data(), qsizetype(face.size()));
    return faces;
}

const QString kNotAFile = u"ファイルではないものがその名前で置かれています"_s;

// Another copy of the program: this test program again, changing the face file.
class OtherCopy {
public:
    explicit OtherCopy(const QStringList &arguments)
    {
        process_.start(QCoreApplication::applicationFilePath(),
                       QStringList{u"--child"_s} + arguments);
    }
    ~OtherCopy()
    {
        if (process_.state() != QProcess::NotRunning) {
            process_.kill();
            process_.waitForFinished();
        }
    }

    // Waits until it says the line, and says whether it did.
    bool said(const QByteArray &line)
    {
        while (process_.state() != QProcess::NotRunning || process_.bytesAvailable()) {
            if (process_.canReadLine()) {
                if (process_.readLine().trimmed() == line)
                    return true;
            } else if (!process_.waitForReadyRead(20000)) {
                return false;
            }
        }
        return false;
    }
    void tellToGoOn()
    {
        process_.write("go\n");
        process_.waitForBytesWritten();
    }
    // How its change ended: its last line, once it has finished.
    QByteArray ending()
    {
        if (!process_.waitForFinished(30000) || process_.exitCode() != 0)
            return "<failed: " + process_.readAllStandardError() + ">";
        const QList<QByteArray> said = process_.readAllStandardOutput().trimmed().split('\n');
        return said.last().trimmed();
    }

private:
    QProcess process_;
};

} // namespace

class TestFaceFile : public QObject {
    Q_OBJECT

    QTemporaryDir folder_;
    QString path_;

    // The face file's path after arranging the situation there, or nothing when it could not
    // be arranged.
    QString pathIn(const QString &situation)
    {
        bool arranged = true;
        if (situation == "absent folder")
            return folder_.filePath(u"gone/顔ファイル.dat"_s);
        if (situation == "dangling link")
            arranged = QFile::link(folder_.filePath(u"gone/x.dat"_s), path_);
        else if (situation == "folder")
            arranged = QDir().mkpath(path_);
        else if (situation == "fifo")
            arranged = mkfifo(QFile::encodeName(path_).constData(), 0600) == 0;
        else if (situation == "file for folder")
            return writeBytes(folder_.filePath(u"Documents"_s), "a\r\n")
                       ? folder_.filePath(u"Documents/顔ファイル.dat"_s)
                       : QString();
        return arranged ? path_ : QString();
    }

private slots:
    void init() { path_ = folder_.filePath(u"顔ファイル.dat"_s); }
    void cleanup()
    {
        setFaceFileObserver({});
        QDir(folder_.path()).removeRecursively();
        QDir().mkpath(folder_.path());
    }

    void lineRule_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("empty file") << QByteArray() << QStringList{};
        QTest::newRow("two faces, each with CR LF")
            << QByteArray("(^o^)\r\n(T_T)\r\n") << QStringList{"(^o^)", "(T_T)"};
        QTest::newRow("last line without a line end")
            << QByteArray("(^o^)\r\n(T_T)") << QStringList{"(^o^)", "(T_T)"};
        QTest::newRow("empty line in the middle")
            << QByteArray("a\r\n\r\nb\r\n") << QStringList{"a", "", "b"};
        QTest::newRow("two line ends at the very end")
            << QByteArray("a\r\n\r\n") << QStringList{"a", ""};
        QTest::newRow("only a line end") << QByteArray("\r\n") << QStringList{""};
        QTest::newRow("blanks kept")
            << QByteArray("  \r\n (^^) \r\n") << QStringList{"  ", " (^^) "};
        QTest::newRow("lone LF is a character")
            << QByteArray("a\nb\nc\n") << QStringList{"a\nb\nc\n"};
        QTest::newRow("lone CR ends a line") << QByteArray("a\rb\r") << QStringList{"a", "b"};
        QTest::newRow("CR CR LF") << QByteArray("a\r\r\nb") << QStringList{"a", "", "b"};
        QTest::newRow("LF CR") << QByteArray("a\n\rb") << QStringList{"a\n", "b"};
        QTest::newRow("same face twice")
            << QByteArray("(^^)\r\n(^^)\r\n") << QStringList{"(^^)", "(^^)"};
        QTest::newRow("control characters kept")
            << QByteArray("(^^)\x7F\r\n(T_T)\x1A\x1C\r\n")
            << QStringList{u"(^^)\u007F"_s, u"(T_T)\u001A\u001C"_s};
        QTest::newRow("very long line") << QByteArray(100000, 'x') + "\r\n"
                                        << QStringList{QString(100000, u'x')};
    }

    void lineRule()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, lines);
        QVERIFY(writeBytes(path_, bytes));
        QCOMPARE(facesIn(path_), lines);
    }

    void codePage932BothWays_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("ASCII backslash") << u"\\(^_^ )"_s << QByteArray("\x5C(^_^ )");
        QTest::newRow("full-width backslash, leading blank")
            << u" ＼(^^＼)"_s << QByteArray(" \x81\x5F(^^\x81\x5F)");
        QTest::newRow("full-width tilde") << u"～"_s << QByteArray("\x81\x60");
        QTest::newRow("acute, times, arc") << u"´×⌒"_s << QByteArray("\x81\x4C\x81\x7E\x81\xDC");
        QTest::newRow("half-width katakana") << u"｡ﾟ"_s << QByteArray("\xA1\xDF");
        QTest::newRow("so, whose trail byte is 5C") << u"ソ"_s << QByteArray("\x83\x5C");
        QTest::newRow("ideographic space") << u"\u3000"_s << QByteArray("\x81\x40");
        QTest::newRow("control characters as Windows maps them")
            << u"\u001A\u001C\u007F\t"_s << QByteArray("\x1A\x1C\x7F\t");
    }

    void codePage932BothWays()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        QCOMPARE(CodePage932::encode(text), bytes);
        QCOMPARE(CodePage932::decode(bytes), text);
        QVERIFY(CodePage932::unrepresentable(text).isEmpty());
        QCOMPARE(appendFace(path_, text).outcome, Outcome::Done);
        QCOMPARE(readBytes(path_), bytes + "\r\n");
    }

    void invalidBytesBecomeReplacementCharacters_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::newRow("lone lead byte at the end") << QByteArray("ab\x81") << u"ab\uFFFD"_s;
        QTest::newRow("lead byte before a blank") << QByteArray("\x81 x") << u"\uFFFD x"_s;
        QTest::newRow("bytes never valid")
            << QByteArray("\x80\xA0\xFD\xFE\xFF") << u"\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD"_s;
        QTest::newRow("unassigned pair") << QByteArray("(\x85\x40)") << u"(\uFFFD\uFFFD)"_s;
        QTest::newRow("good around bad") << QByteArray("\x82\xA0\xFF\x82\xA2") << u"あ\uFFFDい"_s;
    }

    void invalidBytesBecomeReplacementCharacters()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        QCOMPARE(CodePage932::decode(bytes), text);
        // In a file, every line still yields its entry.
        QVERIFY(writeBytes(path_, "ok\r\n" + bytes + "\r\nok\r\n"));
        QCOMPARE(facesIn(path_), (QStringList{"ok", text, "ok"}));
    }

    void unrepresentableCharacters()
    {
        QCOMPARE(CodePage932::unrepresentable(u"(^o^)"_s), QString());
        QCOMPARE(CodePage932::unrepresentable(u"(😀é😀)"_s), u"😀é"_s);
        // These have code page 932 look-alikes, but would not read back as typed.
        QCOMPARE(CodePage932::unrepresentable(u"¥〜"_s), u"¥〜"_s);
    }

    void readingTellsAbsentFromUnreadable_data()
    {
        QTest::addColumn<QString>("situation");
        QTest::addColumn<QStringList>("found");
        QTest::newRow("absent file") << "absent file" << QStringList{"<absent>"};
        QTest::newRow("absent folder") << "absent folder" << QStringList{"<absent>"};
        QTest::newRow("dangling link") << "dangling link" << QStringList{"<absent>"};
        const QString unreadable = u"<unreadable: %1>"_s;
        QTest::newRow("a folder in its place")
            << "folder" << QStringList{unreadable.arg(kNotAFile)};
        QTest::newRow("a FIFO in its place") << "fifo" << QStringList{unreadable.arg(kNotAFile)};
        QTest::newRow("a file in the folder's place")
            << "file for folder"
            << QStringList{unreadable.arg(u"フォルダーの名前でファイルが置かれています"_s)};
    }

    void readingTellsAbsentFromUnreadable()
    {
        QFETCH(QString, situation);
        QFETCH(QStringList, found);
        const QString path = pathIn(situation);
        QVERIFY(!path.isEmpty());
        QCOMPARE(facesIn(path), found);
    }

    void linesStopAtTheLimit()
    {
        QVERIFY(writeBytes(path_, numberedLines(1, 600)));
        const FaceFileReading reading = readFaceFile(path_);
        const QList<QByteArrayView> first = reading.lines(501);
        QCOMPARE(first.size(), 501);
        QCOMPARE(first.last().toByteArray(), QByteArray("face 501"));
        QCOMPARE(reading.lines().size(), 600);
    }

    void appendKeepsEveryByteAlreadyThere_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QByteArray>("after");
        QTest::addColumn<QStringList>("faces");
        QTest::newRow("absent file")
            << QByteArray("<absent>") << QByteArray("zz\r\n") << QStringList{"zz"};
        QTest::newRow("empty file") << QByteArray() << QByteArray("zz\r\n") << QStringList{"zz"};
        QTest::newRow("ended by CR LF")
            << QByteArray("a\r\n") << QByteArray("a\r\nzz\r\n") << QStringList{"a", "zz"};
        QTest::newRow("no final line end")
            << QByteArray("(^_^)\r\nabc") << QByteArray("(^_^)\r\nabc\r\nzz\r\n")
            << QStringList{"(^_^)", "abc", "zz"};
        QTest::newRow("unfinished double-byte character at the end")
            << QByteArray("abc\x81") << QByteArray("abc\x81\r\nzz\r\n")
            << QStringList{u"abc\uFFFD"_s, u"zz"_s};
        QTest::newRow("lines ended by LF alone")
            << QByteArray("a\nb\n") << QByteArray("a\nb\n\r\nzz\r\n")
            << QStringList{"a\nb\n", "zz"};
        QTest::newRow("ended by a lone CR")
            << QByteArray("a\r") << QByteArray("a\rzz\r\n") << QStringList{"a", "zz"};
        QTest::newRow("one byte, not a line end")
            << QByteArray("x") << QByteArray("x\r\nzz\r\n") << QStringList{"x", "zz"};
        QTest::newRow("stray bytes last")
            << QByteArray("ok\r\n\xFF\xFE") << QByteArray("ok\r\n\xFF\xFE\r\nzz\r\n")
            << QStringList{u"ok"_s, u"\uFFFD\uFFFD"_s, u"zz"_s};
    }

    void appendKeepsEveryByteAlreadyThere()
    {
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, after);
        QFETCH(QStringList, faces);
        if (before != "<absent>")
            QVERIFY(writeBytes(path_, before));
        const QStringList facesBefore = before == "<absent>" ? QStringList{} : facesIn(path_);
        QCOMPARE(appendFace(path_, u"zz"_s).outcome, Outcome::Done);
        QCOMPARE(readBytes(path_), after);
        QCOMPARE(facesIn(path_), faces);
        // Every face that was there reads back as before, the new one after them.
        QCOMPARE(facesIn(path_).first(facesBefore.size()), facesBefore);
    }

    void appendRefusesWhatTheFileCannotHold_data()
    {
        QTest::addColumn<QString>("face");
        QTest::newRow("CR") << u"ab\rcd"_s;
        QTest::newRow("CR LF") << u"ab\r\ncd"_s;
        QTest::newRow("LF") << u"ab\ncd"_s;
        QTest::newRow("line end last") << u"ab\r\n"_s;
        QTest::newRow("not code page 932") << u"(😀)"_s;
    }

    void appendRefusesWhatTheFileCannotHold()
    {
        QFETCH(QString, face);
        QVERIFY(holdsLineBreak(face) != face.contains(u"😀"_s));
        QVERIFY(writeBytes(path_, "a\r\n"));
        const FaceFileChange appended = appendFace(path_, face);
        QCOMPARE(appended.outcome, Outcome::Failed);
        QVERIFY(!appended.reason.isEmpty());
        QCOMPARE(readBytes(path_), QByteArray("a\r\n"));
    }

    void everyBuiltinFaceSurvivesTheFile()
    {
        const QStringList faces = allBuiltinFaces();
        QCOMPARE(faces.size(), 125);
        QByteArray expected;
        for (const QString &face : faces) {
            QVERIFY2(appendFace(path_, face).outcome == Outcome::Done, qPrintable(face));
            expected += CodePage932::encode(face) + "\r\n";
        }
        QCOMPARE(facesIn(path_), faces);
        QCOMPARE(readBytes(path_), expected);
    }

    void failedAppendsSayWhyAndChangeNothing_data()
    {
        QTest::addColumn<QString>("situation");
        QTest::addColumn<QString>("reason");
        QTest::newRow("absent folder") << "absent folder" << u"フォルダーがありません"_s;
        QTest::newRow("a folder in its place") << "folder" << kNotAFile;
        QTest::newRow("a FIFO in its place") << "fifo" << kNotAFile;
    }

    void failedAppendsSayWhyAndChangeNothing()
    {
        QFETCH(QString, situation);
        QFETCH(QString, reason);
        const QString path = pathIn(situation);
        QVERIFY(!path.isEmpty());
        const FaceFileChange appended = appendFace(path, u"(^^)"_s);
        QCOMPARE(appended.outcome, Outcome::Failed);
        QCOMPARE(appended.reason, reason);
        QCOMPARE(
            QDir(folder_.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::System),
            situation == "absent folder" ? QStringList{} : QStringList{u"顔ファイル.dat"_s});
    }

    void rewrite_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<double>("chosen");
        QTest::addColumn<QList<QByteArray>>("listed");
        QTest::addColumn<Outcome>("outcome");
        QTest::addColumn<QByteArray>("after");
        const QByteArray three("a\r\nb\r\nc\r\n");
        const QList<QByteArray> abc = byteLines({"a", "b", "c"});
        QTest::newRow("middle") << three << 2.0 << abc << Outcome::Done << QByteArray("a\r\nc\r\n");
        QTest::newRow("first") << three << 1.0 << abc << Outcome::Done << QByteArray("b\r\nc\r\n");
        QTest::newRow("last") << three << 3.0 << abc << Outcome::Done << QByteArray("a\r\nb\r\n");
        QTest::newRow("the only face, leaving an empty file")
            << QByteArray("a\r\n") << 1.0 << byteLines({"a"}) << Outcome::Done << QByteArray();
        for (double notListed : {0.0, 4.0, -1.0, 2.5, 12.0})
            QTest::addRow("%g is not listed", notListed)
                << three << notListed << abc << Outcome::NotListed << three;
        QTest::newRow("any number of an empty list")
            << QByteArray() << 1.0 << QList<QByteArray>{} << Outcome::NotListed << QByteArray();
        QTest::newRow("changed since listed") << QByteArray("a\r\nX\r\nc\r\n") << 2.0 << abc
                                              << Outcome::Changed << QByteArray("a\r\nX\r\nc\r\n");
        QTest::newRow("shorter since listed")
            << QByteArray("a\r\n") << 2.0 << abc << Outcome::Changed << QByteArray("a\r\n");
        QTest::newRow("lines added since listed")
            << QByteArray("a\r\nb\r\nc\r\nnew\r\n") << 2.0 << abc << Outcome::Done
            << QByteArray("a\r\nc\r\nnew\r\n");
        QTest::newRow("other line ends kept as stored")
            << QByteArray("a\rb\r\nc\nd") << 2.0 << byteLines({"a", "b", "c\nd"}) << Outcome::Done
            << QByteArray("a\rc\nd");
        QTest::newRow("lone CR before a face that begins with LF")
            << QByteArray("x\ra\r\n\nb\r\n") << 2.0 << byteLines({"x", "a", "\nb"}) << Outcome::Done
            << QByteArray("x\r\n\nb\r\n");
        QTest::newRow("bytes that are not code page 932")
            << QByteArray("\x81\xFF\r\nb\r\n\x85\x40\r\n") << 2.0
            << QList<QByteArray>{"\x81\xFF", "b", "\x85\x40"} << Outcome::Done
            << QByteArray("\x81\xFF\r\n\x85\x40\r\n");
    }

    void rewrite()
    {
        QFETCH(QByteArray, content);
        QFETCH(double, chosen);
        QFETCH(QList<QByteArray>, listed);
        QFETCH(Outcome, outcome);
        QFETCH(QByteArray, after);
        QVERIFY(writeBytes(path_, content));
        const QString before = fingerprint(path_);
        QThread::msleep(5);
        QCOMPARE(removeListedFace(path_, chosen, listed).outcome, outcome);
        QCOMPARE(readBytes(path_), after);
        // When nothing is deleted, the file is not even touched.
        if (outcome != Outcome::Done)
            QCOMPARE(fingerprint(path_), before);
        QCOMPARE(QDir(folder_.path()).entryList(QDir::Files), QStringList{u"顔ファイル.dat"_s});
    }

    void absentFileStaysAbsent()
    {
        QCOMPARE(removeListedFace(path_, 1, {}).outcome, Outcome::NotListed);
        QCOMPARE(removeListedFace(path_, 1, byteLines({"a"})).outcome, Outcome::Changed);
        QVERIFY(!QFileInfo::exists(path_));
    }

    void linesPastTheListedOnesStay()
    {
        QVERIFY(writeBytes(path_, numberedLines(1, 600)));
        QList<QByteArray> listed;
        for (int n = 1; n <= 501; ++n)
            listed << "face " + QByteArray::number(n);
        QCOMPARE(removeListedFace(path_, 3, listed).outcome, Outcome::Done);
        QCOMPARE(readBytes(path_), numberedLines(1, 2) + numberedLines(4, 600));
    }

    void failedRewriteLeavesTheFileAsItWas_data()
    {
        QTest::addColumn<QString>("situation");
        QTest::newRow("read-only folder") << "read-only";
        QTest::newRow("a folder in the file's place") << "folder";
    }

    void failedRewriteLeavesTheFileAsItWas()
    {
        QFETCH(QString, situation);
        const QByteArray before("a\r\nb\r\n");
        if (situation == "folder")
            QDir().mkpath(path_);
        else
            QVERIFY(writeBytes(path_, before));
        ReadOnlyFolder readOnly(folder_.path());
        if (situation == "read-only" && !readOnly.active())
            QSKIP("this file system cannot make a folder read-only for root");
        const FaceFileChange removed = removeListedFace(path_, 1, byteLines({"a", "b"}));
        QCOMPARE(removed.outcome, Outcome::Failed);
        QCOMPARE(removed.reason,
                 situation == "folder" ? kNotAFile : u"アクセスが許可されていません"_s);
        if (situation == "read-only")
            QCOMPARE(readBytes(path_), before);
        QCOMPARE(QDir(folder_.path()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot),
                 QStringList{u"顔ファイル.dat"_s});
    }

    void rewriteKeepsALinkAndThePermissions()
    {
        const QString real = folder_.filePath(u"elsewhere.dat"_s);
        QVERIFY(writeBytes(real, "a\r\nb\r\n"));
        QVERIFY(
            QFile::setPermissions(real, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
        QVERIFY(QFile::link(real, path_));
        QCOMPARE(removeListedFace(path_, 1, byteLines({"a", "b"})).outcome, Outcome::Done);
        QCOMPARE(QFileInfo(path_).symLinkTarget(), real);
        QCOMPARE(readBytes(real), QByteArray("b\r\n"));
        QCOMPARE(QFileInfo(real).permissions() & 0x0FFF,
                 QFile::ReadUser | QFile::WriteUser | QFile::ReadGroup);
        // Appending through the link reaches the same file.
        QCOMPARE(appendFace(path_, u"c"_s).outcome, Outcome::Done);
        QCOMPARE(readBytes(real), QByteArray("b\r\nc\r\n"));
    }

    // A rewrite that has read the file and not yet put the new one in place, when another copy
    // appends: the append waits, then goes to the new file.
    void appendDuringARewriteIsKept()
    {
        QVERIFY(writeBytes(path_, "a\r\nb\r\nc\r\n"));
        std::unique_ptr<OtherCopy> other;
        bool otherWaited = false;
        setFaceFileObserver([&](FaceFileMoment moment) {
            if (moment != FaceFileMoment::AboutToReplace)
                return;
            other = std::make_unique<OtherCopy>(QStringList{u"append"_s, path_, u"new"_s});
            otherWaited = other->said("waiting");
        });
        QCOMPARE(removeListedFace(path_, 2, byteLines({"a", "b", "c"})).outcome, Outcome::Done);
        QVERIFY(other);
        QVERIFY(otherWaited);
        QCOMPARE(other->ending(), QByteArray("done"));
        QCOMPARE(readBytes(path_), QByteArray("a\r\nc\r\nnew\r\n"));
    }

    // An append under way when a rewrite starts: the rewrite waits, then reads the face too.
    void rewriteDuringAnAppendKeepsTheFace()
    {
        QVERIFY(writeBytes(path_, "a\r\nb\r\nc\r\n"));
        OtherCopy other({u"append-held"_s, path_, u"new"_s});
        QVERIFY(other.said("holding"));
        bool waited = false;
        setFaceFileObserver([&](FaceFileMoment moment) {
            if (moment == FaceFileMoment::WaitingForLock && !waited) {
                waited = true;
                other.tellToGoOn();
            }
        });
        QCOMPARE(removeListedFace(path_, 2, byteLines({"a", "b", "c"})).outcome, Outcome::Done);
        QVERIFY(waited);
        QCOMPARE(other.ending(), QByteArray("done"));
        QCOMPARE(readBytes(path_), QByteArray("a\r\nc\r\nnew\r\n"));
    }

    void anotherCopyHoldingOnIsReported()
    {
        QVERIFY(writeBytes(path_, "a\r\n"));
        OtherCopy other({u"append-held"_s, path_, u"late"_s});
        QVERIFY(other.said("holding"));
        const FaceFileChange appended = appendFace(path_, u"mine"_s);
        QCOMPARE(appended.outcome, Outcome::Failed);
        QCOMPARE(
            appended.reason,
            u"ほかのピコラ３が顔ファイルを使っています。少し待ってから、もう一度お試しください"_s);
        QCOMPARE(removeListedFace(path_, 1, byteLines({"a"})).outcome, Outcome::Failed);
        QCOMPARE(readBytes(path_), QByteArray("a\r\n"));
        other.tellToGoOn();
        QCOMPARE(other.ending(), QByteArray("done"));
        QCOMPARE(readBytes(path_), QByteArray("a\r\nlate\r\n"));
    }

    void copiesRegisteringAtOnceLoseNothing()
    {
        // Unended by hand: exactly one line end goes in before the first new face.
        QVERIFY(writeBytes(path_, "x"));
        constexpr int kCopies = 3;
        constexpr int kFaces = 100;
        std::vector<std::unique_ptr<OtherCopy>> copies;
        for (int copy = 0; copy < kCopies; ++copy)
            copies.push_back(std::make_unique<OtherCopy>(QStringList{
                u"append-many"_s, path_, u"copy%1"_s.arg(copy), QString::number(kFaces)}));
        for (auto &copy : copies)
            QCOMPARE(copy->ending(), QByteArray("done"));
        const QStringList faces = facesIn(path_);
        QCOMPARE(faces.size(), 1 + kCopies * kFaces);
        QCOMPARE(faces.first(), u"x"_s);
        for (int copy = 0; copy < kCopies; ++copy) {
            QStringList own;
            for (const QString &face : faces)
                if (face.startsWith(u"copy%1 "_s.arg(copy)))
                    own << face;
            QStringList expected;
            for (int n = 1; n <= kFaces; ++n)
                expected << u"copy%1 %2"_s.arg(copy).arg(n);
            QCOMPARE(own, expected);
        }
    }

    void withoutHomeTheAccountsHomeIsUsed()
    {
        QProcess child;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(u"HOME"_s);
        child.setProcessEnvironment(environment);
        child.start(QCoreApplication::applicationFilePath(), {u"--child"_s, u"path"_s});
        QVERIFY(child.waitForFinished());
        const passwd *account = getpwuid(getuid());
        QVERIFY(account);
        QCOMPARE(QString::fromUtf8(child.readAllStandardOutput()).trimmed(),
                 QFile::decodeName(account->pw_dir) + u"/Documents/顔ファイル.dat"_s);
    }
};

namespace {

// The other copy's side: appends faces and says how it went; "held" stops it, holding the lock,
// until it is told to go on.
int otherCopy(const QStringList &arguments)
{
    const QString scenario = arguments.value(0);
    if (scenario == "path") {
        std::printf("%s\n", qPrintable(faceFilePath()));
        return 0;
    }
    const QString path = arguments.value(1);
    setFaceFileObserver([&](FaceFileMoment moment) {
        if (moment == FaceFileMoment::WaitingForLock) {
            std::printf("waiting\n");
            std::fflush(stdout);
        } else if (moment == FaceFileMoment::AboutToAppend && scenario == "append-held") {
            std::printf("holding\n");
            std::fflush(stdout);
            std::string line;
            std::getline(std::cin, line);
        }
    });
    const int count = scenario == "append-many" ? arguments.value(3).toInt() : 1;
    for (int n = 1; n <= count; ++n) {
        const QString face = scenario == "append-many" ? u"%1 %2"_s.arg(arguments.value(2)).arg(n)
                                                       : arguments.value(2);
        const FaceFileChange appended = appendFace(path, face);
        if (appended.outcome != FaceFileChange::Outcome::Done) {
            std::printf("failed: %s\n", qPrintable(appended.reason));
            return 0;
        }
    }
    std::printf("done\n");
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc >= 3 && QByteArray(argv[1]) == "--child")
        return otherCopy(app.arguments().mid(2));
    TestFaceFile test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_facefile.moc"
