// SPDX-License-Identifier: MIT
// The least a Qt Widgets program can do to show a frameless window of the splash's size: the
// yardstick that the program's own start-up is measured against. With --japanese it also
// shows one Japanese caption, which costs a Japanese font: the least a Japanese splash does.
#include <QApplication>
#include <QLabel>
#include <QWidget>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QWidget window(nullptr, Qt::FramelessWindowHint);
    window.setWindowTitle(QStringLiteral("floor"));
    window.resize(299, 162);
    if (app.arguments().contains(QStringLiteral("--japanese"))) {
        auto *caption = new QLabel(QStringLiteral("ピコラ　３"), &window);
        caption->setFont(QFont(QStringLiteral("IPAPGothic"), 20));
        caption->move(40, 40);
    }
    window.show();
    return app.exec();
}
