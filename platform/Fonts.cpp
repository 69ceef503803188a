// SPDX-License-Identifier: MIT
#include "Fonts.h"

#include <QApplication>

namespace Fonts {

namespace {

// fontconfig answers the design face with a Latin face, so name the stand-ins explicitly:
// IPAPGothic is proportional like the design face, IPAGothic and Noto Sans CJK are fallbacks.
const QStringList kStandIns{"IPAPGothic", "IPAGothic", "Noto Sans CJK JP"};

// The windows' default font is left open by their descriptions; 9 points of the same
// Japanese face keeps captions legible and matches the one-line label heights.
constexpr qreal kDefaultPointSize = 9.0;

} // namespace

void install()
{
    QFont::insertSubstitutions(QString::fromUtf16(kDesignFace), kStandIns);
    QApplication::setFont(designFont(kDefaultPointSize));
}

QFont designFont(qreal pointSize, int weight)
{
    QFont font(QString::fromUtf16(kDesignFace));
    font.setPointSizeF(pointSize);
    font.setWeight(QFont::Weight(weight));
    font.setItalic(false);
    font.setUnderline(false);
    font.setStrikeOut(false);
    return font;
}

} // namespace Fonts
