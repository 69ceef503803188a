// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

// The system clipboard, plain text only.
namespace Clipboard {

void Clear();
void SetText(const QString &text);

} // namespace Clipboard
