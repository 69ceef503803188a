// SPDX-License-Identifier: MIT
#include "text/Lines.h"

#include <cstring>

namespace {

// The line that starts at `at`: its text, and the same with its line end as stored.
struct Line {
    QByteArrayView text;
    QByteArrayView stored;
};

Line lineAt(QByteArrayView bytes, qsizetype at)
{
    const char *const start = bytes.data() + at;
    const char *const end = bytes.data() + bytes.size();
    const auto *cr = static_cast<const char *>(std::memchr(start, '\r', size_t(end - start)));
    if (!cr)
        return {QByteArrayView(start, end), QByteArrayView(start, end)};
    const char *next = cr + 1;
    if (next < end && *next == '\n')
        ++next;
    return {QByteArrayView(start, cr), QByteArrayView(start, next)};
}

template <class Take>
QList<QByteArrayView> splitWith(QByteArrayView bytes, qsizetype mostLines, Take take)
{
    QList<QByteArrayView> lines;
    for (qsizetype at = 0; at < bytes.size() && lines.size() < mostLines;) {
        const Line line = lineAt(bytes, at);
        lines.append(take(line));
        at += line.stored.size();
    }
    return lines;
}

} // namespace

QList<QByteArrayView> splitLines(QByteArrayView bytes, qsizetype mostLines)
{
    return splitWith(bytes, mostLines, [](const Line &line) { return line.text; });
}

QList<QByteArrayView> splitStoredLines(QByteArrayView bytes, qsizetype mostLines)
{
    return splitWith(bytes, mostLines, [](const Line &line) { return line.stored; });
}

QByteArray lineAfter(QByteArrayView fileEnd, QByteArrayView text)
{
    const bool lastLineEnded =
        fileEnd.isEmpty() || fileEnd.endsWith('\r') || fileEnd.endsWith("\r\n");
    QByteArray line;
    line.reserve(text.size() + 4);
    if (!lastLineEnded)
        line += "\r\n";
    line += text;
    line += "\r\n";
    return line;
}
