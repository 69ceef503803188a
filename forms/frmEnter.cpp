// SPDX-License-Identifier: MIT
#include "forms/frmEnter.h"

#include "catalogue/FaceFile.h"
#include "forms/Module1.h"
#include "forms/RefusalMessages.h"
#include "forms/frmPicora3.h"
#include "platform/Clipboard.h"
#include "platform/Controls.h"
#include "platform/FaceFilePath.h"
#include "platform/Fonts.h"
#include "platform/MsgBox.h"
#include "platform/QtText.h"
#include "platform/Twips.h"

#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>

#include <limits>

using namespace Qt::StringLiterals;

FrmEnter::FrmEnter() : Form(u"frmEnter"_s, Frame::FixedDialog, StartPosition::CentreScreen)
{
    setWindowTitle(u"「顔」の登録"_s);
    setClientSize(twipsSize(3300, 1635));
    setPicture(u":/pictures/texture.png"_s);

    // Created in the focus order: the entry, then the two buttons.
    txtFace = new QLineEdit(client());
    txtFace->setObjectName(u"txtFace"_s);
    txtFace->setGeometry(twipsRect(120, 480, 3015, 375));
    txtFace->setFont(Fonts::designFont(14.25));
    txtFace->setAlignment(Qt::AlignCenter);
    txtFace->setAccessibleName(u"登録する「顔」"_s);
    txtFace->setMaxLength(std::numeric_limits<int>::max());
    txtFace->installEventFilter(this);

    Label1 = addLabel(client(), u"Label1"_s, u"登録する「顔」："_s, twipsRect(120, 240, 1140, 180),
                      SystemColour::HighlightText);
    sizeToText(Label1);

    cmdEnterFace =
        addButton(client(), u"cmdEnterFace"_s, u"登録する"_s, twipsRect(240, 1080, 1215, 375));
    cmdUnload =
        addButton(client(), u"cmdUnload"_s, u"登録の終了"_s, twipsRect(1800, 1080, 1215, 375));
    setDefaultButton(cmdEnterFace);

    connect(cmdEnterFace, &QPushButton::clicked, this, &FrmEnter::cmdEnterFace_Click);
    connect(cmdUnload, &QPushButton::clicked, this, &FrmEnter::cmdUnload_Click);
    txtFace->setFocus();
}

bool FrmEnter::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == txtFace && event->type() == QEvent::FocusIn)
        txtFace_GotFocus();
    return Form::eventFilter(watched, event);
}

void FrmEnter::cmdEnterFace_Click()
{
    // Refused before anything changes: the face file could not hold it as typed.
    if (const std::optional<FaceFileRefusal> refusal = refusalOfFace(toU16String(txtFace->text()))) {
        tellRefusal(*refusal);
    } else {
        frmPicora3->clearFaces();
        Clipboard::Clear();
        Touroku();
    }
    txtFace->setFocus();
}

void FrmEnter::Touroku()
{
    const QString face = txtFace->text();
    const int answer =
        MsgBox(face + u"を登録しますか？"_s, MsgBoxStyle::vbOKCancel + MsgBoxStyle::vbQuestion,
               u"「顔」登録の確認"_s);
    if (answer == vbCancel) {
        txtFace->setFocus();
        return;
    }

    if (const std::optional<FaceFileRefusal> refusal = appendFace(faceFilePath(), toU16String(face))) {
        // The entry keeps its text, and the file is as it was: nothing of the user's is lost.
        tellRefusal(*refusal);
        txtFace->setFocus();
        return;
    }
    Module1::AddUserFaces();
    txtFace->setText(QString());
}

void FrmEnter::cmdUnload_Click()
{
    frmEnter.Unload();
}

void FrmEnter::Form_Unload(bool &cancel)
{
    const int answer =
        MsgBox(u"顔の登録を終了しますか？"_s,
               MsgBoxStyle::vbOKCancel + MsgBoxStyle::vbQuestion + MsgBoxStyle::vbDefaultButton2,
               u"「顔」登録の終了"_s);
    if (answer == vbCancel) {
        cancel = true;
        return;
    }
    Clipboard::Clear();
    frmPicora3.SetFocus();
}

// Typing then replaces the whole entry.
void FrmEnter::txtFace_GotFocus()
{
    txtFace->selectAll();
}
