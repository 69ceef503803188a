// SPDX-License-Identifier: MIT
#pragma once

#include <QFont>

// The windows are designed for the Japanese proportional Gothic face "ＭＳ Ｐゴシック".
namespace Fonts {

inline constexpr char16_t kDesignFace[] = u"ＭＳ Ｐゴシック";

// Maps the design face onto an installed Japanese Gothic face and makes it the default font,
// so that no caption or face is ever drawn as empty boxes.
void install();

// The design face at the given size, as the window descriptions name it.
QFont designFont(qreal pointSize, int weight = 400);

} // namespace Fonts
