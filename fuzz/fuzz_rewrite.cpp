// SPDX-License-Identifier: MIT
// The deletion's rewrite on any face file and any listed number: either it refuses because the
// listed face is no longer there, or the faces after the rewrite are the faces before less the
// chosen one, and the bytes are the old file's less the chosen line.
#include "catalogue/FaceRemoval.h"
#include "text/Lines.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < 3)
        return 0;
    // First byte: the chosen number; second: whether it has a fraction, and whether one
    // listed line has changed since listing; the rest: the file.
    const double chosen = double(int(data[0]) - 8) + ((data[1] & 1) ? 0.5 : 0.0);
    const bool changedSinceListed = data[1] & 2;
    const std::string_view content(reinterpret_cast<const char *>(data + 2), size - 2);

    std::vector<std::string> listed;
    for (std::string_view line : splitLines(content, kMostListedFaces))
        listed.emplace_back(line);
    if (changedSinceListed && !listed.empty())
        listed[std::size_t(data[1] >> 2) % listed.size()] += '!';

    const std::optional<std::size_t> chosenIndex = listedIndex(chosen, listed.size());
    if (!chosenIndex)
        return 0;
    const std::size_t index = *chosenIndex;
    if (std::int64_t(index) != std::int64_t(chosen) - 1)
        std::abort();
    const std::optional<std::string> kept = withoutListedLine(content, index, listed[index]);
    // Refused exactly when the chosen line is not the one listed.
    std::vector<std::string_view> faces = splitLines(content);
    if (kept.has_value() != (index < faces.size() && faces[index] == listed[index]))
        std::abort();
    if (!kept)
        return 0;

    // The faces after are the faces before, less the chosen one, each exactly as it was.
    faces.erase(faces.begin() + std::ptrdiff_t(index));
    if (splitLines(*kept) != faces)
        std::abort();

    // What went is one whole stored line, the chosen one, as it was listed; the only byte added
    // is the LF that keeps a lone CR before it from taking the next line's leading LF.
    std::size_t start = 0;
    const std::vector<std::string_view> stored = splitStoredLines(content);
    for (std::size_t i = 0; i < index; ++i)
        start += stored[i].size();
    const std::string_view gone = stored[index];
    const std::string_view after = content.substr(start + gone.size());
    const bool joined = start > 0 && content[start - 1] == '\r' && after.starts_with('\n');
    if (!gone.starts_with(listed[index]) || kept->size() < start ||
        kept->substr(0, start) != content.substr(0, start) ||
        kept->substr(start) != (joined ? "\n" + std::string(after) : std::string(after)))
        std::abort();
    return 0;
}
