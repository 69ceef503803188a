// SPDX-License-Identifier: MIT
#include "platform/Form.h"

#include "platform/DisplayServer.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenuBar>
#include <QPainter>
#include <QPixmapCache>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

class ClientArea : public QWidget {
public:
    explicit ClientArea(QWidget *parent) : QWidget(parent) {}

    void setPicture(const QString &resource)
    {
        resource_ = resource;
        update();
    }

protected:
    // Decoded at the first painting, not at creation: the windows made hidden at start-up
    // then cost nothing before the splash is up, and windows sharing a picture share it.
    void paintEvent(QPaintEvent *) override
    {
        if (resource_.isEmpty())
            return;
        QPixmap picture;
        if (!QPixmapCache::find(resource_, &picture)) {
            picture.load(resource_);
            QPixmapCache::insert(resource_, picture);
        }
        QPainter painter(this);
        painter.drawPixmap(0, 0, picture);
    }

private:
    QString resource_;
};

namespace {

QList<Form *> &registry()
{
    static QList<Form *> forms;
    return forms;
}

Qt::WindowFlags flagsFor(bool borderless)
{
    if (borderless)
        return Qt::SplashScreen | Qt::FramelessWindowHint;
    return Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
           Qt::MSWindowsFixedSizeDialogHint;
}

} // namespace

Form::Form(const QString &name, Frame frame, StartPosition start)
    : QWidget(nullptr, flagsFor(frame == Frame::Borderless)), layout_(new QVBoxLayout(this)),
      client_(new ClientArea(this)), start_(start)
{
    setObjectName(name);
    layout_->setContentsMargins(0, 0, 0, 0);
    layout_->setSpacing(0);
    layout_->setSizeConstraint(QLayout::SetFixedSize);
    layout_->addWidget(client_);
    registry().append(this);
}

Form::~Form()
{
    registry().removeOne(this);
}

QList<Form *> Form::liveForms()
{
    return registry();
}

QWidget *Form::client() const
{
    return client_;
}

void Form::setClientSize(QSize size)
{
    client_->setFixedSize(size);
}

void Form::setPicture(const QString &resource)
{
    client_->setPicture(resource);
}

QMenuBar *Form::addMenuBar()
{
    auto *bar = new QMenuBar(this);
    bar->setNativeMenuBar(false);
    layout_->setMenuBar(bar);
    return bar;
}

void Form::setDefaultButton(QPushButton *button)
{
    defaultButton_ = button;
    button->setDefault(true);
}

// Keys that no control took reach the window: Enter from a text box, say.
void Form::keyPressEvent(QKeyEvent *event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && defaultButton_ && defaultButton_->isEnabled()) {
        defaultButton_->click();
        return;
    }
    QWidget::keyPressEvent(event);
}

void Form::moveFrameTo(QPoint topLeft)
{
    // Sizing the window first keeps Qt's "position includes the frame" until the window is
    // created, so that the window manager puts the frame, not the client area, there.
    layout_->activate();
    move(topLeft);
}

void Form::placeAtStart()
{
    if (start_ != StartPosition::CentreScreen)
        return;
    layout_->activate();
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    QRect placed(QPoint(), size());
    placed.moveCenter(screen.center());
    setGeometry(placed);
}

void Form::showModeless()
{
    show();
    raise();
    activateWindow();
}

void Form::discard()
{
    if (unloaded_)
        return;
    unloaded_ = true;
    hide();
    deleteLater();
}

// The window exists on the display from here on, and is not shown yet.
bool Form::event(QEvent *event)
{
    if (event->type() == QEvent::WinIdChange && internalWinId())
        DisplayServer::nameMenuEntry(internalWinId());
    return QWidget::event(event);
}

void Form::closeEvent(QCloseEvent *event)
{
    if (unloaded_) {
        event->accept();
        return;
    }
    bool cancel = false;
    Form_Unload(cancel);
    if (cancel) {
        event->ignore();
        return;
    }
    event->accept();
    discard();
}
