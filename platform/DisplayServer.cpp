// SPDX-License-Identifier: MIT
#include "platform/DisplayServer.h"

#include <QGuiApplication>
#include <qpa/qplatformnativeinterface.h>

#include <wayland-client-core.h>
#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>

namespace DisplayServer {

namespace {

xcb_atom_t atom(xcb_connection_t *connection, const char *name)
{
    const xcb_intern_atom_cookie_t cookie =
        xcb_intern_atom(connection, 0, uint16_t(std::strlen(name)), name);
    xcb_intern_atom_reply_t *reply = xcb_intern_atom_reply(connection, cookie, nullptr);
    const xcb_atom_t found = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(reply);
    return found;
}

} // namespace

void nameMenuEntry(WId window)
{
    const auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    // The offscreen platform answers too, without a connection.
    xcb_connection_t *connection = x11 ? x11->connection() : nullptr;
    if (!connection)
        return;
    const QByteArray entry = QGuiApplication::desktopFileName().toUtf8();
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, xcb_window_t(window),
                        atom(connection, "_KDE_NET_WM_DESKTOP_FILE"),
                        atom(connection, "UTF8_STRING"), 8, uint32_t(entry.size()),
                        entry.constData());
}

void finishRequests()
{
    if (QGuiApplication::platformName() != u"wayland")
        return;
    auto *display = static_cast<wl_display *>(
        QGuiApplication::platformNativeInterface()->nativeResourceForIntegration("wl_display"));
    if (display)
        wl_display_roundtrip(display);
}

} // namespace DisplayServer
