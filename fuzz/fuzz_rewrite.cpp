// SPDX-License-Identifier: MIT
// The deletion's rewrite on any face file and any listed number: either it refuses because the
// listed face is no longer there, or the faces after the rewrite are the faces before less the
// chosen one, and the bytes are the old file's less the chosen line.
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
    for (QByteArrayView line : splitLines(content, kMostListedFaces))
        listed.append(line.toByteArray());
    if (changedSinceListed && !listed.isEmpty())
        listed[qsizetype(data[1] >> 2) % listed.size()].append('!');

    const std::optional<qsizetype> chosenIndex = listedIndex(chosen, listed.size());
    if (!chosenIndex)
        return 0;
    const qsizetype index = *chosenIndex;
    if (index != qsizetype(chosen) - 1)
        std::abort();
    const std::optional<QByteArray> kept = withoutListedLine(content, index, listed[index]);
    // Refused exactly when the chosen line is not the one listed.
    QList<QByteArrayView> faces = splitLines(content);
    if (kept.has_value() != (index < faces.size() && faces[index] == listed[index]))
        std::abort();
    if (!kept)
        return 0;

    // The faces after are the faces before, less the chosen one, each exactly as it was.
    faces.removeAt(index);
    if (splitLines(*kept) != faces)
        std::abort();

    // What went is one whole stored line, the chosen one, as it was listed; the only byte added
    // is the LF that keeps a lone CR before it from taking the next line's leading LF.
    qsizetype start = 0;
    const QList<QByteArrayView> stored = splitStoredLines(content);
    for (qsizetype i = 0; i < index; ++i)
        start += stored[i].size();
    const QByteArrayView gone = stored[index];
    const QByteArrayView after = content.sliced(start + gone.size());
    const bool joined = start > 0 && content[start - 1] == '\r' && after.startsWith('\n');
    if (!gone.startsWith(listed[index]) || kept->first(start) != content.first(start) ||
        kept->sliced(start) != (joined ? "\n" + after.toByteArray() : after.toByteArray()))
        std::abort();
    return 0;
}
