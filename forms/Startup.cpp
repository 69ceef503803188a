// SPDX-License-Identifier: MIT
#include "forms/Startup.h"

#include "forms/frmCopy.h"
#include "platform/Runtime.h"

#include <QApplication>
#include <QTimer>

#include <cstdio>
#include <cstdlib>

namespace {

bool startingUp = true;

// Without a display Qt gives up with a fatal message about platform plugins; say plainly
// what is wrong instead.
void reportMissingDisplay(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtFatalMsg && startingUp) {
        std::fputs("ピコラ３を起動できません：画面（ディスプレイ）に接続できませんでした。\n"
                   "picora3: cannot start: no display could be opened (is DISPLAY set?)\n",
                   stderr);
        std::_Exit(1);
    }
    std::fprintf(stderr, "%s\n", qPrintable(message));
}

} // namespace

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

int runPicora3(int argc, char **argv, const std::function<void()> &onceRunning)
{
    const QByteArray platform = preferredPlatform(qgetenv("QT_QPA_PLATFORM"),
                                                  qgetenv("WAYLAND_DISPLAY"), qgetenv("DISPLAY"));
    if (!platform.isEmpty())
        qputenv("QT_QPA_PLATFORM", platform);

    const QtMessageHandler previous = qInstallMessageHandler(reportMissingDisplay);
    QApplication app(argc, argv);
    startingUp = false;
    qInstallMessageHandler(previous);

    Runtime::prepare(app);
    frmCopy.Show();
    if (onceRunning)
        QTimer::singleShot(0, onceRunning);
    const int code = app.exec();
    Runtime::destroyAllForms();
    // Qt 6.4's Wayland plugin can hang for good while it takes its connection down (one of its
    // event threads waits for a read the other has given up). With the windows gone nothing
    // is left to save, and the compositor drops what the connection held, the clipboard too.
    if (QGuiApplication::platformName() == u"wayland") {
        std::fflush(nullptr);
        std::_Exit(code);
    }
    return code;
}
