// SPDX-License-Identifier: MIT
#include "platform/Runtime.h"

#include "platform/Fonts.h"
#include "platform/Form.h"

#include <QApplication>
#include <QIcon>

#include <csignal>

namespace Runtime {

namespace {

std::function<void()> &endAction()
{
    static std::function<void()> action = [] { QCoreApplication::exit(0); };
    return action;
}

} // namespace

void prepare(QApplication &app)
{
    // Desktops match a window to its menu entry: on X by the class in WM_CLASS (the
    // application's name, whatever the program file is called), on Wayland by the app id (the
    // desktop file's name).
    QCoreApplication::setApplicationName(QStringLiteral("picora3"));
    QGuiApplication::setDesktopFileName(QStringLiteral(PICORA_APP_ID));
    Fonts::install();
    QIcon icon;
    icon.addFile(QStringLiteral(":/pictures/smile-16.png"));
    icon.addFile(QStringLiteral(":/pictures/smile-32.png"));
    app.setWindowIcon(icon);
    // Closing the last visible window (the splash, say) must not end the program: only the
    // main window's confirmed quit does.
    app.setQuitOnLastWindowClosed(false);
#ifdef SIGXFSZ
    // A write beyond the file size limit must fail and be reported like a full disk, not end
    // the program with the user's entry in it.
    std::signal(SIGXFSZ, SIG_IGN);
#endif
}

void End()
{
    for (Form *form : Form::liveForms())
        form->discard();
    endAction()();
}

void setEndAction(std::function<void()> action)
{
    endAction() = std::move(action);
}

void destroyAllForms()
{
    qDeleteAll(Form::liveForms());
}

} // namespace Runtime
