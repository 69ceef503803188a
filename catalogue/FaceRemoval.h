// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// Taking one face out of the face file's bytes without ever losing another.
//
// The deletion window lists the file as it was when the window opened; by the time the user
// deletes, the file may have grown or changed. So a line goes only if the file still holds, at
// the chosen number, the bytes that were listed there, and every other face reads back exactly as
// before: each line stays as stored, line end included, except that a line ended by a lone CR
// gets CR LF where the line after the chosen one begins with LF.

// The most faces the deletion window lists, numbered 1 to 501, and so the most it can delete.
constexpr std::size_t kMostListedFaces = 501;

// The index of the listed face that a typed number names: the whole numbers 1 to the count name
// the listed faces in order, and nothing else names any.
std::optional<std::size_t> listedIndex(double number, std::size_t listedCount);

// The content without the line at `index`, or nothing when the file no longer holds there the
// line `listed`, byte for byte.
std::optional<std::string> withoutListedLine(std::string_view content, std::size_t index,
                                             std::string_view listed);
