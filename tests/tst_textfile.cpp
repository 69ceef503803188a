// SPDX-License-Identifier: MIT
#include "catalogue/BuiltinFaces.h"
#include "platform/CodePage932.h"
#include "platform/TextFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "support/Files.h"

#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace {

QStringList readAllLines(const QString &path)
{
    TextFile file;
    QStringList lines;
    if (!file.openForInput(path))
        return {u"<failed: %1>"_s.arg(file.errorString())};
    while (!file.atEnd()) {
        QString line;
        if (!file.readLine(line))
            return {u"<failed>"_s};
        lines << line;
    }
    return lines;
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

} // namespace

class TestTextFile : public QObject {
    Q_OBJECT

    QTemporaryDir folder_;
    QString path_;

private slots:
    void init() { path_ = folder_.filePath(u"顔ファイル.dat"_s); }
    void cleanup() { QFile::remove(path_); }

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
        writeBytes(path_, bytes);
        QCOMPARE(readAllLines(path_), lines);
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
        writeBytes(path_, "ok\r\n" + bytes + "\r\nok\r\n");
        QCOMPARE(readAllLines(path_), (QStringList{"ok", text, "ok"}));
    }

    void readLineGivesTheBytesAsStored()
    {
        writeBytes(path_, QByteArray("\x83\x5C\xFF\r\nb"));
        TextFile file;
        QVERIFY(file.openForInput(path_));
        QString text;
        QByteArray bytes;
        QVERIFY(file.readLine(text, bytes));
        QCOMPARE(bytes, QByteArray("\x83\x5C\xFF"));
        QCOMPARE(text, u"ソ\uFFFD"_s);
        QVERIFY(file.readLine(text, bytes));
        QCOMPARE(bytes, QByteArray("b"));
        QVERIFY(file.atEnd());
        QVERIFY(!file.readLine(text));
    }

    void unrepresentableCharacters()
    {
        QCOMPARE(CodePage932::unrepresentable(u"(^o^)"_s), QString());
        QCOMPARE(CodePage932::unrepresentable(u"(😀é😀)"_s), u"😀é"_s);
        // These have code page 932 look-alikes, but would not read back as typed.
        QCOMPARE(CodePage932::unrepresentable(u"¥〜"_s), u"¥〜"_s);
    }

    void appendWritesCodePage932WithCrLf()
    {
        TextFile file;
        QVERIFY(file.openForAppend(path_));
        QVERIFY(file.writeLine(u" ＼(^^＼)"_s));
        QVERIFY(file.writeLine(QString()));
        file.close();
        QVERIFY(file.openForAppend(path_));
        QVERIFY(file.writeLine(u"（・・　）"_s));
        file.close();
        QCOMPARE(readBytes(path_),
                 QByteArray(
                     " \x81\x5F(^^\x81\x5F)\r\n\r\n\x81\x69\x81\x45\x81\x45\x81\x40\x81\x6A\r\n"));
    }

    void refusesToWriteWhatItCannotHold()
    {
        writeBytes(path_, "a\r\n");
        TextFile file;
        QVERIFY(file.openForAppend(path_));
        QVERIFY(!file.writeLine(u"(😀)"_s));
        QVERIFY(!file.errorString().isEmpty());
        file.close();
        QCOMPARE(readBytes(path_), QByteArray("a\r\n"));
    }

    void everyBuiltinFaceSurvivesTheFile()
    {
        const QStringList faces = allBuiltinFaces();
        QCOMPARE(faces.size(), 125);
        TextFile file;
        QVERIFY(file.openForAppend(path_));
        for (const QString &face : faces)
            QVERIFY2(file.writeLine(face), qPrintable(face));
        file.close();
        QCOMPARE(readAllLines(path_), faces);
        QByteArray expected;
        for (const QString &face : faces)
            expected += CodePage932::encode(face) + "\r\n";
        QCOMPARE(readBytes(path_), expected);
    }

    void failuresAreReported()
    {
        TextFile file;
        QVERIFY(!file.openForInput(folder_.filePath(u"absent.dat"_s)));
        QVERIFY(!file.errorString().isEmpty());
        QVERIFY(!file.openForInput(folder_.path()));
        QVERIFY(!file.openForAppend(folder_.path()));
        QVERIFY(!file.openForAppend(folder_.filePath(u"no folder/顔ファイル.dat"_s)));
        QVERIFY(!QDir(folder_.filePath(u"no folder"_s)).exists());

        const QString fifo = folder_.filePath(u"fifo"_s);
        QCOMPARE(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        QVERIFY(!file.openForInput(fifo));
        QCOMPARE(file.errorString(), u"not a regular file"_s);
    }

    void oneOpenFileAtATime()
    {
        writeBytes(path_, "a\r\n");
        TextFile first;
        QVERIFY(first.openForInput(path_));
        TextFile second;
        QVERIFY(!second.openForInput(path_));
        QVERIFY(!second.openForAppend(path_));
        first.close();
        QVERIFY(second.openForAppend(path_));
    }
};

QTEST_GUILESS_MAIN(TestTextFile)
#include "tst_textfile.moc"
