// SPDX-License-Identifier: MIT
// The face file's line reader and code page 932 decoding, on any bytes at all; and a line
// appended to any file, which must leave every line there as it was.
#include "text/CodePage932.h"
#include "text/Lines.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const QList<QByteArrayView> texts = splitLines(bytes);
    const QList<QByteArrayView> stored = splitStoredLines(bytes);
    if (texts.size() != stored.size())
        std::abort();

    QByteArray joined;
    for (qsizetype i = 0; i < stored.size(); ++i) {
        // Every line is its text followed by nothing, CR, or CR LF; only the last may end bare.
        const QByteArrayView end = stored[i].sliced(texts[i].size());
        if (!stored[i].startsWith(texts[i]) || texts[i].contains('\r'))
            std::abort();
        if (end != "\r" && end != "\r\n" && !(end.isEmpty() && i + 1 == stored.size()))
            std::abort();
        joined += stored[i];

        const QString text = CodePage932::decode(texts[i]);
        // No byte is lost without a trace: every byte makes at most one character.
        if (text.size() > texts[i].size() || (text.isEmpty() && !texts[i].isEmpty()))
            std::abort();
        bool ascii = true;
        for (char c : texts[i])
            ascii = ascii && uchar(c) < 0x80;
        if (ascii && text != QString::fromLatin1(texts[i]))
            std::abort();
    }
    // Put together again, the lines are the file.
    if (joined != bytes)
        std::abort();

    // Appending a line (here the file's first bytes, without CR and LF) keeps the file as a
    // prefix and its lines as they were, and adds exactly that one line.
    QByteArray text = bytes.first(qMin<qsizetype>(bytes.size(), 8)).toByteArray();
    text.replace('\r', "").replace('\n', "");
    const QByteArray appended =
        bytes.toByteArray() + lineAfter(bytes.last(qMin<qsizetype>(bytes.size(), 2)), text);
    const QList<QByteArrayView> after = splitLines(appended);
    if (!appended.startsWith(bytes) || after.size() != texts.size() + 1 ||
        after.first(texts.size()) != texts || after.last() != text)
        std::abort();
    return 0;
}
