// SPDX-License-Identifier: MIT
#include "app/Answers.h"

#include "catalogue/FaceListing.h"
#include "platform/FaceFilePath.h"
#include "platform/QtText.h"

#include <QByteArray>
#include <QByteArrayView>

#include <cerrno>
#include <csignal>
#include <cstring>

#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

const QString kJapaneseHelp = uR"(使い方：picora3 [オプション] [Qt のオプション]
顔文字（「顔」）を選んで、貼り付けられるようにクリップボードに入れます。
オプションがなければウィンドウを開きます。

  -h, --help     この使い方を表示して終わります
      --version  バージョンを表示して終わります
      --list     すべての「顔」を一行に一つずつ UTF-8 で表示して終わります
                 （組み込みの六つの系をボタンの順に、続いて登録した「顔」を）

Qt のオプション（-platform 名前、-display ディスプレイ、-style スタイルなど）も使えます。
詳しくは「man picora3」をご覧ください。
)"_s;

const QString kEnglishHelp = uR"(Usage: picora3 [OPTION] [QT-OPTION]...
Pick a Japanese text emoticon (a "face") and put it on the clipboard.
Without an option, it opens its window.

  -h, --help     show this help and exit
      --version  show the version and exit
      --list     print every face, one a line in UTF-8, and exit
                 (the six built-in categories in button order, then your own)

Qt's own options (-platform NAME, -display DISPLAY, -style STYLE, ...) work too.
See "man picora3" for more.
)"_s;

// The first of these that is set names the language of messages, as in the C library.
bool japaneseLocale()
{
    for (const char *variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const QByteArray value = qgetenv(variable);
        if (!value.isEmpty())
            return value.startsWith("ja");
    }
    return false;
}

enum class Written {
    All,
    ReaderGone, // the reading end of a pipe closed: it has taken what it wanted
    Failed,
};

Written writeAll(int fd, QByteArrayView bytes)
{
    // Without this a reader that stops early, as `head -1` does, would kill the program.
    std::signal(SIGPIPE, SIG_IGN);
    while (!bytes.isEmpty()) {
        const ssize_t written = ::write(fd, bytes.data(), size_t(bytes.size()));
        if (written < 0 && errno == EINTR)
            continue;
        if (written < 0)
            return errno == EPIPE ? Written::ReaderGone : Written::Failed;
        bytes = bytes.sliced(written);
    }
    return Written::All;
}

void tell(const QString &message)
{
    writeAll(STDERR_FILENO, (u"picora3: "_s + message + u'\n').toUtf8());
}

// Returns the exit status: a reader that went away has not failed anyone.
int writeOut(QByteArrayView bytes)
{
    if (writeAll(STDOUT_FILENO, bytes) != Written::Failed)
        return 0;
    const int error = errno;
    tell(u"標準出力に書き込めませんでした（%1）"_s.arg(
        QString::fromLocal8Bit(std::strerror(error))));
    return 1;
}

} // namespace

int answerHelp()
{
    return writeOut((japaneseLocale() ? kJapaneseHelp : kEnglishHelp).toUtf8());
}

int answerVersion()
{
    return writeOut("picora3 " PICORA3_VERSION "\n");
}

int answerList()
{
    const std::filesystem::path path = faceFilePath();
    const FaceListing listing = listEveryFace(path);
    QByteArray lines;
    for (const std::u16string &face : listing.faces) {
        lines += toQString(face).toUtf8();
        lines += '\n';
    }
    const int written = writeOut(lines);

    if (listing.leftOut > 0)
        tell(u"改行を含む「顔」%1件は、一行に収まらないため一覧から外しました。"_s.arg(
            listing.leftOut));
    if (listing.faceFile == FaceFileReading::State::Unreadable) {
        tell(u"「顔」を読み込めませんでした：%1（%2）"_s.arg(fromPath(path),
                                                               toQString(listing.reason)));
        return 1;
    }
    return written;
}

int answerMistake(const QString &mistake)
{
    tell(mistake + u"\n使い方は「picora3 --help」で表示されます。"_s);
    return 2;
}
