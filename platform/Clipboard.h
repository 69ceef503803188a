// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

// The system clipboard, plain text only. What another program put there is the user's: the
// program takes the clipboard only by setting a face, and empties it only of its own face.
namespace Clipboard {

// Withdraws the face this program put on the clipboard last, so that an old face is not
// pasted by mistake: empties the clipboard while the program still owns it. Anything another
// program copied since stays, a picture or a text equal to the face alike.
void Clear();
void SetText(const QString &text);

} // namespace Clipboard
