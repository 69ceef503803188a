// SPDX-License-Identifier: MIT
#pragma once

#include <QColor>
#include <QLabel>
#include <QPalette>
#include <QPoint>
#include <QPushButton>
#include <QWidget>

// The system colours the window descriptions name.
enum class SystemColour {
    ButtonText,    // labels over the splash and version pictures
    WindowText,    // drawn lines
    HighlightText, // captions over the grey texture
    TitleBarText,  // the chosen face
};

QColor systemColour(SystemColour colour);

// A caption: transparent over the window's picture, in a system colour.
QLabel *addLabel(QWidget *parent, const QString &name, const QString &text, const QRect &geometry,
                 SystemColour colour);

// Shrinks or grows a label to its caption in its font, keeping its top-left corner.
void sizeToText(QLabel *label);

// A push button that Enter presses too while it has the focus, as space does.
class CommandButton : public QPushButton {
public:
    CommandButton(const QString &caption, QWidget *parent) : QPushButton(caption, parent) {}

protected:
    void keyPressEvent(QKeyEvent *event) override;
};

CommandButton *addButton(QWidget *parent, const QString &name, const QString &caption,
                         const QRect &geometry);

// A solid straight line between two points of its parent, given in pixels.
class Line : public QWidget {
public:
    Line(QWidget *parent, const QString &name, QPoint from, QPoint to, int penWidth);

    QPoint from() const { return from_; }
    QPoint to() const { return to_; }
    int penWidth() const { return penWidth_; }

protected:
    void paintEvent(QPaintEvent *) override;

private:
    QPoint from_;
    QPoint to_;
    int penWidth_;
};
