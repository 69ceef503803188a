// SPDX-License-Identifier: MIT
// Code page 932 through Windows' own conversion, exact only: no best-fit look-alikes.
#include "text/SystemConverter.h"

#include <windows.h>

#include <climits>

namespace SystemConverter {

namespace {

constexpr UINT kCodePage = 932;

// Windows' table gives a few single bytes that are no Shift_JIS character code points of
// their own: 80 is U+0080, and some versions give A0 and FD to FF U+F8F0 to U+F8F3. ICU and the
// Japanese standard have none of them, and neither has this program, so that a face file reads
// the same on every system.
bool windowsOnly(char16_t c)
{
    return c == u'\u0080' || (c >= u'\uF8F0' && c <= u'\uF8F3');
}

bool holdsWindowsOnly(std::u16string_view text)
{
    for (char16_t c : text)
        if (windowsOnly(c))
            return true;
    return false;
}

} // namespace

std::optional<std::u16string> decode(std::string_view bytes)
{
    if (bytes.empty())
        return std::u16string();
    if (bytes.size() > INT_MAX)
        return std::nullopt;
    const int needed = MultiByteToWideChar(kCodePage, MB_ERR_INVALID_CHARS, bytes.data(),
                                           int(bytes.size()), nullptr, 0);
    if (needed <= 0)
        return std::nullopt;
    std::u16string text(std::size_t(needed), u'\0');
    MultiByteToWideChar(kCodePage, MB_ERR_INVALID_CHARS, bytes.data(), int(bytes.size()),
                        reinterpret_cast<wchar_t *>(text.data()), needed);
    if (holdsWindowsOnly(text))
        return std::nullopt;
    return text;
}

std::optional<std::string> encode(std::u16string_view text)
{
    if (text.empty())
        return std::string();
    if (text.size() > INT_MAX / 2 || holdsWindowsOnly(text))
        return std::nullopt;
    const auto *wide = reinterpret_cast<const wchar_t *>(text.data());
    BOOL substituted = FALSE;
    const int needed = WideCharToMultiByte(kCodePage, WC_NO_BEST_FIT_CHARS, wide, int(text.size()),
                                           nullptr, 0, nullptr, &substituted);
    if (needed <= 0 || substituted)
        return std::nullopt;
    std::string bytes(std::size_t(needed), '\0');
    WideCharToMultiByte(kCodePage, WC_NO_BEST_FIT_CHARS, wide, int(text.size()), bytes.data(),
                        needed, nullptr, &substituted);
    return bytes;
}

} // namespace SystemConverter
