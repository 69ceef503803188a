// SPDX-License-Identifier: MIT
// The face file's line reader and code page 932 decoding, on any bytes at all; and a line
// appended to any file, which must leave every line there as it was.
#include "text/CodePage932.h"
#include "text/Lines.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char *>(data), size);
    const std::vector<std::string_view> texts = splitLines(bytes);
    const std::vector<std::string_view> stored = splitStoredLines(bytes);
    if (texts.size() != stored.size())
        std::abort();

    std::string joined;
    for (std::size_t i = 0; i < stored.size(); ++i) {
        // Every line is its text followed by nothing, CR, or CR LF; only the last may end bare.
        if (!stored[i].starts_with(texts[i]) || texts[i].find('\r') != std::string_view::npos)
            std::abort();
        const std::string_view end = stored[i].substr(texts[i].size());
        if (end != "\r" && end != "\r\n" && !(end.empty() && i + 1 == stored.size()))
            std::abort();
        joined += stored[i];

        const std::u16string text = CodePage932::decode(texts[i]);
        // No byte is lost without a trace: every byte makes at most one character.
        if (text.size() > texts[i].size() || (text.empty() && !texts[i].empty()))
            std::abort();
        const bool ascii = std::all_of(texts[i].begin(), texts[i].end(),
                                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
        if (ascii && text != std::u16string(texts[i].begin(), texts[i].end()))
            std::abort();
    }
    // Put together again, the lines are the file.
    if (joined != bytes)
        std::abort();

    // Appending a line (here the file's first bytes, without CR and LF) keeps the file as a
    // prefix and its lines as they were, and adds exactly that one line.
    std::string text(bytes.substr(0, 8));
    std::erase(text, '\r');
    std::erase(text, '\n');
    const std::string appended =
        std::string(bytes) +
        lineAfter(bytes.substr(bytes.size() - std::min<std::size_t>(size, 2)), text);
    const std::vector<std::string_view> after = splitLines(appended);
    if (!appended.starts_with(bytes) || after.size() != texts.size() + 1 ||
        !std::equal(texts.begin(), texts.end(), after.begin()) || after.back() != text)
        std::abort();
    return 0;
}
