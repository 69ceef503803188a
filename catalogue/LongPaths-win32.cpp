// SPDX-License-Identifier: MIT
#include "catalogue/LongPaths.h"

#include <windows.h>

std::wstring longPath(const FileSystem::Path &path)
{
    // Already long, as Windows itself hands out final paths: the standard library would take
    // \\?\C:\… for a relative path and put the current drive before it.
    if (path.native().starts_with(LR"(\\?\)"))
        return path.native();
    std::error_code ignored;
    FileSystem::Path absolute = std::filesystem::absolute(path, ignored);
    if (absolute.empty())
        absolute = path;
    const std::wstring text = absolute.lexically_normal().make_preferred().native();
    if (text.starts_with(LR"(\\)"))
        return LR"(\\?\UNC\)" + text.substr(2);
    return LR"(\\?\)" + text;
}

bool namesAFolder(const FileSystem::Path &path)
{
    const DWORD attributes = GetFileAttributesW(longPath(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}
