// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>
#include <string_view>

// Each system's own well-kept code page 932 converter, as Windows maps it (5C is a backslash,
// 81 60 the full-width tilde), and nothing of its own added: ICU's on Linux
// (SystemConverter-icu.cpp), Windows' own on Windows (SystemConverter-win32.cpp). Both may be
// used from any thread.
namespace SystemConverter {

// The text of the whole byte sequence, or nothing when some of it is not valid code page 932.
std::optional<std::u16string> decode(std::string_view bytes);

// The bytes of the whole text, or nothing when a character has no code page 932 form of its
// own: no look-alike is ever put in its place.
std::optional<std::string> encode(std::u16string_view text);

} // namespace SystemConverter
