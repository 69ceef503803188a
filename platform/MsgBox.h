// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

#include <functional>

class QMessageBox;
class QWidget;

// The modal message box. A style adds up buttons, icon and default button; the result names
// the button pressed.
namespace MsgBoxStyle {
inline constexpr int vbOKOnly = 0;
inline constexpr int vbOKCancel = 1;
inline constexpr int vbYesNo = 4;
inline constexpr int vbCritical = 16;
inline constexpr int vbQuestion = 32;
inline constexpr int vbExclamation = 48;
inline constexpr int vbInformation = 64;
inline constexpr int vbDefaultButton2 = 256;
} // namespace MsgBoxStyle

enum MsgBoxResult { vbOK = 1, vbCancel = 2, vbYes = 6, vbNo = 7 };

struct MsgBoxCall {
    QString prompt;
    int style = 0;
    QString title;
};

// Shows the box, modal to the whole program, and returns the button pressed. Escape and the
// close box answer Cancel where there is one, No in a Yes/No box, and OK in an OK box.
int MsgBox(const QString &prompt, int style, const QString &title);

// The box MsgBox would show over the window, built but not shown. The window owns it; a box
// over no window (null) belongs to the caller.
QMessageBox *buildMessageBox(const MsgBoxCall &call, QWidget *window);

// Lets a test answer message boxes instead of a person; an empty answerer restores the real
// box.
using MsgBoxAnswerer = std::function<int(const MsgBoxCall &)>;
void setMsgBoxAnswerer(MsgBoxAnswerer answerer);
