// SPDX-License-Identifier: MIT
#include "catalogue/FaceRemoval.h"

#include "text/Lines.h"

#include <cmath>

bool namesListedLine(double chosen, qsizetype listedCount)
{
    return chosen >= 1 && chosen <= double(listedCount) && std::floor(chosen) == chosen;
}

std::optional<QByteArray> withoutListedLine(QByteArrayView content, double chosen,
                                            const QList<QByteArray> &listed)
{
    Q_ASSERT(namesListedLine(chosen, listed.size()));
    const qsizetype index = qsizetype(chosen) - 1;
    const QList<QByteArrayView> stored = splitStoredLines(content);
    const QList<QByteArrayView> texts = splitLines(content, index + 1);
    if (index >= texts.size() || texts[index] != listed[index])
        return std::nullopt;

    QByteArray kept;
    kept.reserve(content.size() + 1);
    qsizetype joint = 0;
    for (qsizetype i = 0; i < stored.size(); ++i) {
        if (i == index)
            joint = kept.size();
        else
            kept.append(stored[i]);
    }
    // A line ended by a lone CR, now followed by a line that begins with LF, would take that LF
    // as its own line end and change the next face: it gets a whole CR LF instead.
    if (index > 0 && index + 1 < stored.size() && stored[index - 1].endsWith('\r') &&
        stored[index + 1].startsWith('\n'))
        kept.insert(joint, '\n');
    return kept;
}
