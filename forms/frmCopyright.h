// SPDX-License-Identifier: MIT
#pragma once

#include "platform/Form.h"
#include "platform/FormRef.h"

#include <array>

class QLabel;
class QPushButton;
class Line;

// Version information: names, version, copyright, notice and where to write to.
class FrmCopyright : public Form {
    Q_OBJECT

public:
    FrmCopyright();

    std::array<QLabel *, 2> Label1;
    QLabel *Label3;
    QLabel *Label2;
    Line *Line1;
    QLabel *Label4;
    Line *Line2;
    QLabel *Label5;
    QLabel *Label7;
    QPushButton *Command1;

private:
    void Command1_Click();
};

inline FormRef<FrmCopyright> frmCopyright;
