// SPDX-License-Identifier: MIT
// The value of a text, on any text at all.
#include "text/Conversions.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

// The bytes read as UTF-8, loosely: whatever they are, they make some text, lone surrogates and
// all, and the seeds stay readable. A stray byte is U+FFFD.
std::u16string textOf(const std::uint8_t *data, std::size_t size)
{
    std::u16string text;
    for (std::size_t i = 0; i < size;) {
        const std::uint8_t lead = data[i++];
        if (lead < 0xC0 || lead >= 0xF8) {
            text += lead < 0x80 ? char16_t(lead) : u'\uFFFD';
            continue;
        }
        const int more = lead < 0xE0 ? 1 : lead < 0xF0 ? 2 : 3;
        char32_t c = lead & (0x3F >> more);
        for (int k = 0; k < more && i < size; ++k)
            c = (c << 6) | (data[i++] & 0x3F);
        if (c >= 0x10000) {
            c = std::min<char32_t>(c, 0x10FFFF) - 0x10000;
            text += char16_t(0xD800 + (c >> 10));
            text += char16_t(0xDC00 + (c & 0x3FF));
        } else {
            text += char16_t(c);
        }
    }
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::u16string text = textOf(data, size);
    const double value = Val(text);
    if (!std::isfinite(value))
        std::abort();
    // Blanks, tabs and line feeds count for nothing, wherever they stand.
    const std::u16string padded = u" \t" + text + u"\n";
    std::u16string spaced;
    for (char16_t c : text)
        spaced += c == u'7' ? std::u16string(u"7 ") : std::u16string(1, c);
    if (Val(padded) != value || Val(spaced) != value)
        std::abort();
    // A text beginning with neither sign, digit nor point is worth nothing.
    std::u16string kept = text;
    std::erase_if(kept, [](char16_t c) { return c == u' ' || c == u'\t' || c == u'\n'; });
    if (!kept.empty() &&
        std::u16string_view(u"+-.0123456789").find(kept[0]) == std::u16string_view::npos &&
        value != 0)
        std::abort();
    return 0;
}
