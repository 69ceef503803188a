// SPDX-License-Identifier: MIT
// The deletion's rewrite on any face file and any listed number: either it refuses because the
// listed face is no longer there, or the result is the old file less exactly the chosen line,
// byte for byte.
#include "catalogue/FaceRemoval.h"
#include "text/Lines.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < 3)
        return 0;
    // First byte: the chosen number; second: whether it has a fraction, and whether one
    // listed line has changed since listing; the rest: the file.
    const double chosen = double(int(data[0]) - 8) + ((data[1] & 1) ? 0.5 : 0.0);
    const bool changedSinceListed = data[1] & 2;
    const QByteArrayView content(reinterpret_cast<const char *>(data + 2), qsizetype(size - 2));

    QList<QByteArray> listed;
    for (QByteArrayView line : splitLines(content))
        if (listed.size() < 501)
            listed.append(line.toByteArray());
    if (changedSinceListed && !listed.isEmpty())
        listed[qsizetype(data[1] >> 2) % listed.size()].append('!');

    if (!namesListedLine(chosen, listed.size()))
        return 0;
    const std::optional<QByteArray> kept = withoutListedLine(content, chosen, listed);
    const qsizetype index = qsizetype(chosen) - 1;
    // Refused exactly when the chosen line is not the one listed.
    const QList<QByteArrayView> texts = splitLines(content);
    if (kept.has_value() != (index < texts.size() && texts[index] == listed[index]))
        std::abort();
    if (!kept)
        return 0;

    // What went is one whole stored line, the chosen one, as it was listed.
    qsizetype start = 0;
    const QList<QByteArrayView> stored = splitStoredLines(content);
    for (qsizetype i = 0; i < index; ++i)
        start += stored[i].size();
    const QByteArrayView gone = stored[index];
    if (!gone.startsWith(listed[index]) || kept->size() != content.size() - gone.size() ||
        kept->first(start) != content.first(start) ||
        kept->sliced(start) != content.sliced(start + gone.size()))
        std::abort();
    return 0;
}
