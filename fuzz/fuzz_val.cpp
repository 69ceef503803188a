// SPDX-License-Identifier: MIT
// The value of a text, on any text at all.
#include "text/Conversions.h"

#include <QString>

#include <cmath>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    const double value = Val(text);
    if (!std::isfinite(value))
        std::abort();
    // Blanks, tabs and line feeds count for nothing, wherever they stand.
    const QString padded = QStringLiteral(" \t") + text + QStringLiteral("\n");
    const QString spaced = QString(text).replace(QChar(u'7'), QStringLiteral("7 "));
    if (Val(padded) != value || Val(spaced) != value)
        std::abort();
    // A text beginning with neither sign, digit nor point is worth nothing.
    const QString kept =
        QString(text).remove(QChar(u' ')).remove(QChar(u'\t')).remove(QChar(u'\n'));
    if (!kept.isEmpty() && !QStringLiteral("+-.0123456789").contains(kept[0]) && value != 0)
        std::abort();
    return 0;
}
