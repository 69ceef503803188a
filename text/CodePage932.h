// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>

// Text as the face file holds it: Windows code page 932 (Shift_JIS as Windows maps it), the
// same bytes on every system the program runs on.
namespace CodePage932 {

// Decodes one line. Bytes that are not valid code page 932 each become U+FFFD.
std::u16string decode(std::string_view bytes);

// Encodes text that holds only representable characters (see unrepresentable()). The six
// characters that Linux input methods name otherwise than Windows (〜 ‖ − ¢ £ ¬) are written as
// Windows writes ～ ∥ － ￠ ￡ ￢, and read back as those.
std::string encode(std::u16string_view text);

// The characters of the text that code page 932 cannot hold, each once, in order of first
// appearance; empty when the whole text survives a write and a read unchanged, but for those
// six taking their Windows form.
std::u16string unrepresentable(std::u16string_view text);

} // namespace CodePage932
