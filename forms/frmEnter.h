// SPDX-License-Identifier: MIT
#pragma once

#include "platform/Form.h"
#include "platform/FormRef.h"

class QLabel;
class QLineEdit;
class QPushButton;

// Registering one face at a time: it is appended to the face file and shows at once, last,
// in the main window's list.
class FrmEnter : public Form {
    Q_OBJECT

public:
    FrmEnter();

    QLineEdit *txtFace;
    QLabel *Label1;
    QPushButton *cmdEnterFace;
    QPushButton *cmdUnload;

protected:
    void Form_Unload(bool &cancel) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void cmdEnterFace_Click();
    void Touroku();
    void cmdUnload_Click();
    void txtFace_GotFocus();
};

inline FormRef<FrmEnter> frmEnter;
