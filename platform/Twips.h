// SPDX-License-Identifier: MIT
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

// Window layouts are designed in twips; at 96 dpi fifteen of them make one pixel.
// Qt's own high-dpi scaling takes over from there on denser screens.
constexpr int kTwipsPerPixel = 15;

constexpr int twips(int value)
{
    return value / kTwipsPerPixel;
}

constexpr QRect twipsRect(int left, int top, int width, int height)
{
    return QRect(twips(left), twips(top), twips(width), twips(height));
}

constexpr QPoint twipsPoint(int x, int y)
{
    return QPoint(twips(x), twips(y));
}

constexpr QSize twipsSize(int width, int height)
{
    return QSize(twips(width), twips(height));
}
