// SPDX-License-Identifier: MIT
#include "platform/Clipboard.h"

#include <QClipboard>
#include <QGuiApplication>

namespace Clipboard {

void Clear()
{
    QGuiApplication::clipboard()->clear();
}

void SetText(const QString &text)
{
    QGuiApplication::clipboard()->setText(text);
}

} // namespace Clipboard
