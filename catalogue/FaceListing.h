// SPDX-License-Identifier: MIT
#pragma once

#include "catalogue/FaceFile.h"

#include <cstddef>
#include <string>
#include <vector>

// Every face the program offers, each one line of text, for programs that show one entry a
// line (a launcher's menu): the six built-in lists in the order of their buttons, then the
// face file's lines in file order.
struct FaceListing {
    std::vector<std::u16string> faces;
    std::size_t leftOut = 0; // faces holding a line feed, which no single line can show
    FaceFileReading::State faceFile = FaceFileReading::State::Absent;
    std::u16string reason; // why the face file is unreadable, for the user
};

FaceListing listEveryFace(const FileSystem::Path &faceFilePath);
