// SPDX-License-Identifier: MIT
#include "text/Conversions.h"

#include <QByteArray>

#include <charconv>

namespace {

bool isSkipped(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n';
}
bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

} // namespace

double Val(QStringView text)
{
    QByteArray kept;
    for (QChar c : text) {
        if (isSkipped(c))
            continue;
        // Only ASCII can be part of a number; the first other character ends it.
        if (c.unicode() > 0x7F)
            break;
        kept.append(char(c.unicode()));
    }

    qsizetype end = 0;
    const auto digitsFrom = [&kept](qsizetype at) {
        while (at < kept.size() && isDigit(kept[at]))
            ++at;
        return at;
    };
    if (end < kept.size() && (kept[end] == '+' || kept[end] == '-'))
        ++end;
    const qsizetype integerStart = end;
    end = digitsFrom(end);
    qsizetype mantissaDigits = end - integerStart;
    if (end < kept.size() && kept[end] == '.') {
        const qsizetype fractionEnd = digitsFrom(end + 1);
        mantissaDigits += fractionEnd - (end + 1);
        end = fractionEnd;
    }
    if (mantissaDigits == 0)
        return 0.0;
    if (end < kept.size() && (kept[end] == 'e' || kept[end] == 'E')) {
        qsizetype exponent = end + 1;
        if (exponent < kept.size() && (kept[exponent] == '+' || kept[exponent] == '-'))
            ++exponent;
        if (const qsizetype exponentEnd = digitsFrom(exponent); exponentEnd > exponent)
            end = exponentEnd;
    }
    // from_chars reads the C locale's numbers whatever the user's locale, but takes no '+'.
    const char *first = kept.constData() + (kept[0] == '+' ? 1 : 0);
    double value = 0.0;
    const auto [stop, error] = std::from_chars(first, kept.constData() + end, value);
    // Beyond the range of a double, no face can be meant.
    return error == std::errc() ? value : 0.0;
}
