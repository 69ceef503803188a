// SPDX-License-Identifier: MIT
// The face file on disk: its line rule and code page, what reading it finds, appending, the
// rewrite, and other copies of the program changing it at the same time.
#include "catalogue/BuiltinFaces.h"
#include "catalogue/FaceFile.h"
#include "catalogue/FailureReasons.h"
#include "catalogue/FileCalls.h"
#include "text/CodePage932.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include "support/Files.h"
#include "support/ReadOnlyFolder.h"

#include <cstdio>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include <csignal>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;
using Reason = FaceFileRefusal::Reason;
using Refusal = std::optional<FaceFileRefusal>;
const Refusal kDone;

// A comparison that fails shows the refusal and its detail.
template <> char *QTest::toString(const Refusal &refusal)
{
    return refusal
               ? QTest::toString(u"reason %1: %2"_s.arg(int(refusal->reason)).arg(refusal->detail))
               : qstrdup("done");
}

namespace {

// The faces a reading finds, or what it found instead.
QStringList facesIn(const QString &path)
{
    const FaceFileReading reading = readFaceFile(path);
    if (reading.state == FaceFileReading::State::Absent)
        return {u"<absent>"_s};
    if (reading.state == FaceFileReading::State::Unreadable)
        return {u"<unreadable: %1>"_s.arg(reading.reason)};
    return reading.faces;
}

// What a deletion window listed from a file holding these lines, each ended by CR LF.
FaceFileReading listingOf(const QList<QByteArray> &lines)
{
    QByteArray content;
    for (const QByteArray &line : lines)
        content += line + "\r\n";
    return readFaceContent(content);
}

QStringList allBuiltinFaces()
{
    QStringList faces;
    for (const Catalogue::Category *category : Catalogue::kCategories)
        for (std::u16string_view face : category->faces)
            faces << QString::fromUtf16(face.data(), qsizetype(face.size()));
    return faces;
}

const QString kNotAFile = u"ファイルではないものがその名前で置かれています"_s;
const QString kNotAllowed = u"アクセスが許可されていません"_s;

// The calls that make a change last, as a test sees them, in order.
class DiskCallRecorder {
public:
    DiskCallRecorder()
    {
        setDiskCalls({[this](int fd) {
                          struct stat info {};
                          ::fstat(fd, &info);
                          calls << (S_ISDIR(info.st_mode) ? u"sync folder"_s : u"sync file"_s);
                          return failing == calls.last() ? fail() : ::fsync(fd);
                      },
                      [this](int folder, const char *from, const char *to) {
                          calls << u"rename"_s;
                          return failing == calls.last() ? fail()
                                                         : ::renameat(folder, from, folder, to);
                      }});
    }
    ~DiskCallRecorder() { setDiskCalls({}); }
    DiskCallRecorder(const DiskCallRecorder &) = delete;
    DiskCallRecorder &operator=(const DiskCallRecorder &) = delete;

    QStringList calls;
    // The call that fails, and how, as the system would fail it.
    QString failing;
    int error = 0;

private:
    int fail() const
    {
        errno = error;
        return -1;
    }
};

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
    void stop() { ::kill(pid_t(process_.processId()), SIGSTOP); }
    void resume() { ::kill(pid_t(process_.processId()), SIGCONT); }
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
        if (situation == "name too long")
            return folder_.filePath(QString(300, u'x'));
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
        QCOMPARE(appendFace(path_, text), kDone);
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
        QCOMPARE(CodePage932::unrepresentable(u"¥〜‾"_s), u"¥‾"_s);
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
            << QStringList{
                   unreadable.arg(u"フォルダーの名前でファイルが置かれています（ENOTDIR）"_s)};
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
        const QStringList first = readFaceFile(path_, 501).faces;
        QCOMPARE(first.size(), 501);
        QCOMPARE(first.last(), u"face 501"_s);
        QCOMPARE(readFaceFile(path_).faces.size(), 600);
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
        QCOMPARE(appendFace(path_, u"zz"_s), kDone);
        QCOMPARE(readBytes(path_), after);
        QCOMPARE(facesIn(path_), faces);
        // Every face that was there reads back as before, the new one after them.
        QCOMPARE(facesIn(path_).first(facesBefore.size()), facesBefore);
    }

    void appendRefusesWhatTheFileCannotHold_data()
    {
        QTest::addColumn<QString>("face");
        QTest::addColumn<FaceFileRefusal>("refusal");
        const FaceFileRefusal lineBreak{Reason::LineBreak, {}};
        QTest::newRow("empty") << QString() << FaceFileRefusal{Reason::EmptyFace, {}};
        QTest::newRow("CR") << u"ab\rcd"_s << lineBreak;
        QTest::newRow("CR LF") << u"ab\r\ncd"_s << lineBreak;
        QTest::newRow("LF") << u"ab\ncd"_s << lineBreak;
        QTest::newRow("line end last") << u"ab\r\n"_s << lineBreak;
        QTest::newRow("not code page 932")
            << u"(😀)"_s << FaceFileRefusal{Reason::Unrepresentable, u"😀"_s};
    }

    void appendRefusesWhatTheFileCannotHold()
    {
        QFETCH(QString, face);
        QFETCH(FaceFileRefusal, refusal);
        QCOMPARE(refusalOfFace(face), refusal);
        QVERIFY(writeBytes(path_, "a\r\n"));
        QCOMPARE(appendFace(path_, face), refusal);
        QCOMPARE(readBytes(path_), QByteArray("a\r\n"));
    }

    void everyBuiltinFaceSurvivesTheFile()
    {
        const QStringList faces = allBuiltinFaces();
        QCOMPARE(faces.size(), 125);
        QByteArray expected;
        for (const QString &face : faces) {
            QVERIFY2(!appendFace(path_, face), qPrintable(face));
            expected += CodePage932::encode(face) + "\r\n";
        }
        QCOMPARE(facesIn(path_), faces);
        QCOMPARE(readBytes(path_), expected);
    }

    void failedAppendsSayWhyAndChangeNothing_data()
    {
        QTest::addColumn<QString>("situation");
        QTest::addColumn<QString>("reason");
        QTest::newRow("absent folder") << "absent folder" << u"フォルダーがありません（ENOENT）"_s;
        QTest::newRow("a folder in its place") << "folder" << kNotAFile;
        QTest::newRow("a FIFO in its place") << "fifo" << kNotAFile;
        QTest::newRow("a name too long")
            << "name too long" << u"ファイルの名前かパスが長すぎます（ENAMETOOLONG）"_s;
    }

    void failedAppendsSayWhyAndChangeNothing()
    {
        QFETCH(QString, situation);
        QFETCH(QString, reason);
        const QString path = pathIn(situation);
        QVERIFY(!path.isEmpty());
        QCOMPARE(appendFace(path, u"(^^)"_s), (FaceFileRefusal{Reason::NotAppended, reason}));
        QCOMPARE(
            QDir(folder_.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::System),
            situation == "absent folder" || situation == "name too long"
                ? QStringList{}
                : QStringList{u"顔ファイル.dat"_s});
    }

    // Another program, which takes no lock, changes the file while the append waits for its
    // turn: the new face still goes after the file's last line as it is then.
    void appendAfterAnotherProgramChangedTheFile_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QByteArray>("changedTo");
        QTest::addColumn<QByteArray>("after");
        QTest::newRow("cut short to ended lines")
            << QByteArray("a\r\nbcd") << QByteArray("a\r\n") << QByteArray("a\r\nn\r\n");
        QTest::newRow("cut short to an unended line")
            << QByteArray("a\r\nbcd") << QByteArray("a\r\nb") << QByteArray("a\r\nb\r\nn\r\n");
        QTest::newRow("cut short to nothing")
            << QByteArray("a\r\nbcd") << QByteArray() << QByteArray("n\r\n");
        QTest::newRow("an unended face appended to an empty file")
            << QByteArray() << QByteArray("zz") << QByteArray("zz\r\nn\r\n");
        QTest::newRow("the unended last line ended")
            << QByteArray("a") << QByteArray("a\r\n") << QByteArray("a\r\nn\r\n");
    }

    void appendAfterAnotherProgramChangedTheFile()
    {
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, changedTo);
        QFETCH(QByteArray, after);
        QVERIFY(writeBytes(path_, before));
        setFaceFileObserver([&](FaceFileMoment moment) {
            if (moment == FaceFileMoment::AboutToAppend)
                QVERIFY(writeBytes(path_, changedTo));
        });
        QCOMPARE(appendFace(path_, u"n"_s), kDone);
        QCOMPARE(readBytes(path_), after);
    }

    void rewrite_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("index");
        QTest::addColumn<QList<QByteArray>>("listed");
        QTest::addColumn<Refusal>("refusal");
        QTest::addColumn<QByteArray>("after");
        const QByteArray three("a\r\nb\r\nc\r\n");
        const QList<QByteArray> abc = byteLines({"a", "b", "c"});
        const Refusal notListed = FaceFileRefusal{Reason::NotListed, {}};
        const Refusal changed = FaceFileRefusal{Reason::Changed, {}};
        QTest::newRow("middle") << three << 1 << abc << kDone << QByteArray("a\r\nc\r\n");
        QTest::newRow("first") << three << 0 << abc << kDone << QByteArray("b\r\nc\r\n");
        QTest::newRow("last") << three << 2 << abc << kDone << QByteArray("a\r\nb\r\n");
        QTest::newRow("the only face, leaving an empty file")
            << QByteArray("a\r\n") << 0 << byteLines({"a"}) << kDone << QByteArray();
        for (int notListedIndex : {-1, 3, -2, 11})
            QTest::addRow("index %d is not listed", notListedIndex)
                << three << notListedIndex << abc << notListed << three;
        QTest::newRow("any number of an empty list")
            << QByteArray() << 0 << QList<QByteArray>{} << notListed << QByteArray();
        QTest::newRow("changed since listed") << QByteArray("a\r\nX\r\nc\r\n") << 1 << abc
                                              << changed << QByteArray("a\r\nX\r\nc\r\n");
        QTest::newRow("shorter since listed")
            << QByteArray("a\r\n") << 1 << abc << changed << QByteArray("a\r\n");
        QTest::newRow("lines added since listed")
            << QByteArray("a\r\nb\r\nc\r\nnew\r\n") << 1 << abc << kDone
            << QByteArray("a\r\nc\r\nnew\r\n");
        QTest::newRow("other line ends kept as stored")
            << QByteArray("a\rb\r\nc\nd") << 1 << byteLines({"a", "b", "c\nd"}) << kDone
            << QByteArray("a\rc\nd");
        QTest::newRow("lone CR before a face that begins with LF")
            << QByteArray("x\ra\r\n\nb\r\n") << 1 << byteLines({"x", "a", "\nb"}) << kDone
            << QByteArray("x\r\n\nb\r\n");
        QTest::newRow("bytes that are not code page 932")
            << QByteArray("\x81\xFF\r\nb\r\n\x85\x40\r\n") << 1
            << QList<QByteArray>{"\x81\xFF", "b", "\x85\x40"} << kDone
            << QByteArray("\x81\xFF\r\n\x85\x40\r\n");
        // Such bytes read as U+FFFD: only the bytes tell the listed face from another one.
        QTest::newRow("the listed bytes that are not code page 932")
            << QByteArray("\x81\xFF\r\nb\r\n") << 0 << QList<QByteArray>{"\x81\xFF", "b"} << kDone
            << QByteArray("b\r\n");
        QTest::newRow("other bytes that read the same")
            << QByteArray("\x81\xFE\r\nb\r\n") << 0 << QList<QByteArray>{"\x81\xFF", "b"} << changed
            << QByteArray("\x81\xFE\r\nb\r\n");
    }

    void rewrite()
    {
        QFETCH(QByteArray, content);
        QFETCH(int, index);
        QFETCH(QList<QByteArray>, listed);
        QFETCH(Refusal, refusal);
        QFETCH(QByteArray, after);
        QVERIFY(writeBytes(path_, content));
        QVERIFY(backdate(path_));
        const QString before = fingerprint(path_);
        QCOMPARE(removeListedFace(path_, index, listingOf(listed)), refusal);
        QCOMPARE(readBytes(path_), after);
        // When nothing is deleted, the file is not even touched.
        if (refusal)
            QCOMPARE(fingerprint(path_), before);
        QCOMPARE(QDir(folder_.path()).entryList(QDir::Files), QStringList{u"顔ファイル.dat"_s});
    }

    void absentFileStaysAbsent()
    {
        QCOMPARE(removeListedFace(path_, 0, listingOf({})),
                 (FaceFileRefusal{Reason::NotListed, {}}));
        QCOMPARE(removeListedFace(path_, 0, listingOf({"a"})),
                 (FaceFileRefusal{Reason::Changed, {}}));
        QVERIFY(!QFileInfo::exists(path_));
    }

    void linesPastTheListedOnesStay()
    {
        const FaceFileReading listed = readFaceContent(numberedLines(1, 600), 501);
        QVERIFY(writeBytes(path_, numberedLines(1, 600)));
        QCOMPARE(removeListedFace(path_, 2, listed), kDone);
        QCOMPARE(readBytes(path_), numberedLines(1, 2) + numberedLines(4, 600));
        QVERIFY(writeBytes(path_, numberedLines(1, 600)));
        QCOMPARE(removeListedFace(path_, 500, listed), kDone);
        QCOMPARE(readBytes(path_), numberedLines(1, 500) + numberedLines(502, 600));
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
        const Refusal removed = removeListedFace(path_, 0, listingOf({"a", "b"}));
        QVERIFY(removed);
        QCOMPARE(removed->reason, Reason::NotRewritten);
        // Root is stopped by the folder's immutable flag, anyone else by its mode.
        QCOMPARE(removed->detail, situation == "folder" ? kNotAFile
                                  : geteuid() == 0      ? kNotAllowed + u"（EPERM）"_s
                                                        : kNotAllowed + u"（EACCES）"_s);
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
        QCOMPARE(removeListedFace(path_, 0, listingOf({"a", "b"})), kDone);
        QCOMPARE(QFileInfo(path_).symLinkTarget(), real);
        QCOMPARE(readBytes(real), QByteArray("b\r\n"));
        QCOMPARE(QFileInfo(real).permissions() & 0x0FFF,
                 QFile::ReadUser | QFile::WriteUser | QFile::ReadGroup);
        // Appending through the link reaches the same file.
        QCOMPARE(appendFace(path_, u"c"_s), kDone);
        QCOMPARE(readBytes(real), QByteArray("b\r\nc\r\n"));
    }

    void rewriteKeepsOwnerGroupAndMode_data()
    {
        QTest::addColumn<uint>("owner");
        QTest::addColumn<uint>("group");
        QTest::addColumn<uint>("mode");
        QTest::newRow("another user's file") << 65534u << 65534u << 0644u;
        QTest::newRow("another group's file") << 0u << 65534u << 0660u;
        QTest::newRow("read-only, which root may change") << 0u << 0u << 0444u;
    }

    void rewriteKeepsOwnerGroupAndMode()
    {
        QFETCH(uint, owner);
        QFETCH(uint, group);
        QFETCH(uint, mode);
        if (geteuid() != 0)
            QSKIP("only root can give a file to another user");
        QVERIFY(writeBytes(path_, "a\r\nb\r\n"));
        const QByteArray name = QFile::encodeName(path_);
        QCOMPARE(::chown(name.constData(), owner, group), 0);
        QCOMPARE(::chmod(name.constData(), mode), 0);
        QCOMPARE(removeListedFace(path_, 0, listingOf({"a", "b"})), kDone);
        QCOMPARE(readBytes(path_), QByteArray("b\r\n"));
        struct stat after {};
        QCOMPARE(::stat(name.constData(), &after), 0);
        QCOMPARE(uint(after.st_uid), owner);
        QCOMPARE(uint(after.st_gid), group);
        QCOMPARE(uint(after.st_mode & 07777), mode);
    }

    // Near the system's limit of 4,095 bytes a path has no room for a longer one beside it.
    void rewriteNearThePathLimit()
    {
        const int nameBytes = int(QFile::encodeName(u"/顔ファイル.dat"_s).size());
        QString folder = folder_.path();
        for (int left = 4090 - nameBytes - int(QFile::encodeName(folder).size()); left > 0;) {
            // A last step of one byte would leave no room for a name after its slash.
            const int step = qMin(200, left == 201 ? 150 : left);
            folder += u'/' + QString(step - 1, u'x');
            left -= step;
        }
        QVERIFY(QDir().mkpath(folder));
        const QString path = folder + u"/顔ファイル.dat"_s;
        QCOMPARE(QFile::encodeName(path).size(), 4090);
        QCOMPARE(appendFace(path, u"a"_s), kDone);
        QCOMPARE(appendFace(path, u"b"_s), kDone);
        QCOMPARE(removeListedFace(path, 0, listingOf({"a", "b"})), kDone);
        QCOMPARE(readBytes(path), QByteArray("b\r\n"));
        QCOMPARE(QDir(folder).entryList(QDir::Files), QStringList{u"顔ファイル.dat"_s});
    }

    // A program that takes no lock, such as `echo >>` or a file-sync tool, appends while a
    // rewrite is under way: its lines are never undone by the rename. The rewrite starts again
    // from the file as it is then, and gives up after a few tries. So for a tool that edits the
    // file in place to the same size and puts its modification time back (`rsync --inplace
    // --times`): only the change time tells.
    void unlockedAppendDuringARewriteIsKept_data()
    {
        QTest::addColumn<bool>("inPlace");
        QTest::addColumn<int>("writes");
        QTest::addColumn<Refusal>("refusal");
        QTest::addColumn<QByteArray>("after");
        QTest::newRow("once") << false << 1 << kDone << QByteArray("a\r\nc\r\nEXTRA 1\r\n");
        QTest::newRow("at every try")
            << false << 1000 << Refusal(FaceFileRefusal{Reason::Changed, {}})
            << QByteArray("a\r\nb\r\nc\r\nEXTRA 1\r\nEXTRA 2\r\nEXTRA 3\r\n");
        QTest::newRow("same size in place, modification time put back")
            << true << 1 << kDone << QByteArray("A\r\nc\r\n");
    }

    void unlockedAppendDuringARewriteIsKept()
    {
        QFETCH(bool, inPlace);
        QFETCH(int, writes);
        QFETCH(Refusal, refusal);
        QFETCH(QByteArray, after);
        QVERIFY(writeBytes(path_, "a\r\nb\r\nc\r\n"));
        int written = 0;
        setFaceFileObserver([&](FaceFileMoment moment) {
            if (moment != FaceFileMoment::AboutToReplace || written == writes)
                return;
            ++written;
            if (inPlace)
                QVERIFY(editInPlaceKeepingTheTimes(path_, 0, 'A'));
            else
                QVERIFY(appendBytes(path_, "EXTRA " + QByteArray::number(written) + "\r\n"));
        });
        QCOMPARE(removeListedFace(path_, 1, listingOf({"a", "b", "c"})), refusal);
        QCOMPARE(readBytes(path_), after);
        QCOMPARE(QDir(folder_.path()).entryList(QDir::Files), QStringList{u"顔ファイル.dat"_s});
    }

    // The face file is a link, pointed elsewhere while the rewrite waits for another copy: the
    // file it points to now is rewritten, and the one it pointed to before is left alone.
    void rewriteFollowsALinkPointedElsewhereMeanwhile()
    {
        const QString before = folder_.filePath(u"before.dat"_s);
        const QString now = folder_.filePath(u"now.dat"_s);
        QVERIFY(writeBytes(before, "a\r\nb\r\n"));
        QVERIFY(writeBytes(now, "a\r\nb\r\n"));
        QVERIFY(QFile::link(before, path_));
        OtherCopy other({u"append-held"_s, before, u"new"_s});
        QVERIFY(other.said("holding"));
        setFaceFileObserver([&](FaceFileMoment moment) {
            if (moment != FaceFileMoment::WaitingForLock)
                return;
            QVERIFY(QFile::remove(path_));
            QVERIFY(QFile::link(now, path_));
            other.tellToGoOn();
        });
        QCOMPARE(removeListedFace(path_, 0, listingOf({"a", "b"})), kDone);
        QCOMPARE(other.ending(), QByteArray("done"));
        QCOMPARE(readBytes(before), QByteArray("a\r\nb\r\nnew\r\n"));
        QCOMPARE(readBytes(now), QByteArray("b\r\n"));
        QCOMPARE(QFileInfo(path_).symLinkTarget(), now);
    }

    void changesReachTheDiskInOrder_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QStringList>("calls");
        QTest::newRow("registering") << "append" << QStringList{"sync file"};
        QTest::newRow("registering the first face, which makes the file")
            << "first append" << QStringList{"sync file", "sync folder"};
        QTest::newRow("deleting") << "remove" << QStringList{"sync file", "rename", "sync folder"};
    }

    void changesReachTheDiskInOrder()
    {
        QFETCH(QString, change);
        QFETCH(QStringList, calls);
        if (change != "first append")
            QVERIFY(writeBytes(path_, "a\r\nb\r\n"));
        DiskCallRecorder recorder;
        const Refusal done = change == "remove" ? removeListedFace(path_, 0, listingOf({"a", "b"}))
                                                : appendFace(path_, u"c"_s);
        QCOMPARE(done, kDone);
        QCOMPARE(recorder.calls, calls);
    }

    // A call that fails leaves the file as it was, says why, and leaves no other file behind.
    void failedDiskCallsChangeNothing_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QString>("failing");
        QTest::addColumn<int>("error");
        QTest::addColumn<QString>("reason");
        QTest::newRow("rename refused, as in a shared folder")
            << "remove"
            << "rename" << EPERM << kNotAllowed + u"（EPERM）"_s;
        QTest::newRow("a folder put in the file's place before the rename")
            << "remove"
            << "rename" << EISDIR << kNotAFile + u"（EISDIR）"_s;
        QTest::newRow("the new file does not reach the disk")
            << "remove"
            << "sync file" << EIO << u"ディスクの読み書きに失敗しました（EIO）"_s;
        QTest::newRow("the appended face does not reach the disk")
            << "append"
            << "sync file" << EIO << u"ディスクの読み書きに失敗しました（EIO）"_s;
    }

    void failedDiskCallsChangeNothing()
    {
        QFETCH(QString, change);
        QFETCH(QString, failing);
        QFETCH(int, error);
        QFETCH(QString, reason);
        QVERIFY(writeBytes(path_, "a\r\nb\r\n"));
        QVERIFY(backdate(path_));
        const QString untouched = fingerprint(path_);
        DiskCallRecorder recorder;
        recorder.failing = failing;
        recorder.error = error;
        const Refusal done = change == "remove" ? removeListedFace(path_, 0, listingOf({"a", "b"}))
                                                : appendFace(path_, u"c"_s);
        QCOMPARE(done,
                 (FaceFileRefusal{change == "remove" ? Reason::NotRewritten : Reason::NotAppended,
                                  reason}));
        QCOMPARE(readBytes(path_), QByteArray("a\r\nb\r\n"));
        if (change == "remove")
            QCOMPARE(fingerprint(path_), untouched);
        QCOMPARE(QDir(folder_.path()).entryList(QDir::Files), QStringList{u"顔ファイル.dat"_s});
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
        QCOMPARE(removeListedFace(path_, 1, listingOf({"a", "b", "c"})), kDone);
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
        QCOMPARE(removeListedFace(path_, 1, listingOf({"a", "b", "c"})), kDone);
        QVERIFY(waited);
        QCOMPARE(other.ending(), QByteArray("done"));
        QCOMPARE(readBytes(path_), QByteArray("a\r\nc\r\nnew\r\n"));
    }

    // Only a holder known to be another copy is named as one.
    void somethingHoldingOnIsReported_data()
    {
        QTest::addColumn<QString>("holder");
        QTest::addColumn<QString>("reason");
        QTest::addColumn<QByteArray>("after");
        const QString waitAndRetry =
            u"が顔ファイルを使っています。少し待ってから、もう一度お試しください"_s;
        QTest::newRow("another copy")
            << "append-held" << u"ほかのピコラ３"_s + waitAndRetry << QByteArray("a\r\nlate\r\n");
        QTest::newRow("another program, as `flock FILE sleep 600`")
            << "lock-held" << u"ほかのプログラム"_s + waitAndRetry << QByteArray("a\r\n");
    }

    void somethingHoldingOnIsReported()
    {
        QFETCH(QString, holder);
        QFETCH(QString, reason);
        QFETCH(QByteArray, after);
        QVERIFY(writeBytes(path_, "a\r\n"));
        OtherCopy other({holder, path_, u"late"_s});
        QVERIFY(other.said("holding"));
        QCOMPARE(appendFace(path_, u"mine"_s), (FaceFileRefusal{Reason::NotAppended, reason}));
        QCOMPARE(removeListedFace(path_, 0, listingOf({"a"})),
                 (FaceFileRefusal{Reason::NotRewritten, reason}));
        QCOMPARE(readBytes(path_), QByteArray("a\r\n"));
        other.tellToGoOn();
        QCOMPARE(other.ending(), QByteArray("done"));
        QCOMPARE(readBytes(path_), after);
    }

    // A copy that has just let go of the file cannot take it again before one that was waiting,
    // however briefly each holds it. The waiting copy is stopped while it holds its place in
    // line, so that only that place can keep this one from passing it.
    void aWaitingCopyIsNotPassedOver()
    {
        QVERIFY(writeBytes(path_, "x\r\n"));
        std::unique_ptr<OtherCopy> other;
        setFaceFileObserver([&](FaceFileMoment moment) {
            if (moment == FaceFileMoment::AboutToAppend && !other) {
                other = std::make_unique<OtherCopy>(QStringList{u"append"_s, path_, u"other"_s});
                QVERIFY(other->said("waiting"));
                other->stop();
            } else if (moment == FaceFileMoment::WaitingForLock) {
                other->resume();
            }
        });
        QCOMPARE(appendFace(path_, u"mine 1"_s), kDone);
        QCOMPARE(appendFace(path_, u"mine 2"_s), kDone);
        other->resume();
        QCOMPARE(other->ending(), QByteArray("done"));
        QCOMPARE(readBytes(path_), QByteArray("x\r\nmine 1\r\nother\r\nmine 2\r\n"));
    }

    void reasonsNameTheError_data()
    {
        QTest::addColumn<int>("error");
        QTest::addColumn<QString>("reason");
        QTest::newRow("busy") << EBUSY << u"デバイスが使用中です（EBUSY）"_s;
        QTest::newRow("no space, where there is")
            << ENOSPC << u"ディスクに空きがありません（ENOSPC）"_s;
        QTest::newRow("without a text of its own")
            << EXDEV << u"予期しないエラーが起きました（EXDEV）"_s;
        QTest::newRow("without a name")
            << 4000 << u"予期しないエラーが起きました（エラー番号 4000）"_s;
    }

    void reasonsNameTheError()
    {
        QFETCH(int, error);
        QFETCH(QString, reason);
        QCOMPARE(errorReason(error, path_), reason);
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

    // The documents folder comes from HOME and user-dirs.dirs, and never from the folder the
    // program was started in. "<account>" is the account's home in the password database.
    void faceFileFollowsTheDocumentsFolder_data()
    {
        QTest::addColumn<QString>("home");
        QTest::addColumn<QString>("documentsDir");
        QTest::addColumn<QString>("expected");
        QTest::newRow("HOME unset")
            << QString() << QString() << u"<account>/Documents/顔ファイル.dat"_s;
        QTest::newRow("no user-dirs.dirs")
            << u"/h"_s << QString() << u"/h/Documents/顔ファイル.dat"_s;
        QTest::newRow("under $HOME") << u"/h"_s << u"$HOME/書類"_s << u"/h/書類/顔ファイル.dat"_s;
        QTest::newRow("absolute") << u"/h"_s << u"/data/docs"_s << u"/data/docs/顔ファイル.dat"_s;
        QTest::newRow("relative") << u"/h"_s << u"Documents"_s << u"/h/Documents/顔ファイル.dat"_s;
        QTest::newRow("relative to the current folder")
            << u"/h"_s << u"./docs"_s << u"/h/Documents/顔ファイル.dat"_s;
    }

    void faceFileFollowsTheDocumentsFolder()
    {
        QFETCH(QString, home);
        QFETCH(QString, documentsDir);
        QFETCH(QString, expected);
        QTemporaryDir config;
        QVERIFY(config.isValid());
        if (!documentsDir.isEmpty())
            QVERIFY(writeBytes(config.filePath(u"user-dirs.dirs"_s),
                               "XDG_DOCUMENTS_DIR=\"" + documentsDir.toUtf8() + "\"\n"));
        QProcess child;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(u"HOME"_s);
        if (!home.isEmpty())
            environment.insert(u"HOME"_s, home);
        environment.insert(u"XDG_CONFIG_HOME"_s, config.path());
        child.setProcessEnvironment(environment);
        child.setWorkingDirectory(config.path());
        child.start(QCoreApplication::applicationFilePath(), {u"--child"_s, u"path"_s});
        QVERIFY(child.waitForFinished());
        const passwd *account = getpwuid(getuid());
        QVERIFY(account);
        expected.replace(u"<account>"_s, QFile::decodeName(account->pw_dir));
        QCOMPARE(QString::fromUtf8(child.readAllStandardOutput()).trimmed(), expected);
    }
};

namespace {

// Holds the file's lock as another program would, until told to let go.
int holdLockAsAnotherProgram(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || ::flock(file.handle(), LOCK_EX) != 0)
        return 1;
    std::printf("holding\n");
    std::fflush(stdout);
    std::string line;
    std::getline(std::cin, line);
    std::printf("done\n");
    return 0;
}

// The other copy's side: appends faces and says how it went; "held" stops it at each face,
// holding the lock, until it is told to go on.
int otherCopy(const QStringList &arguments)
{
    const QString scenario = arguments.value(0);
    if (scenario == "path") {
        std::printf("%s\n", qPrintable(faceFilePath()));
        return 0;
    }
    const QString path = arguments.value(1);
    if (scenario == "lock-held")
        return holdLockAsAnotherProgram(path);
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
    // A count after the face numbers the faces.
    const int count = arguments.value(3, u"1"_s).toInt();
    for (int n = 1; n <= count; ++n) {
        const QString face =
            arguments.size() > 3 ? u"%1 %2"_s.arg(arguments.value(2)).arg(n) : arguments.value(2);
        if (const Refusal refusal = appendFace(path, face)) {
            std::printf("failed: %s\n", qPrintable(refusal->detail));
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
