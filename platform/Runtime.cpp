// SPDX-License-Identifier: MIT
#include "Runtime.h"

#include "Fonts.h"
#include "Form.h"

#include <QApplication>
#include <QIcon>

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
    Fonts::install();
    QIcon icon;
    icon.addFile(QStringLiteral(":/pictures/smile-16.png"));
    icon.addFile(QStringLiteral(":/pictures/smile-32.png"));
    app.setWindowIcon(icon);
    // Closing the last visible window (the splash, say) must not end the program: only the
    // main window's confirmed quit does.
    app.setQuitOnLastWindowClosed(false);
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
