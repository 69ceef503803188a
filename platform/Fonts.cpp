// SPDX-License-Identifier: MIT
#include "platform/Fonts.h"

#include <QApplication>
#include <QFontDatabase>

namespace Fonts {

namespace {

// fontconfig answers the design face with a Latin face, so name the stand-ins explicitly:
// IPAPGothic is proportional like the design face, IPAGothic and Noto Sans CJK are fallbacks.
const QStringList kStandIns{"IPAPGothic", "IPAGothic", "Noto Sans CJK JP"};

// The windows' default font is left open by their descriptions; 9 points of the same
// Japanese face keeps captions legible and matches the one-line label heights.
constexpr qreal kDefaultPointSize = 9.0;

// The face that stands for the design face here, found once: a name that does not resolve
// sends fontconfig through a round of fallback searches for every font made with it.
QString &resolvedFace()
{
    static QString face = QString::fromUtf16(kDesignFace);
    return face;
}

} // namespace

void install()
{
    const QString design = QString::fromUtf16(kDesignFace);
    QFont::insertSubstitutions(design, kStandIns);
    if (!QFontDatabase::hasFamily(design)) {
        for (const QString &standIn : kStandIns) {
            if (QFontDatabase::hasFamily(standIn)) {
                resolvedFace() = standIn;
                break;
            }
        }
    }
    QApplication::setFont(designFont(kDefaultPointSize));
}

QFont designFont(qreal pointSize, int weight)
{
    QFont font(resolvedFace());
    font.setPointSizeF(pointSize);
    font.setWeight(QFont::Weight(weight));
    font.setItalic(false);
    font.setUnderline(false);
    font.setStrikeOut(false);
    return font;
}

} // namespace Fonts
