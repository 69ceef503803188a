// SPDX-License-Identifier: MIT
#include "catalogue/FaceRemoval.h"

#include "text/Lines.h"

#include <cmath>

std::optional<qsizetype> listedIndex(double number, qsizetype listedCount)
{
    if (number >= 1 && number <= double(listedCount) && std::floor(number) == number)
        return qsizetype(number) - 1;
    return std::nullopt;
}

std::optional<QByteArray> withoutListedLine(QByteArrayView content, qsizetype index,
                                            QByteArrayView listed)
{
    Q_ASSERT(index >= 0);
    const QList<QByteArrayView> stored = splitStoredLines(content);
    const QList<QByteArrayView> texts = splitLines(content, index + 1);
    if (index >= texts.size() || texts[index] != listed)
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
