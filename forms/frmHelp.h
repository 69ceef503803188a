// SPDX-License-Identifier: MIT
#pragma once

#include "platform/Form.h"
#include "platform/FormRef.h"

class QPlainTextEdit;
class QPushButton;

// How to use the program: a fixed text the user reads, with "戻る" to put it away.
class FrmHelp : public Form {
    Q_OBJECT

public:
    FrmHelp();

    // The help text as the box holds it: 29 lines, each ended by CR LF.
    static QString helpText();

    QPushButton *Command1;
    QPlainTextEdit *Text1;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void Command1_Click();
    void Text1_GotFocus();
};

inline FormRef<FrmHelp> frmHelp;
