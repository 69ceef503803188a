// SPDX-License-Identifier: MIT
#pragma once

#include "catalogue/FaceFile.h"

#include <doctest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

// UTF-8, for messages and for paths handed to another program.
std::string utf8(std::u16string_view text);
std::u16string fromUtf8(std::string_view text);

// A path from its UTF-8 name, and back, on every system.
std::filesystem::path pathOf(std::string_view utf8Name);
std::string utf8Of(const std::filesystem::path &path);

using Refusal = std::optional<FaceFileRefusal>;
inline const Refusal kDone;

// A failed comparison shows faces and reasons as text, and bytes as hexadecimal where they
// are not printable ASCII.
namespace doctest {
template <> struct StringMaker<std::u16string> {
    static String convert(const std::u16string &text);
};
template <> struct StringMaker<Refusal> {
    static String convert(const Refusal &refusal);
};
template <> struct StringMaker<std::string> {
    static String convert(const std::string &bytes);
};
} // namespace doctest
