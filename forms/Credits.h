// SPDX-License-Identifier: MIT
#pragma once

#include <QRect>
#include <QString>

#include <array>

class QLabel;
class QWidget;

// Shown by the splash and the version window alike.
namespace Credits {

inline constexpr char16_t kCopyright[] = u"(C) 2026 ピコラ３開発チーム";
inline constexpr char16_t kNotice[] =
    u"このソフトはフリーソフトです。内容を変えずに、無料でのみ自由に配布できます。";

// Where questions, complaints and comments go; the help text points users here.
inline constexpr char16_t kHomePage[] = u"https://picora3.example/";

// The labels the splash and the version window share: the same family name, product name,
// version, copyright line and notice, placed differently (rectangles in pixels).
struct Places {
    QRect family;
    QRect product;
    QRect version;
    QRect copyright;
    QRect notice;
};

struct Labels {
    std::array<QLabel *, 2> Label1; // family name, product name
    QLabel *Label3;                 // version
    QLabel *Label2;                 // copyright line
    QLabel *Label4;                 // notice
};

Labels addLabels(QWidget *client, const QString &productName, const Places &places);

} // namespace Credits
