// SPDX-License-Identifier: MIT
#include "text/CodePage932.h"

#include "text/SystemConverter.h"

#include <optional>

namespace CodePage932 {

namespace {

// Six characters of the Japanese standard that Linux input methods and converters give under
// the standard's own Unicode names, where Windows, whose bytes the face file holds, has other
// ones. They are written as Windows writes its own, and read back in the Windows form.
struct WindowsName {
    char16_t typed;
    char16_t windows;
};
constexpr WindowsName kWindowsNames[] = {
    {u'\u301C', u'\uFF5E'}, // 〜 wave dash: ～
    {u'\u2016', u'\u2225'}, // ‖ double vertical line: ∥
    {u'\u2212', u'\uFF0D'}, // − minus sign: －
    {u'\u00A2', u'\uFFE0'}, // ¢ cent sign: ￠
    {u'\u00A3', u'\uFFE1'}, // £ pound sign: ￡
    {u'\u00AC', u'\uFFE2'}, // ¬ not sign: ￢
};

std::u16string withWindowsNames(std::u16string_view typed)
{
    std::u16string text(typed);
    for (char16_t &c : text)
        for (const WindowsName &name : kWindowsNames)
            if (c == name.typed)
                c = name.windows;
    return text;
}

constexpr char16_t kReplacement = u'\uFFFD';

bool isLeadByte(unsigned char b)
{
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}
bool isTrailByte(unsigned char b)
{
    return b >= 0x40 && b <= 0xFC && b != 0x7F;
}

// The slow path for a line that the converter found fault with: one character at a time,
// so that each bad byte becomes exactly one U+FFFD and good characters around it survive.
std::u16string decodeCarefully(std::string_view bytes)
{
    std::u16string text;
    text.reserve(bytes.size());
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        // Every system maps the bytes below 80 to the same code points.
        if (b < 0x80) {
            text += char16_t(b);
            ++i;
            continue;
        }
        const bool pair = isLeadByte(b) && i + 1 < bytes.size() &&
                          isTrailByte(static_cast<unsigned char>(bytes[i + 1]));
        const std::size_t width = pair ? 2 : 1;
        const bool loneLead = !pair && isLeadByte(b);
        const std::optional<std::u16string> decoded =
            loneLead ? std::nullopt : SystemConverter::decode(bytes.substr(i, width));
        if (decoded && !decoded->empty())
            text += *decoded;
        else
            text.append(width, kReplacement);
        i += width;
    }
    return text;
}

// Whether the text reads back after a write as it was, or in its Windows form.
bool roundTrips(std::u16string_view text)
{
    const std::u16string windows = withWindowsNames(text);
    const std::optional<std::string> bytes = SystemConverter::encode(windows);
    return bytes && decode(*bytes) == windows;
}

bool isHighSurrogate(char16_t c)
{
    return c >= 0xD800 && c <= 0xDBFF;
}

} // namespace

std::u16string decode(std::string_view bytes)
{
    // Nearly every line is valid, and goes through the converter in one piece.
    if (std::optional<std::u16string> text = SystemConverter::decode(bytes))
        return std::move(*text);
    return decodeCarefully(bytes);
}

std::string encode(std::u16string_view text)
{
    return SystemConverter::encode(withWindowsNames(text)).value_or(std::string());
}

std::u16string unrepresentable(std::u16string_view text)
{
    if (roundTrips(text))
        return {};
    std::u16string refused;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t width = (isHighSurrogate(text[i]) && i + 1 < text.size()) ? 2 : 1;
        const std::u16string_view character = text.substr(i, width);
        if (!roundTrips(character) && refused.find(character) == std::u16string::npos)
            refused += character;
        i += width;
    }
    return refused;
}

} // namespace CodePage932
