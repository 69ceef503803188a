// SPDX-License-Identifier: MIT
#include "platform/Clipboard.h"

#include <QClipboard>
#include <QGuiApplication>

namespace Clipboard {

namespace {

QString &lastSet()
{
    static QString text;
    return text;
}

bool holdsOurFace()
{
    const QClipboard *clipboard = QGuiApplication::clipboard();
    if (clipboard->ownsClipboard())
        return true;
    // A clipboard manager takes over what a program copies and serves it on. An empty text
    // tells nothing: a picture another program copied has no text either.
    return !lastSet().isEmpty() && clipboard->text() == lastSet();
}

} // namespace

void Clear()
{
    if (holdsOurFace())
        QGuiApplication::clipboard()->clear();
}

void SetText(const QString &text)
{
    QGuiApplication::clipboard()->setText(text);
    lastSet() = text;
}

} // namespace Clipboard
