// SPDX-License-Identifier: MIT
#include "forms/frmDelete.h"

#include "catalogue/FaceFile.h"
#include "catalogue/FaceRemoval.h"
#include "forms/Module1.h"
#include "forms/frmPicora3.h"
#include "platform/Clipboard.h"
#include "platform/Controls.h"
#include "platform/Conversions.h"
#include "platform/Fonts.h"
#include "platform/MsgBox.h"
#include "platform/TextFile.h"
#include "platform/Twips.h"

#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>

using namespace Qt::StringLiterals;

FrmDelete::FrmDelete() : Form(u"frmDelete"_s, Frame::FixedDialog, StartPosition::CentreScreen)
{
    setWindowTitle(u"登録した顔の削除"_s);
    setClientSize(twipsSize(3030, 2295));
    setPicture(u":/pictures/texture.png"_s);

    Label1 = addLabel(client(), u"Label1"_s, u"削除する顔を選んでください："_s,
                      twipsRect(120, 240, 2370, 195), SystemColour::HighlightText);
    Label1->setFont(Fonts::designFont(9.75));
    sizeToText(Label1);
    Label2 = addLabel(client(), u"Label2"_s, u"削除する顔の番号を入れて下さい："_s,
                      twipsRect(120, 1200, 1815, 420), SystemColour::HighlightText);
    Label2->setWordWrap(true);

    // Created in the focus order: the list, the button, the number.
    cboFace = new QComboBox(client());
    cboFace->setObjectName(u"cboFace"_s);
    cboFace->setGeometry(twipsRect(120, 600, 2775, 405));
    cboFace->setFont(Fonts::designFont(14.25));
    cboFace->setEditable(true);
    cboFace->lineEdit()->setAccessibleName(u"削除する顔の一覧"_s);
    cboFace->setInsertPolicy(QComboBox::NoInsert);
    cboFace->setCompleter(nullptr);

    cmdDelete =
        addButton(client(), u"cmdDelete"_s, u"削除する"_s, twipsRect(1680, 1800, 1215, 375));
    cmdDelete->setEnabled(false);
    setDefaultButton(cmdDelete);

    txtNumber = new QLineEdit(client());
    txtNumber->setObjectName(u"txtNumber"_s);
    txtNumber->setGeometry(twipsRect(2040, 1200, 855, 375));
    txtNumber->setFont(Fonts::designFont(14.25));
    txtNumber->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    txtNumber->setAccessibleName(u"削除する顔の番号"_s);
    // A number is typed directly; the input method stays off in this box.
    txtNumber->setAttribute(Qt::WA_InputMethodEnabled, false);
    txtNumber->installEventFilter(this);

    connect(cmdDelete, &QPushButton::clicked, this, &FrmDelete::cmdDelete_Click);
    connect(txtNumber, &QLineEdit::textChanged, this, &FrmDelete::txtNumber_Change);
    connect(cboFace, &QComboBox::activated, this, &FrmDelete::cboFace_Click);
    connect(cboFace->lineEdit(), &QLineEdit::textEdited, this, &FrmDelete::cboFace_Change);
    cboFace->setFocus();
}

// Lists the face file's lines by number, at most kMostFaces of them; an unreadable file
// leaves the list empty without a word.
void FrmDelete::Form_Load()
{
    FaceCount = 0;
    TextFile file;
    if (!file.openForInput(faceFilePath()))
        return;
    QStringList entries;
    while (!file.atEnd() && FaceCount < kMostFaces) {
        QString text;
        QByteArray bytes;
        if (!file.readLine(text, bytes))
            break;
        ++FaceCount;
        FaceTexts.append(text);
        FaceBytes.append(bytes);
        entries.append(QString::number(FaceCount) + u" -- "_s + text);
    }
    file.close();
    cboFace->addItems(entries);
    cboFace->setCurrentIndex(-1);
}

bool FrmDelete::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == txtNumber && event->type() == QEvent::FocusIn)
        txtNumber_GotFocus();
    return Form::eventFilter(watched, event);
}

bool FrmDelete::delete_()
{
    QString reason;
    if (removeListedFace(faceFilePath(), Val(txtNumber->text()), FaceBytes, &reason))
        return true;
    MsgBox(u"「顔」を削除できませんでした。\n"_s + faceFilePath() + u"\n"_s + reason,
           MsgBoxStyle::vbOKOnly + MsgBoxStyle::vbCritical, u"削除できません"_s);
    return false;
}

void FrmDelete::cmdDelete_Click()
{
    // A failed rewrite leaves the file, the lists and this window as they were.
    if (!delete_())
        return;
    frmPicora3->cboFace->clear();
    cboFace->clear();
    Clipboard::Clear();
    frmPicora3->lblFace->setText(QString());
    Module1::AddUserFaces();
    MsgBox(u"削除しました"_s, MsgBoxStyle::vbOKOnly + MsgBoxStyle::vbCritical, u"削除終了"_s);
    frmDelete.Unload();
}

void FrmDelete::txtNumber_Change()
{
    cmdDelete->setEnabled(!txtNumber->text().isEmpty());
}

void FrmDelete::txtNumber_GotFocus()
{
    txtNumber->selectAll();
}

void FrmDelete::cboFace_Click()
{
    txtNumber->setFocus();
}

void FrmDelete::cboFace_Change()
{
    txtNumber->setFocus();
}
