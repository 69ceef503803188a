// SPDX-License-Identifier: MIT
#include "forms/frmCopyright.h"

#include "forms/Credits.h"
#include "platform/Controls.h"
#include "platform/Fonts.h"
#include "platform/Twips.h"

#include <QLabel>

using namespace Qt::StringLiterals;

FrmCopyright::FrmCopyright()
    : Form(u"frmCopyright"_s, Frame::FixedDialog, StartPosition::CentreScreen)
{
    setWindowTitle(u"ピコラ３　バージョン情報"_s);
    setClientSize(twipsSize(4455, 4095));
    setPicture(u":/pictures/gradient.png"_s);

    const auto colour = SystemColour::ButtonText;
    // The only control that takes the focus, so it is created first.
    Command1 = addButton(client(), u"Command1"_s, u"戻る"_s, twipsRect(840, 3600, 2775, 375));

    Label1[0] =
        addLabel(client(), u"Label1"_s, u"ポルカン"_s, twipsRect(720, 120, 3015, 495), colour);
    Label1[0]->setFont(Fonts::designFont(20.25));
    // A half-width space here, where the splash has a full-width one.
    Label1[1] =
        addLabel(client(), u"Label1"_s, u"ピコラ ３"_s, twipsRect(720, 720, 3060, 405), colour);
    Label1[1]->setFont(Fonts::designFont(20.25));
    sizeToText(Label1[1]);
    Label3 =
        addLabel(client(), u"Label3"_s, u"Version 1.01"_s, twipsRect(1800, 1200, 945, 180), colour);
    sizeToText(Label3);
    Label2 = addLabel(client(), u"Label2"_s, QString::fromUtf16(Credits::kCopyright),
                      twipsRect(960, 1680, 2535, 255), colour);
    Line1 = new Line(client(), u"Line1"_s, twipsPoint(120, 2040), twipsPoint(4320, 2040), 1);
    Label4 = addLabel(client(), u"Label4"_s, QString::fromUtf16(Credits::kNotice),
                      twipsRect(120, 2160, 4095, 615), colour);
    Label4->setFont(Fonts::designFont(9.75));
    Label4->setWordWrap(true);
    Line2 = new Line(client(), u"Line2"_s, twipsPoint(120, 2880), twipsPoint(4320, 2880), 1);
    Label5 = addLabel(client(), u"Label5"_s, u"このソフトに関する、問い合わせ、苦情、感想は、"_s,
                      twipsRect(120, 3000, 4215, 255), colour);
    Label5->setFont(Fonts::designFont(9.75));
    Label7 = addLabel(client(), u"Label7"_s,
                      QString::fromUtf16(Credits::kHomePage) + u"   までお願いします。"_s,
                      twipsRect(120, 3360, 4215, 255), colour);

    connect(Command1, &QPushButton::clicked, this, &FrmCopyright::Command1_Click);
    Command1->setFocus();
}

void FrmCopyright::Command1_Click()
{
    frmCopyright.Hide();
}
