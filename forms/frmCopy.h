// SPDX-License-Identifier: MIT
#pragma once

#include "platform/Form.h"
#include "platform/FormRef.h"

#include <QTimer>

#include <array>

class QLabel;
class Line;

// The splash: names, version, copyright and notice over the grey gradient for two seconds,
// then the main window.
class FrmCopy : public Form {
    Q_OBJECT

public:
    FrmCopy();

    std::array<QLabel *, 2> Label1;
    QLabel *Label3;
    QLabel *Label2;
    QLabel *Label4;
    Line *Line2;
    Line *Line3;
    Line *Line4;
    Line *Line5;
    Line *Line1;
    QTimer Timer1;

protected:
    void Form_Load() override;
    void Form_Unload(bool &cancel) override;

private:
    void Timer1_Timer();
};

inline FormRef<FrmCopy> frmCopy;
