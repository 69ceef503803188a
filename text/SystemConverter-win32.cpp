// SPDX-License-Identifier: MIT
// Code page 932 through Windows' own conversion, exact only: no best-fit look-alikes.
#include "text/SystemConverter.h"

#include <windows.h>

#include <climits>

namespace SystemConverter {

namespace {

constexpr UINT kCodePage = 932;

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
    return text;
}

std::optional<std::string> encode(std::u16string_view text)
{
    if (text.empty())
        return std::string();
    if (text.size() > INT_MAX / 2)
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
