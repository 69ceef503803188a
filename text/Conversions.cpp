// SPDX-License-Identifier: MIT
#include "text/Conversions.h"

#include <charconv>
#include <string>

namespace {

bool isSkipped(char16_t c)
{
    return c == u' ' || c == u'\t' || c == u'\n';
}
bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

} // namespace

double Val(std::u16string_view text)
{
    std::string kept;
    for (char16_t c : text) {
        if (isSkipped(c))
            continue;
        // Only ASCII can be part of a number; the first other character ends it.
        if (c > 0x7F)
            break;
        kept += char(c);
    }

    std::size_t end = 0;
    const auto digitsFrom = [&kept](std::size_t at) {
        while (at < kept.size() && isDigit(kept[at]))
            ++at;
        return at;
    };
    if (end < kept.size() && (kept[end] == '+' || kept[end] == '-'))
        ++end;
    const std::size_t integerStart = end;
    end = digitsFrom(end);
    std::size_t mantissaDigits = end - integerStart;
    if (end < kept.size() && kept[end] == '.') {
        const std::size_t fractionEnd = digitsFrom(end + 1);
        mantissaDigits += fractionEnd - (end + 1);
        end = fractionEnd;
    }
    if (mantissaDigits == 0)
        return 0.0;
    if (end < kept.size() && (kept[end] == 'e' || kept[end] == 'E')) {
        std::size_t exponent = end + 1;
        if (exponent < kept.size() && (kept[exponent] == '+' || kept[exponent] == '-'))
            ++exponent;
        if (const std::size_t exponentEnd = digitsFrom(exponent); exponentEnd > exponent)
            end = exponentEnd;
    }
    // from_chars reads the C locale's numbers whatever the user's locale, but takes no '+'.
    const char *first = kept.data() + (kept[0] == '+' ? 1 : 0);
    double value = 0.0;
    const auto [stop, error] = std::from_chars(first, kept.data() + end, value);
    // Beyond the range of a double, no face can be meant.
    return error == std::errc() ? value : 0.0;
}
