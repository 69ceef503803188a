// SPDX-License-Identifier: MIT
#include "text/Lines.h"

namespace {

// The line that starts at `at`: its text, and the same with its line end as stored.
struct Line {
    std::string_view text;
    std::string_view stored;
};

Line lineAt(std::string_view bytes, std::size_t at)
{
    const std::string_view rest = bytes.substr(at);
    const std::size_t cr = rest.find('\r');
    if (cr == std::string_view::npos)
        return {rest, rest};
    const std::size_t end = (cr + 1 < rest.size() && rest[cr + 1] == '\n') ? cr + 2 : cr + 1;
    return {rest.substr(0, cr), rest.substr(0, end)};
}

template <class Take>
std::vector<std::string_view> splitWith(std::string_view bytes, std::size_t mostLines, Take take)
{
    std::vector<std::string_view> lines;
    for (std::size_t at = 0; at < bytes.size() && lines.size() < mostLines;) {
        const Line line = lineAt(bytes, at);
        lines.push_back(take(line));
        at += line.stored.size();
    }
    return lines;
}

} // namespace

std::vector<std::string_view> splitLines(std::string_view bytes, std::size_t mostLines)
{
    return splitWith(bytes, mostLines, [](const Line &line) { return line.text; });
}

std::vector<std::string_view> splitStoredLines(std::string_view bytes, std::size_t mostLines)
{
    return splitWith(bytes, mostLines, [](const Line &line) { return line.stored; });
}

std::string lineAfter(std::string_view fileEnd, std::string_view text)
{
    const bool lastLineEnded =
        fileEnd.empty() || fileEnd.ends_with('\r') || fileEnd.ends_with("\r\n");
    std::string line;
    line.reserve(text.size() + 4);
    if (!lastLineEnded)
        line += "\r\n";
    line += text;
    line += "\r\n";
    return line;
}
