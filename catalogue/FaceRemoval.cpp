// SPDX-License-Identifier: MIT
#include "catalogue/FaceRemoval.h"

#include "text/Lines.h"

#include <cmath>
#include <vector>

std::optional<std::size_t> listedIndex(double number, std::size_t listedCount)
{
    if (number >= 1 && number <= double(listedCount) && std::floor(number) == number)
        return std::size_t(number) - 1;
    return std::nullopt;
}

std::optional<std::string> withoutListedLine(std::string_view content, std::size_t index,
                                             std::string_view listed)
{
    const std::vector<std::string_view> stored = splitStoredLines(content);
    const std::vector<std::string_view> texts = splitLines(content, index + 1);
    if (index >= texts.size() || texts[index] != listed)
        return std::nullopt;

    std::string kept;
    kept.reserve(content.size() + 1);
    std::size_t joint = 0;
    for (std::size_t i = 0; i < stored.size(); ++i) {
        if (i == index)
            joint = kept.size();
        else
            kept += stored[i];
    }
    // A line ended by a lone CR, now followed by a line that begins with LF, would take that LF
    // as its own line end and change the next face: it gets a whole CR LF instead.
    if (index > 0 && index + 1 < stored.size() && stored[index - 1].ends_with('\r') &&
        stored[index + 1].starts_with('\n'))
        kept.insert(joint, 1, '\n');
    return kept;
}
