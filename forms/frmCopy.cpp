// SPDX-License-Identifier: MIT
#include "forms/frmCopy.h"

#include "forms/Credits.h"
#include "forms/frmCopyright.h"
#include "forms/frmHelp.h"
#include "forms/frmPicora3.h"
#include "platform/Controls.h"
#include "platform/Twips.h"

using namespace Qt::StringLiterals;

FrmCopy::FrmCopy() : Form(u"frmCopy"_s, Frame::Borderless, StartPosition::CentreScreen)
{
    setWindowTitle(u"ポルカン"_s);
    setClientSize(twipsSize(4485, 2430));
    setPicture(u":/pictures/gradient.png"_s);

    // The product name with a full-width space, where the version window has a half-width one.
    const Credits::Labels credits =
        Credits::addLabels(client(), u"ピコラ　３"_s,
                           {twipsRect(720, 120, 3015, 495), twipsRect(600, 600, 3210, 405),
                            twipsRect(1680, 1080, 945, 180), twipsRect(960, 1320, 2535, 255),
                            twipsRect(240, 1680, 4095, 615)});
    Label1 = credits.Label1;
    Label3 = credits.Label3;
    Label2 = credits.Label2;
    Label4 = credits.Label4;

    Line2 = new Line(client(), u"Line2"_s, twipsPoint(120, 120), twipsPoint(4320, 120), 2);
    Line3 = new Line(client(), u"Line3"_s, twipsPoint(120, 2280), twipsPoint(4320, 2280), 2);
    Line4 = new Line(client(), u"Line4"_s, twipsPoint(4320, 120), twipsPoint(4320, 2280), 2);
    Line5 = new Line(client(), u"Line5"_s, twipsPoint(120, 120), twipsPoint(120, 2280), 2);
    Line1 = new Line(client(), u"Line1"_s, twipsPoint(120, 1560), twipsPoint(4320, 1560), 1);

    // The timer runs from the window's creation; the tick is handled only after the splash
    // has been loaded and shown, since both happen before the event loop turns.
    Timer1.setObjectName(u"Timer1"_s);
    Timer1.setInterval(2000);
    connect(&Timer1, &QTimer::timeout, this, &FrmCopy::Timer1_Timer);
    Timer1.start();
}

void FrmCopy::Form_Load()
{
    frmPicora3.Load();
    frmCopyright.Load();
    frmHelp.Load();
}

void FrmCopy::Timer1_Timer()
{
    frmPicora3.Show();
    frmCopy.Unload();
}

// Closing the splash early by a keyboard close command must not leave the program running
// with no window: the main window comes up at once instead of at the tick.
void FrmCopy::Form_Unload(bool &)
{
    Timer1.stop();
    if (!frmPicora3->isVisible())
        frmPicora3.Show();
}
