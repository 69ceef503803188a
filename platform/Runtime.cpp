// SPDX-License-Identifier: MIT
#include "platform/Runtime.h"

#include "platform/DisplayServer.h"
#include "platform/Fonts.h"
#include "platform/Form.h"

#include <QApplication>
#include <QComboBox>
#include <QIcon>
#include <QKeyEvent>
#include <QLineEdit>

#include <csignal>
#include <cstdio>
#include <cstdlib>

namespace Runtime {

namespace {

std::function<void()> &endAction()
{
    static std::function<void()> action = [] { QCoreApplication::exit(0); };
    return action;
}

// A fatal message while the application connects to the display means there is none.
bool connecting = true;

// Without a display Qt gives up with a fatal message about platform plugins; say plainly
// what is wrong instead.
void reportMissingDisplay(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtFatalMsg && connecting) {
        std::fputs("ピコラ３を起動できません：画面（ディスプレイ）に接続できませんでした。\n"
                   "picora3: cannot start: no display could be opened (is DISPLAY set?)\n",
                   stderr);
        std::_Exit(1);
    }
    std::fprintf(stderr, "%s\n", qPrintable(message));
}

// An Alt chord is a command, never text: Alt+F pressed out of habit for a File menu must not
// type "f" into a field and put it on the clipboard. The menu bar, which watches the whole
// program from the moment Alt goes down, still sees the chord first, so Alt alone keeps
// opening the menus.
class AltChordsTypeNothing : public QObject {
    // An editable list hands its keys on to its text field itself.
    static bool takesText(QObject *receiver)
    {
        const auto *list = qobject_cast<QComboBox *>(receiver);
        return qobject_cast<QLineEdit *>(receiver) || (list && list->isEditable());
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress || !takesText(watched))
            return false;
        const auto *key = static_cast<QKeyEvent *>(event);
        const Qt::KeyboardModifiers chord =
            key->modifiers() & (Qt::AltModifier | Qt::ControlModifier);
        return chord == Qt::AltModifier && !key->text().isEmpty();
    }
};

} // namespace

int run(int argc, char **argv, const std::function<void()> &start)
{
    const QByteArray platform = preferredPlatform(qgetenv("QT_QPA_PLATFORM"),
                                                  qgetenv("WAYLAND_DISPLAY"), qgetenv("DISPLAY"));
    if (!platform.isEmpty())
        qputenv("QT_QPA_PLATFORM", platform);

    const QtMessageHandler previous = qInstallMessageHandler(reportMissingDisplay);
    QApplication app(argc, argv);
    connecting = false;
    qInstallMessageHandler(previous);

    prepare(app);
    start();
    const int code = app.exec();
    destroyAllForms();
    // Qt 6.4's Wayland plugin can hang for good while it takes its connection down (one of its
    // event threads waits for a read the other has given up). With the windows gone nothing
    // is left to save once the compositor has carried out the last requests.
    if (QGuiApplication::platformName() == u"wayland") {
        DisplayServer::finishRequests();
        std::fflush(nullptr);
        std::_Exit(code);
    }
    return code;
}

// On Wayland the compositor places every native window wherever it likes, so the main window
// would lose its top-left corner and the other windows their centre. Through XWayland,
// desktops such as GNOME and KDE keep the position a window asks for. Native Wayland stays
// the fallback when XWayland will not answer, and a platform the user named is never
// overridden (a -platform argument outranks the variable inside Qt).
QByteArray preferredPlatform(const QByteArray &qpaPlatform, const QByteArray &waylandDisplay,
                             const QByteArray &display)
{
    if (qpaPlatform.isEmpty() && !waylandDisplay.isEmpty() && !display.isEmpty())
        return "xcb;wayland";
    return {};
}

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
    static AltChordsTypeNothing altChords;
    app.installEventFilter(&altChords);
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
