// SPDX-License-Identifier: MIT
#pragma once

// Shown by the splash and the version window alike.
namespace Credits {

inline constexpr char16_t kCopyright[] = u"(C) 2026 ピコラ３開発チーム";
inline constexpr char16_t kNotice[] =
    u"このソフトはフリーソフトです。内容を変えずに、無料でのみ自由に配布できます。";

// Where questions, complaints and comments go; the help text points users here.
inline constexpr char16_t kHomePage[] = u"https://picora3.example/";

} // namespace Credits
