// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <span>
#include <string_view>

// The six built-in categories. They are constant: the user's own faces live in the face file.
namespace Catalogue {

using FaceList = std::span<const std::u16string_view>;

// Everything the program says and shows of one built-in category.
struct Category {
    std::u16string_view codeName; // names its button, cmdWarai, and its fill, AddWaraiFaces
    std::u16string_view caption;  // its button's
    std::u16string_view label;    // what the main window's lblSel says while its faces show
    FaceList faces;
};

extern const Category kWarai;    // laughing, 37 faces
extern const Category kNaki;     // crying, 18 faces
extern const Category kIkari;    // angry, 9 faces
extern const Category kTanoshii; // surprised, 18 faces
extern const Category kMu;       // expressionless, 15 faces
extern const Category kSonota;   // other, 28 faces

// The six in the order of their buttons on the main window, column by column: 笑い系, 泣き系,
// 怒り系, 驚き系, 無表情系, その他系.
extern const std::array<const Category *, 6> kCategories;

} // namespace Catalogue
