// SPDX-License-Identifier: MIT
// Code page 932 through ICU, the converter Linux desktops and Qt use.
#include "text/SystemConverter.h"

#include <unicode/ucnv.h>
#include <unicode/ucnv_cb.h>

#include <climits>
#include <memory>

namespace SystemConverter {

namespace {

// ICU's name for the Windows mapping; its "Shift_JIS" means the same, glibc's does not.
constexpr const char *kName = "windows-31j";

struct CloseConverter {
    void operator()(UConverter *converter) const { ucnv_close(converter); }
};

// A converter keeps state between calls, so every thread that converts has one of its own.
// It stops at the first byte sequence or character it has no mapping for, instead of
// putting a substitute in its place.
UConverter *converter()
{
    thread_local const std::unique_ptr<UConverter, CloseConverter> instance = [] {
        UErrorCode error = U_ZERO_ERROR;
        UConverter *opened = ucnv_open(kName, &error);
        ucnv_setToUCallBack(opened, UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &error);
        ucnv_setFromUCallBack(opened, UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr, nullptr,
                              &error);
        return std::unique_ptr<UConverter, CloseConverter>(U_SUCCESS(error) ? opened : nullptr);
    }();
    return instance.get();
}

// ICU's table turns three control characters round (byte 1A is U+001C, 1C is U+007F and 7F
// is U+001A) where Windows maps every byte below 80 to the same code point. None of the three
// bytes can stand inside a two-byte character, so they are put right after converting.
char16_t windowsControl(char16_t fromIcu)
{
    switch (fromIcu) {
    case 0x1A:
        return 0x7F;
    case 0x1C:
        return 0x1A;
    case 0x7F:
        return 0x1C;
    default:
        return fromIcu;
    }
}

char icuControlByte(char fromIcu)
{
    switch (fromIcu) {
    case 0x7F:
        return 0x1A;
    case 0x1A:
        return 0x1C;
    case 0x1C:
        return 0x7F;
    default:
        return fromIcu;
    }
}

} // namespace

std::optional<std::u16string> decode(std::string_view bytes)
{
    UConverter *icu = converter();
    if (!icu || bytes.size() > INT32_MAX)
        return std::nullopt;
    ucnv_resetToUnicode(icu);
    // Every character of code page 932 is one UTF-16 unit, made of one or two bytes.
    std::u16string text(bytes.size(), u'\0');
    UErrorCode error = U_ZERO_ERROR;
    const int32_t length = ucnv_toUChars(icu, text.data(), int32_t(text.size()), bytes.data(),
                                         int32_t(bytes.size()), &error);
    if (U_FAILURE(error))
        return std::nullopt;
    text.resize(std::size_t(length));
    for (char16_t &c : text)
        c = windowsControl(c);
    return text;
}

std::optional<std::string> encode(std::u16string_view text)
{
    UConverter *icu = converter();
    if (!icu || text.size() > INT32_MAX / 2)
        return std::nullopt;
    ucnv_resetFromUnicode(icu);
    std::string bytes(text.size() * 2, '\0');
    UErrorCode error = U_ZERO_ERROR;
    const int32_t length = ucnv_fromUChars(icu, bytes.data(), int32_t(bytes.size()), text.data(),
                                           int32_t(text.size()), &error);
    if (U_FAILURE(error))
        return std::nullopt;
    bytes.resize(std::size_t(length));
    for (char &b : bytes)
        b = icuControlByte(b);
    return bytes;
}

} // namespace SystemConverter
