// SPDX-License-Identifier: MIT
#pragma once

#include <QFile>
#include <QString>

#include <filesystem>
#include <string>
#include <string_view>

// Faces and paths as the program's core holds them, met at the edge of the Qt runtime.

inline QString toQString(std::u16string_view text)
{
    return QString::fromUtf16(text.data(), qsizetype(text.size()));
}

inline std::u16string toU16String(const QString &text)
{
    return std::u16string(reinterpret_cast<const char16_t *>(text.utf16()), std::size_t(text.size()));
}

// A path in the system's own encoding of file names, as Qt encodes them.
inline std::filesystem::path toPath(const QString &path)
{
    return std::filesystem::path(QFile::encodeName(path).toStdString());
}

inline QString fromPath(const std::filesystem::path &path)
{
    return QFile::decodeName(QByteArray::fromStdString(path.native()));
}
