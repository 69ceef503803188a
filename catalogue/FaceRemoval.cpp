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
    kept.reserve(content.size());
    for (qsizetype i = 0; i < stored.size(); ++i)
        if (i != index)
            kept.append(stored[i]);
    return kept;
}
