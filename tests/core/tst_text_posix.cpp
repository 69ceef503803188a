// SPDX-License-Identifier: MIT
// Code page 932 measured against glibc's converter, which only Linux has.
#include "support/Text.h"
#include "text/CodePage932.h"

#include <doctest.h>

#include <iconv.h>

#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

namespace {

// One of glibc's converters, and the bytes it makes of a whole input; nothing when it refuses.
class GlibcConverter {
public:
    GlibcConverter(const char *to, const char *from) : cd_(::iconv_open(to, from)) {}
    ~GlibcConverter()
    {
        if (valid())
            ::iconv_close(cd_);
    }
    GlibcConverter(const GlibcConverter &) = delete;
    GlibcConverter &operator=(const GlibcConverter &) = delete;

    bool valid() const { return cd_ != iconv_t(-1); }

    std::optional<std::string> convert(std::string input) const
    {
        ::iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        char output[32];
        char *in = input.data();
        size_t inLeft = input.size();
        char *out = output;
        size_t outLeft = sizeof output;
        if (::iconv(cd_, &in, &inLeft, &out, &outLeft) == size_t(-1) || inLeft != 0)
            return std::nullopt;
        return std::string(output, std::size_t(out - output));
    }

private:
    iconv_t cd_;
};

std::u16string character(char32_t c)
{
    if (c >= 0x10000)
        return {char16_t(0xD800 + ((c - 0x10000) >> 10)), char16_t(0xDC00 + (c & 0x3FF))};
    return std::u16string(1, char16_t(c));
}

std::string codePointName(char32_t c)
{
    char name[16];
    std::snprintf(name, sizeof name, "U+%04X", unsigned(c));
    return name;
}

std::string hex(std::string_view bytes)
{
    std::string shown;
    for (unsigned char b : bytes)
        shown += (shown.empty() ? "" : " ") +
                 std::string{"0123456789abcdef"[b >> 4], "0123456789abcdef"[b & 15]};
    return shown;
}

} // namespace

// glibc's CP932 is the other well-kept converter on every Linux system. Both must agree on every
// byte pair read and every character written; where glibc writes a character that reads back as
// another, it is refused here, but for the six the input methods type.
TEST_CASE("agreesWithGlibcEverywhere")
{
    const GlibcConverter glibcDecoder("UTF-16LE", "CP932");
    const GlibcConverter glibcEncoder("CP932", "UTF-32LE");
    REQUIRE((glibcDecoder.valid() && glibcEncoder.valid()));
    const auto glibcDecode = [&](const std::string &bytes) -> std::optional<std::u16string> {
        const std::optional<std::string> utf16 = glibcDecoder.convert(bytes);
        if (!utf16)
            return std::nullopt;
        std::u16string text(utf16->size() / 2, u'\0');
        std::memcpy(text.data(), utf16->data(), text.size() * 2);
        return text;
    };
    const std::u16string windowsForms = u"〜‖−¢£¬";

    std::string disagreements;
    std::vector<std::string> sequences;
    for (int b = 0; b < 0x100; ++b)
        sequences.push_back(std::string(1, char(b)));
    for (int pair = 0; pair < 0x10000; ++pair)
        sequences.push_back(std::string{char(pair >> 8), char(pair & 0xFF)});
    for (const std::string &bytes : sequences) {
        const std::optional<std::u16string> glibc = glibcDecode(bytes);
        const std::u16string ours = CodePage932::decode(bytes);
        if (glibc ? ours != *glibc : ours.find(u'\uFFFD') == std::u16string::npos)
            disagreements += "read " + hex(bytes) + ": " + utf8(ours) + "\n";
    }

    for (char32_t c = 0; c <= 0x10FFFF; ++c) {
        if (c >= 0xD800 && c <= 0xDFFF)
            continue;
        const std::u16string text = character(c);
        const std::string utf32(reinterpret_cast<const char *>(&c), 4);
        const std::optional<std::string> glibc = glibcEncoder.convert(utf32);
        const bool readsBackAsTyped = glibc && glibcDecode(*glibc) == text;
        const bool accepted = CodePage932::unrepresentable(text).empty();
        const bool expected =
            readsBackAsTyped || (glibc && windowsForms.find(text) != std::u16string::npos);
        if (accepted != expected || (accepted && CodePage932::encode(text) != *glibc))
            disagreements += "write " + codePointName(c) + ": glibc " +
                             (glibc ? hex(*glibc) : "refused") + ", here " +
                             (accepted ? hex(CodePage932::encode(text)) : "refused") + "\n";
    }
    CHECK_MESSAGE(disagreements.empty(), doctest::String(disagreements.c_str()));
}
