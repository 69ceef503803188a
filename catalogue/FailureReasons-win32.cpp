// SPDX-License-Identifier: MIT
// Windows' errors, as the face file meets them, in the user's words, each with the name a
// bug report can be searched for.
#include "catalogue/FailureReasons.h"

#include <string>

#include <windows.h>

namespace {

constexpr char16_t kNoSpace[] = u"ディスクに空きがありません";
constexpr char16_t kNotAllowed[] = u"アクセスが許可されていません";
constexpr char16_t kInUse[] =
    u"ほかのプログラムが顔ファイルを使っています。少し待ってから、もう一度お試しください";
constexpr char16_t kDiskFailed[] = u"ディスクの読み書きに失敗しました";

struct ErrorText {
    DWORD error;
    const char *name;
    const char16_t *text;
};
constexpr ErrorText kErrorTexts[] = {
    {ERROR_FILE_NOT_FOUND, "ERROR_FILE_NOT_FOUND", u"ファイルがありません"},
    {ERROR_PATH_NOT_FOUND, "ERROR_PATH_NOT_FOUND", u"フォルダーがありません"},
    {ERROR_ACCESS_DENIED, "ERROR_ACCESS_DENIED", kNotAllowed},
    {ERROR_PRIVILEGE_NOT_HELD, "ERROR_PRIVILEGE_NOT_HELD", kNotAllowed},
    {ERROR_SHARING_VIOLATION, "ERROR_SHARING_VIOLATION", kInUse},
    {ERROR_LOCK_VIOLATION, "ERROR_LOCK_VIOLATION", kInUse},
    {ERROR_DIRECTORY, "ERROR_DIRECTORY", u"フォルダーの名前でファイルが置かれています"},
    {ERROR_DISK_FULL, "ERROR_DISK_FULL", kNoSpace},
    {ERROR_HANDLE_DISK_FULL, "ERROR_HANDLE_DISK_FULL", kNoSpace},
    {ERROR_FILE_TOO_LARGE, "ERROR_FILE_TOO_LARGE", u"ファイルが大きすぎます"},
    {ERROR_WRITE_PROTECT, "ERROR_WRITE_PROTECT", u"書き込みできない場所です"},
    {ERROR_CANT_RESOLVE_FILENAME, "ERROR_CANT_RESOLVE_FILENAME",
     u"シンボリックリンクが循環しています"},
    {ERROR_CRC, "ERROR_CRC", kDiskFailed},
    {ERROR_READ_FAULT, "ERROR_READ_FAULT", kDiskFailed},
    {ERROR_WRITE_FAULT, "ERROR_WRITE_FAULT", kDiskFailed},
    {ERROR_IO_DEVICE, "ERROR_IO_DEVICE", kDiskFailed},
    {ERROR_NOT_READY, "ERROR_NOT_READY", u"ドライブの準備ができていません"},
    {ERROR_BAD_NETPATH, "ERROR_BAD_NETPATH", u"ネットワーク上の場所に接続できません"},
    {ERROR_NETNAME_DELETED, "ERROR_NETNAME_DELETED", u"ネットワーク上の場所に接続できません"},
    {ERROR_FILENAME_EXCED_RANGE, "ERROR_FILENAME_EXCED_RANGE",
     u"ファイルの名前かパスが長すぎます"},
    {ERROR_INVALID_NAME, "ERROR_INVALID_NAME", u"ファイルの名前に使えない文字が含まれています"},
    {ERROR_TOO_MANY_OPEN_FILES, "ERROR_TOO_MANY_OPEN_FILES", u"開いているファイルが多すぎます"},
    {ERROR_NOT_ENOUGH_MEMORY, "ERROR_NOT_ENOUGH_MEMORY", u"メモリーが足りません"},
    {ERROR_OUTOFMEMORY, "ERROR_OUTOFMEMORY", u"メモリーが足りません"},
    {ERROR_RETRY, "ERROR_RETRY", u"一時的に使えません。もう一度お試しください"},
};

std::u16string latin1(std::string_view name)
{
    return std::u16string(name.begin(), name.end());
}

} // namespace

std::u16string errorReason(FileSystem::SystemError error, const FileSystem::Path &)
{
    for (const ErrorText &known : kErrorTexts)
        if (known.error == DWORD(error))
            return std::u16string(known.text) + u"（" + latin1(known.name) + u"）";
    return u"予期しないエラーが起きました（エラー番号 " + latin1(std::to_string(error)) + u"）";
}
