// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

// File bytes are lines: CR, or CR LF, ends a line; a lone LF is an ordinary character; the
// end of the data ends the last line, and a line end at the very end starts no further line.
// CR and LF never occur inside a code page 932 character, so bytes split before decoding.

// The lines without their line ends, the first `mostLines` of them.
std::vector<std::string_view> splitLines(
    std::string_view bytes, std::size_t mostLines = std::numeric_limits<std::size_t>::max());

// The same lines with their line ends as stored (none after an unended last line), so that
// putting them together again gives back the bytes exactly.
std::vector<std::string_view> splitStoredLines(
    std::string_view bytes, std::size_t mostLines = std::numeric_limits<std::size_t>::max());

// The bytes that add `text` as one more line after a file ending in `fileEnd` (at least its
// last two bytes): a line end first when the file's last line is unended, so that neither line
// runs into the other, then the text and CR LF. The text must hold no CR or LF.
std::string lineAfter(std::string_view fileEnd, std::string_view text);
