// SPDX-License-Identifier: MIT
#include "catalogue/FailureReasons.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>

#include <sys/statvfs.h>

using namespace Qt::StringLiterals;

namespace {

constexpr char16_t kNotAFile[] = u"ファイルではないものがその名前で置かれています";
constexpr char16_t kNoSpace[] = u"ディスクに空きがありません";

// The system's errors that a change to the face file can meet, each in the user's words.
struct ErrorText {
    int error;
    const char16_t *text;
};
constexpr ErrorText kErrorTexts[] = {
    {ENOENT, u"フォルダーがありません"},
    {EACCES, u"アクセスが許可されていません"},
    {EPERM, u"アクセスが許可されていません"},
    {EISDIR, kNotAFile},
    {ENOTDIR, u"フォルダーの名前でファイルが置かれています"},
    {ENOSPC, kNoSpace},
    {EDQUOT, kNoSpace},
    {EFBIG, u"ファイルが大きすぎます"},
    {EROFS, u"書き込みできない場所です"},
    {ELOOP, u"シンボリックリンクが循環しています"},
    {EIO, u"ディスクの読み書きに失敗しました"},
    {EBUSY, u"デバイスが使用中です"},
    {ENAMETOOLONG, u"ファイルの名前かパスが長すぎます"},
    {EMFILE, u"開いているファイルが多すぎます"},
    {ENFILE, u"開いているファイルが多すぎます"},
    {ENOMEM, u"メモリーが足りません"},
    {EAGAIN, u"一時的に使えません。もう一度お試しください"},
};

// A full disk and a disk that can hold no more files say the same ENOSPC; the folder's file
// system tells them apart. One that keeps no count of files says 0 of 0.
bool outOfFiles(const QString &file)
{
    struct statvfs info {};
    const QByteArray folder = QFile::encodeName(QFileInfo(file).absolutePath());
    return ::statvfs(folder.constData(), &info) == 0 && info.f_files > 0 && info.f_favail == 0;
}

QString describe(int error, const QString &file)
{
    if (error == ENOSPC && outOfFiles(file))
        return u"ディスクに作れるファイルの数が上限に達しています"_s;
    for (const ErrorText &known : kErrorTexts)
        if (known.error == error)
            return QString::fromUtf16(known.text);
    return u"予期しないエラーが起きました"_s;
}

} // namespace

QString errorReason(int error, const QString &file)
{
    const char *name = ::strerrorname_np(error);
    return describe(error, file) + u"（"_s +
           (name ? QString::fromLatin1(name) : u"エラー番号 %1"_s.arg(error)) + u"）"_s;
}

QString notAFileReason()
{
    return QString::fromUtf16(kNotAFile);
}

QString busyReason(bool byAnotherCopy)
{
    return (byAnotherCopy ? u"ほかのピコラ３"_s : u"ほかのプログラム"_s) +
           u"が顔ファイルを使っています。少し待ってから、もう一度お試しください"_s;
}
