// SPDX-License-Identifier: MIT
// The POSIX system's errors, as the face file meets them, in the user's words.
#include "catalogue/FailureReasons.h"

#include <cerrno>
#include <cstring>
#include <string>

#include <sys/statvfs.h>

namespace {

constexpr char16_t kNoSpace[] = u"ディスクに空きがありません";

struct ErrorText {
    int error;
    const char16_t *text;
};
constexpr ErrorText kErrorTexts[] = {
    {ENOENT, u"フォルダーがありません"},
    {EACCES, u"アクセスが許可されていません"},
    {EPERM, u"アクセスが許可されていません"},
    {EISDIR, u"ファイルではないものがその名前で置かれています"},
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
bool outOfFiles(const FileSystem::Path &file)
{
    struct statvfs info {};
    std::error_code ignored;
    const FileSystem::Path folder = std::filesystem::absolute(file, ignored).parent_path();
    return ::statvfs(folder.c_str(), &info) == 0 && info.f_files > 0 && info.f_favail == 0;
}

std::u16string describe(int error, const FileSystem::Path &file)
{
    if (error == ENOSPC && outOfFiles(file))
        return u"ディスクに作れるファイルの数が上限に達しています";
    for (const ErrorText &known : kErrorTexts)
        if (known.error == error)
            return known.text;
    return u"予期しないエラーが起きました";
}

std::u16string latin1(std::string_view name)
{
    return std::u16string(name.begin(), name.end());
}

} // namespace

std::u16string errorReason(FileSystem::SystemError error, const FileSystem::Path &file)
{
    const char *name = ::strerrorname_np(error);
    return describe(error, file) + u"（" +
           (name ? latin1(name) : u"エラー番号 " + latin1(std::to_string(error))) + u"）";
}
