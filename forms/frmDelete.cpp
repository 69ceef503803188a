// SPDX-License-Identifier: MIT
#include "forms/frmDelete.h"

#include "catalogue/FaceRemoval.h"
#include "forms/FaceListModel.h"
#include "forms/Module1.h"
#include "forms/RefusalMessages.h"
#include "platform/Controls.h"
#include "platform/FaceFilePath.h"
#include "platform/Fonts.h"
#include "platform/MsgBox.h"
#include "platform/QtText.h"
#include "platform/Twips.h"
#include "text/Conversions.h"

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
    entryList_ = new FaceListModel(cboFace);
    cboFace->setModel(entryList_);
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

void FrmDelete::Form_Load()
{
    listFaces();
}

// Lists the face file's lines by number, at most kMostListedFaces of them.
void FrmDelete::listFaces()
{
    cboFace->clear();
    listing = readFaceFile(faceFilePath(), kMostListedFaces);
    if (listing.state() == FaceFileReading::State::Unreadable)
        tellRefusal({FaceFileRefusal::Reason::Unreadable, listing.reason()});
    std::vector<std::u16string> entries;
    entries.reserve(listing.faces().size());
    for (std::size_t i = 0; i < listing.faces().size(); ++i)
        entries.push_back(toU16String(QString::number(i + 1)) + u" -- " + listing.faces()[i]);
    entryList_->append(std::move(entries));
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
    const std::optional<qsizetype> index =
        listedIndex(Val(toU16String(txtNumber->text())), listing.faces().size());
    const std::optional<FaceFileRefusal> refusal =
        index ? removeListedFace(faceFilePath(), *index, listing)
              : FaceFileRefusal{FaceFileRefusal::Reason::NotListed, {}};
    if (!refusal)
        return true;
    tellRefusal(*refusal);
    // The numbers the user sees must be the file's own again.
    if (refusal->reason == FaceFileRefusal::Reason::Changed)
        listFaces();
    return false;
}

void FrmDelete::cmdDelete_Click()
{
    // When nothing was deleted, the file, the main window and the clipboard stay as they
    // were, and the user can correct the number at once.
    if (!delete_()) {
        txtNumber->setFocus();
        txtNumber->selectAll();
        return;
    }
    // The main window lets go of its list, its chosen face and the clipboard's face, as for a
    // category button, and keeps its category label.
    Module1::ResetFace();
    cboFace->clear();
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
