// SPDX-License-Identifier: MIT
#include "platform/Controls.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>

QColor systemColour(SystemColour colour)
{
    const QPalette palette = QApplication::palette();
    switch (colour) {
    case SystemColour::ButtonText:
        return palette.color(QPalette::Active, QPalette::ButtonText);
    case SystemColour::WindowText:
        return palette.color(QPalette::Active, QPalette::WindowText);
    case SystemColour::HighlightText:
    // Qt has no colour for title bar text; an active title bar draws it like selected text.
    case SystemColour::TitleBarText:
        return palette.color(QPalette::Active, QPalette::HighlightedText);
    }
    return {};
}

QLabel *addLabel(QWidget *parent, const QString &name, const QString &text, const QRect &geometry,
                 SystemColour colour)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setGeometry(geometry);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setTextFormat(Qt::PlainText);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, systemColour(colour));
    label->setPalette(palette);
    return label;
}

void sizeToText(QLabel *label)
{
    label->resize(label->sizeHint());
}

void CommandButton::keyPressEvent(QKeyEvent *event)
{
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        event->modifiers() == Qt::NoModifier) {
        click();
        return;
    }
    QPushButton::keyPressEvent(event);
}

CommandButton *addButton(QWidget *parent, const QString &name, const QString &caption,
                         const QRect &geometry)
{
    auto *button = new CommandButton(caption, parent);
    button->setObjectName(name);
    button->setGeometry(geometry);
    button->setAutoDefault(false);
    return button;
}

Line::Line(QWidget *parent, const QString &name, QPoint from, QPoint to, int penWidth)
    : QWidget(parent), from_(from), to_(to), penWidth_(penWidth)
{
    setObjectName(name);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    const int reach = penWidth;
    setGeometry(QRect(from, to).normalized().adjusted(-reach, -reach, reach, reach));
}

void Line::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setPen(
        QPen(systemColour(SystemColour::WindowText), penWidth_, Qt::SolidLine, Qt::FlatCap));
    painter.translate(-pos());
    painter.drawLine(from_, to_);
}
