// SPDX-License-Identifier: MIT
#include "catalogue/BuiltinFaces.h"
#include "support/Files.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

// The real program started as a shell, a launcher or a desktop starts it, with no display
// anywhere: any attempt at a window would fail, so what answers here needs none.

namespace {

// What stands at the face file's place before the program runs: these, or the file's bytes.
const QByteArray kNoFile = "<no file>";
const QByteArray kNoDocuments = "<no documents folder>";
const QByteArray kFolder = "<folder>";

const QByteArray kJapaneseHelp = R"(使い方：picora3 [オプション] [Qt のオプション]
顔文字（「顔」）を選んで、貼り付けられるようにクリップボードに入れます。
オプションがなければウィンドウを開きます。

  -h, --help     この使い方を表示して終わります
      --version  バージョンを表示して終わります
      --list     すべての「顔」を一行に一つずつ UTF-8 で表示して終わります
                 （組み込みの六つの系をボタンの順に、続いて登録した「顔」を）

Qt のオプション（-platform 名前、-display ディスプレイ、-style スタイルなど）も使えます。
詳しくは「man picora3」をご覧ください。
)";

const QByteArray kEnglishHelp = R"(Usage: picora3 [OPTION] [QT-OPTION]...
Pick a Japanese text emoticon (a "face") and put it on the clipboard.
Without an option, it opens its window.

  -h, --help     show this help and exit
      --version  show the version and exit
      --list     print every face, one a line in UTF-8, and exit
                 (the six built-in categories in button order, then your own)

Qt's own options (-platform NAME, -display DISPLAY, -style STYLE, ...) work too.
See "man picora3" for more.
)";

const QString kSeeHelp = u"使い方は「picora3 --help」で表示されます。\n"_s;

// The built-in faces as --list prints them: the buttons column by column, one face a line.
QByteArray builtinLines()
{
    QByteArray lines;
    for (const Catalogue::Category *category : Catalogue::kCategories) {
        for (std::u16string_view face : category->faces)
            lines += QString::fromUtf16(face.data(), qsizetype(face.size())).toUtf8() + '\n';
    }
    return lines;
}

} // namespace

class TestCommandLine : public QObject {
    Q_OBJECT

    QTemporaryDir home_;

    QString documents() const { return home_.path() + u"/Documents"_s; }
    QString faceFile() const { return documents() + u"/顔ファイル.dat"_s; }

    // Puts `place` (a marker above, or the file's bytes) at the face file's place.
    bool arrange(const QByteArray &place) const
    {
        QDir(documents()).removeRecursively();
        if (place == kNoDocuments)
            return !QDir(documents()).exists();
        if (!QDir().mkpath(documents()))
            return false;
        if (place == kFolder)
            return QDir().mkdir(faceFile());
        return place == kNoFile || writeBytes(faceFile(), place);
    }

    // No display, a platform that needs one, and the locale only as the row sets it.
    QProcessEnvironment environment(const QStringList &settings) const
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const QString &name : {u"DISPLAY"_s, u"WAYLAND_DISPLAY"_s, u"XDG_CONFIG_HOME"_s,
                                    u"LC_ALL"_s, u"LC_MESSAGES"_s, u"LANG"_s, u"LANGUAGE"_s})
            environment.remove(name);
        environment.insert(u"QT_QPA_PLATFORM"_s, u"xcb"_s);
        environment.insert(u"HOME"_s, home_.path());
        for (const QString &setting : settings)
            environment.insert(setting.section(u'=', 0, 0), setting.section(u'=', 1));
        return environment;
    }

private slots:
    void initTestCase() { QVERIFY(home_.isValid()); }

    void answersWithoutADisplay_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QStringList>("locale");
        QTest::addColumn<QByteArray>("place");
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("out");
        QTest::addColumn<QString>("err"); // %1 stands for the face file's path

        const QStringList japanese{u"LANG=ja_JP.UTF-8"_s};
        const QByteArray builtin = builtinLines();
        QTest::newRow("--help, Japanese")
            << QStringList{u"--help"_s} << japanese << kNoFile << 0 << kJapaneseHelp << QString();
        QTest::newRow("-h") << QStringList{u"-h"_s} << japanese << kNoFile << 0 << kJapaneseHelp
                            << QString();
        QTest::newRow("--help, English")
            << QStringList{u"--help"_s} << QStringList{u"LANG=en_US.UTF-8"_s} << kNoFile << 0
            << kEnglishHelp << QString();
        QTest::newRow("--help, no locale set") << QStringList{u"--help"_s} << QStringList()
                                               << kNoFile << 0 << kEnglishHelp << QString();
        QTest::newRow("--help, LC_ALL over LANG")
            << QStringList{u"--help"_s} << QStringList{u"LC_ALL=C"_s, u"LANG=ja_JP.UTF-8"_s}
            << kNoFile << 0 << kEnglishHelp << QString();
        QTest::newRow("--help, LC_MESSAGES over LANG")
            << QStringList{u"--help"_s}
            << QStringList{u"LC_MESSAGES=ja_JP.UTF-8"_s, u"LANG=en_US.UTF-8"_s} << kNoFile << 0
            << kJapaneseHelp << QString();
        QTest::newRow("--help over --version and --list")
            << QStringList{u"--list"_s, u"--version"_s, u"--help"_s} << japanese << kNoFile << 0
            << kJapaneseHelp << QString();
        QTest::newRow("--version") << QStringList{u"--version"_s} << japanese << kNoFile << 0
                                   << "picora3 3.0\n"_ba << QString();
        // Each of Qt's options takes its value, even one that looks like an option.
        QTest::newRow("--version among Qt's options")
            << QStringList{u"-platform"_s,      u"xcb"_s,      u"-display"_s,      u":5"_s,
                           u"--style=Fusion"_s, u"-reverse"_s, u"-qwindowtitle"_s, u"--bogus"_s,
                           u"--name"_s,         u"picora"_s,   u"--version"_s}
            << japanese << kNoFile << 0 << "picora3 3.0\n"_ba << QString();
        QTest::newRow("unknown option")
            << QStringList{u"--bogus"_s} << japanese << kNoFile << 2 << QByteArray()
            << u"picora3: 不明なオプション「--bogus」です。\n"_s + kSeeHelp;
        QTest::newRow("unknown option before --help")
            << QStringList{u"-reverse"_s, u"-platform=offscreen"_s, u"--help"_s} << japanese
            << kNoFile << 2 << QByteArray()
            << u"picora3: 不明なオプション「-platform=offscreen」です。\n"_s + kSeeHelp;
        QTest::newRow("Qt's option without its value")
            << QStringList{u"--list"_s, u"-display"_s} << japanese << kNoFile << 2 << QByteArray()
            << u"picora3: オプション「-display」には値が必要です。\n"_s + kSeeHelp;
        QTest::newRow("extra argument")
            << QStringList{u"list"_s} << japanese << kNoFile << 2 << QByteArray()
            << u"picora3: 余分な引数「list」があります。\n"_s + kSeeHelp;

        QTest::newRow("--list, no face file")
            << QStringList{u"--list"_s} << japanese << kNoFile << 0 << builtin << QString();
        QTest::newRow("--list, no documents folder")
            << QStringList{u"--list"_s} << japanese << kNoDocuments << 0 << builtin << QString();
        QTest::newRow("--list, empty face file")
            << QStringList{u"--list"_s} << japanese << QByteArray() << 0 << builtin << QString();
        QTest::newRow("--list with Qt's options")
            << QStringList{u"-platform"_s, u"offscreen"_s, u"--list"_s} << japanese << kNoFile << 0
            << builtin << QString();
        // Code page 932 in, UTF-8 out, whatever the locale: 81 60 is ～ U+FF5E, 5C a backslash,
        // 83 5C ソ; blanks and an empty face stay as they are.
        const QByteArray userFaces = "(^o^)\x81\x60\r\n\\(\x83\x5c)\r\n\r\n  (T_T) \r\nend";
        const QByteArray userLines = "(^o^)\xEF\xBD\x9E\n\\(\xE3\x82\xBD)\n\n  (T_T) \nend\n"_ba;
        QTest::newRow("--list, the user's faces")
            << QStringList{u"--list"_s} << japanese << userFaces << 0 << builtin + userLines
            << QString();
        QTest::newRow("--list, C locale") << QStringList{u"--list"_s} << QStringList{u"LC_ALL=C"_s}
                                          << userFaces << 0 << builtin + userLines << QString();
        // A lone LF belongs to its face; bytes that are not code page 932 become U+FFFD.
        QTest::newRow("--list, line feeds and bad bytes")
            << QStringList{u"--list"_s} << japanese
            << "A\nB\r\n(\xA0)\r\nC\nD\r\n\xFF\r\nend\x82"_ba << 0
            << builtin + "(\xEF\xBF\xBD)\n\xEF\xBF\xBD\nend\xEF\xBF\xBD\n"_ba
            << u"picora3: 改行を含む「顔」2件は、一行に収まらないため一覧から外しました。\n"_s;
        QTest::newRow("--list, a folder in the face file's place")
            << QStringList{u"--list"_s} << japanese << kFolder << 1 << builtin
            << u"picora3: 「顔」を読み込めませんでした：%1（ファイルではないものがその名前で置かれています）\n"_s;
    }

    void answersWithoutADisplay()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QStringList, locale);
        QFETCH(QByteArray, place);
        QFETCH(int, status);
        QFETCH(QByteArray, out);
        QFETCH(QString, err);
        QVERIFY(arrange(place));

        QProcess program;
        program.setProcessEnvironment(environment(locale));
        program.start(QStringLiteral(PICORA3_PROGRAM), arguments);
        QVERIFY(program.waitForFinished());
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.readAllStandardError(), err.arg(faceFile()).toUtf8());
        QCOMPARE(program.readAllStandardOutput(), out);
        QCOMPARE(program.exitCode(), status);
    }

    void aFullDiskIsReported()
    {
        QVERIFY(arrange(kNoFile));
        QProcess program;
        program.setProcessEnvironment(environment({}));
        program.setStandardOutputFile(u"/dev/full"_s);
        program.start(QStringLiteral(PICORA3_PROGRAM), {u"--list"_s});
        QVERIFY(program.waitForFinished());
        QCOMPARE(program.readAllStandardError(),
                 "picora3: 標準出力に書き込めませんでした（No space left on device）\n"_ba);
        QCOMPARE(program.exitCode(), 1);
    }

    // A launcher or `head` may stop reading long before the end of a long list.
    void aReaderThatStopsEarlyEndsTheListQuietly()
    {
        QVERIFY(arrange(numberedLines(1, 300000)));
        QProcess shell;
        shell.setProcessEnvironment(environment({}));
        shell.start(u"bash"_s, {u"-o"_s, u"pipefail"_s, u"-c"_s, u"\"$0\" --list | head -n 1"_s,
                                QStringLiteral(PICORA3_PROGRAM)});
        QVERIFY(shell.waitForFinished());
        QCOMPARE(shell.readAllStandardError(), QByteArray());
        QCOMPARE(shell.readAllStandardOutput(), "(^o^)\n"_ba);
        QCOMPARE(shell.exitCode(), 0);
    }

    void qtsOptionsStillOpenTheWindows_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("-platform offscreen") << QStringList{u"-platform"_s, u"offscreen"_s};
        QTest::newRow("--platform offscreen") << QStringList{u"--platform"_s, u"offscreen"_s};
        QTest::newRow("with a style, a title and a display") << QStringList{
            u"-platform"_s,     u"offscreen"_s, u"-style"_s,   u"Fusion"_s, u"-reverse"_s,
            u"-qwindowtitle"_s, u"ピコラ"_s,    u"-display"_s, u":99"_s};
    }

    void qtsOptionsStillOpenTheWindows()
    {
        QFETCH(QStringList, arguments);
        QProcess program;
        program.setProcessEnvironment(environment({}));
        program.start(QStringLiteral(PICORA3_PROGRAM), arguments);
        // The offscreen platform says this when the splash is brought to the front.
        QByteArray err;
        QTRY_VERIFY_WITH_TIMEOUT((err += program.readAllStandardError())
                                     .contains("This plugin does not support raise()"),
                                 20000);
        QCOMPARE(program.state(), QProcess::Running);
        program.kill();
        QVERIFY(program.waitForFinished());
    }
};

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
