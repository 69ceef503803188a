// SPDX-License-Identifier: MIT
// Draws the program's pictures into resources/pictures. They are committed; run this again
// only to change their look: draw-pictures <folder>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

namespace {

// Splash and version windows: white at (115, 90), falling off evenly to a flat grey of 115.
QImage radialGradient()
{
    QImage image(425, 283, QImage::Format_RGB888);
    const double radius = 190.0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const double distance = std::hypot(x - 115.0, y - 90.0);
            const double t = std::min(1.0, distance / radius);
            const int grey = int(std::lround(255.0 - (255.0 - 115.0) * t));
            image.setPixelColor(x, y, QColor(grey, grey, grey));
        }
    }
    return image;
}

std::vector<double> blurred(const std::vector<double> &values, int width, int height, int reach)
{
    std::vector<double> across(values.size()), out(values.size());
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            double sum = 0;
            int count = 0;
            for (int d = -reach; d <= reach; ++d)
                if (x + d >= 0 && x + d < width) {
                    sum += values[y * width + x + d];
                    ++count;
                }
            across[y * width + x] = sum / count;
        }
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            double sum = 0;
            int count = 0;
            for (int d = -reach; d <= reach; ++d)
                if (y + d >= 0 && y + d < height) {
                    sum += across[(y + d) * width + x];
                    ++count;
                }
            out[y * width + x] = sum / count;
        }
    return out;
}

// Main, registration and deletion windows: mid-grey ground, a soft embossed shape upper left.
QImage greyTexture()
{
    const int width = 227, height = 283;
    QImage shape(width, height, QImage::Format_Grayscale8);
    shape.fill(0);
    {
        QPainter painter(&shape);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(Qt::white);
        QPainterPath path;
        path.moveTo(18, 30);
        path.cubicTo(70, -10, 150, 20, 128, 62);
        path.cubicTo(110, 96, 170, 110, 140, 140);
        path.cubicTo(108, 172, 40, 150, 30, 112);
        path.cubicTo(22, 84, -8, 62, 18, 30);
        painter.drawPath(path);
        painter.setBrush(Qt::black);
        painter.drawEllipse(QPointF(70, 70), 26, 20);
        painter.setBrush(Qt::white);
        painter.drawEllipse(QPointF(70, 70), 11, 8);
    }
    std::vector<double> mask(width * height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            mask[y * width + x] = qGray(shape.pixel(x, y)) / 255.0;
    mask = blurred(mask, width, height, 3);

    QImage image(width, height, QImage::Format_RGB888);
    unsigned seed = 20261209;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            auto at = [&](int px, int py) {
                px = std::clamp(px, 0, width - 1);
                py = std::clamp(py, 0, height - 1);
                return mask[py * width + px];
            };
            const double relief = at(x - 2, y - 2) - at(x + 2, y + 2);
            seed = seed * 1103515245u + 12345u;
            const double grain = double((seed >> 16) % 7) - 3.0;
            const double value = 138.0 + 8.0 * at(x, y) + 40.0 * relief + grain;
            const int grey = std::clamp(int(std::lround(value)), 123, 168);
            image.setPixelColor(x, y, QColor(grey, grey, grey));
        }
    }
    return image;
}

// The smiling face: yellow, black eyes, a red open mouth, on a transparent ground.
QImage smileInFullColour(int size)
{
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, size > 16);
    const double s = size / 32.0;
    painter.setPen(QPen(Qt::black, std::max(1.0, 1.2 * s)));
    painter.setBrush(QColor(255, 255, 0));
    painter.drawEllipse(QRectF(1 * s, 1 * s, 30 * s, 30 * s));
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    painter.drawEllipse(QRectF(9 * s, 8 * s, 4 * s, 7 * s));
    painter.drawEllipse(QRectF(19 * s, 8 * s, 4 * s, 7 * s));
    painter.setBrush(QColor(255, 0, 0));
    painter.setPen(QPen(Qt::black, std::max(1.0, 1.2 * s)));
    QPainterPath mouth;
    mouth.moveTo(8 * s, 18 * s);
    mouth.lineTo(24 * s, 18 * s);
    mouth.arcTo(QRectF(8 * s, 10 * s, 16 * s, 16 * s), 0, -180);
    painter.drawPath(mouth);
    painter.end();
    return image;
}

// The window icon, in the classic 16 colours plus transparency.
QImage smile(int size)
{
    const QImage image = smileInFullColour(size);
    const QList<QRgb> palette{
        qRgba(0, 0, 0, 0),   qRgb(0, 0, 0),       qRgb(128, 0, 0),   qRgb(0, 128, 0),
        qRgb(128, 128, 0),   qRgb(0, 0, 128),     qRgb(128, 0, 128), qRgb(0, 128, 128),
        qRgb(192, 192, 192), qRgb(128, 128, 128), qRgb(255, 0, 0),   qRgb(0, 255, 0),
        qRgb(255, 255, 0),   qRgb(0, 0, 255),     qRgb(255, 0, 255), qRgb(255, 255, 255),
    };
    QImage indexed(size, size, QImage::Format_Indexed8);
    indexed.setColorTable(palette);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const QRgb pixel = image.pixel(x, y);
            int best = 0;
            if (qAlpha(pixel) >= 128) {
                int bestDistance = INT32_MAX;
                for (int i = 1; i < palette.size(); ++i) {
                    const int dr = qRed(pixel) - qRed(palette[i]);
                    const int dg = qGreen(pixel) - qGreen(palette[i]);
                    const int db = qBlue(pixel) - qBlue(palette[i]);
                    const int distance = dr * dr + dg * dg + db * db;
                    if (distance < bestDistance) {
                        bestDistance = distance;
                        best = i;
                    }
                }
            }
            indexed.setPixel(x, y, uint(best));
        }
    return indexed;
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: draw-pictures <folder>\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const bool ok = radialGradient().save(folder + "/gradient.png") &&
                    greyTexture().save(folder + "/texture.png") &&
                    smile(16).save(folder + "/smile-16.png") &&
                    smile(32).save(folder + "/smile-32.png") &&
                    smileInFullColour(48).save(folder + "/picora3-48.png") &&
                    smileInFullColour(256).save(folder + "/picora3-256.png");
    return ok ? 0 : 1;
}
