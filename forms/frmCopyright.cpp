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

    // A half-width space in the product name, where the splash has a full-width one.
    const Credits::Labels credits =
        Credits::addLabels(client(), u"ピコラ ３"_s,
                           {twipsRect(720, 120, 3015, 495), twipsRect(720, 720, 3060, 405),
                            twipsRect(1800, 1200, 945, 180), twipsRect(960, 1680, 2535, 255),
                            twipsRect(120, 2160, 4095, 615)});
    Label1 = credits.Label1;
    Label3 = credits.Label3;
    Label2 = credits.Label2;
    Label4 = credits.Label4;
    Line1 = new Line(client(), u"Line1"_s, twipsPoint(120, 2040), twipsPoint(4320, 2040), 1);
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
