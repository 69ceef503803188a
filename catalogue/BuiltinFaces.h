// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <span>
#include <string_view>

// The six built-in categories. They are constant: the user's own faces live in the face file.
namespace Catalogue {

using FaceList = std::span<const std::u16string_view>;

extern const FaceList kWaraiFaces;    // laughing, 37 faces
extern const FaceList kNakiFaces;     // crying, 18 faces
extern const FaceList kIkariFaces;    // angry, 9 faces
extern const FaceList kTanoshiiFaces; // surprised, 18 faces
extern const FaceList kSonotaFaces;   // other, 28 faces
extern const FaceList kMuFaces;       // expressionless, 15 faces

// The six in the order of their buttons on the main window, column by column: 笑い系, 泣き系,
// 怒り系, 驚き系, 無表情系, その他系.
extern const std::array<FaceList, 6> kButtonOrder;

} // namespace Catalogue
