// SPDX-License-Identifier: MIT
#include "forms/frmPicora3.h"

#include "catalogue/BuiltinFaces.h"
#include "forms/FaceListModel.h"
#include "forms/Module1.h"
#include "forms/frmCopyright.h"
#include "forms/frmHelp.h"
#include "platform/Accessibility.h"
#include "platform/Clipboard.h"
#include "platform/Controls.h"
#include "platform/Fonts.h"
#include "platform/MsgBox.h"
#include "platform/Runtime.h"
#include "platform/Twips.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalBlocker>

#include <limits>

using namespace Qt::StringLiterals;

FrmPicora3::FrmPicora3()
    : Form(QStringLiteral("frmPicora3"), Frame::FixedDialog, StartPosition::Manual)
{
    setWindowTitle(u"ピコラ Ver3.0"_s);
    setClientSize(twipsSize(3165, 2700));
    setPicture(u":/pictures/texture.png"_s);
    buildMenus();

    lblFace = addLabel(client(), "lblFace", QString(), twipsRect(120, 120, 2895, 375),
                       SystemColour::TitleBarText);
    lblFace->setFont(Fonts::designFont(14.25, 700));
    lblFace->setAlignment(Qt::AlignCenter);
    lblFace->setFrameStyle(QFrame::Box | QFrame::Plain);
    announceWithPurpose(lblFace, u"選んだ顔"_s);

    lblSel = addLabel(client(), "lblSel", u"顔を選ぶ："_s, twipsRect(120, 720, 780, 180),
                      SystemColour::HighlightText);
    sizeToText(lblSel);

    // Created in the focus order: the face list first, then the buttons column by column.
    cboFace = new QComboBox(client());
    cboFace->setObjectName("cboFace");
    cboFace->setGeometry(twipsRect(960, 600, 2055, 405));
    cboFace->setFont(Fonts::designFont(14.25));
    cboFace->setEditable(true);
    // An editable list is announced by its text; its text field, which has the focus, says
    // what the list is.
    cboFace->lineEdit()->setAccessibleName(u"顔の一覧"_s);
    // A typed face is shown and copied, never added to the list, and never completed from it.
    cboFace->setInsertPolicy(QComboBox::NoInsert);
    cboFace->setCompleter(nullptr);
    // A face of any length reaches the clipboard whole, however long the file's line.
    cboFace->lineEdit()->setMaxLength(std::numeric_limits<int>::max());
    // A face file may hold a million lines: the list keeps them as read, and the drop-down
    // measures one row, not all of them.
    faceList_ = new FaceListModel(cboFace);
    cboFace->setModel(faceList_);
    cboFace->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    auto *dropDown = new QListView(cboFace);
    dropDown->setUniformItemSizes(true);
    dropDown->setEditTriggers(QAbstractItemView::NoEditTriggers);
    cboFace->setView(dropDown);

    cmdWarai = addCategoryButton(Catalogue::kWarai, twipsRect(120, 1200, 975, 375));
    cmdNaki = addCategoryButton(Catalogue::kNaki, twipsRect(120, 1680, 975, 375));
    cmdIkari = addCategoryButton(Catalogue::kIkari, twipsRect(1080, 1200, 975, 375));
    cmdTanoshii = addCategoryButton(Catalogue::kTanoshii, twipsRect(1080, 1680, 975, 375));
    cmdMu = addCategoryButton(Catalogue::kMu, twipsRect(2040, 1200, 975, 375));
    cmdSonota = addCategoryButton(Catalogue::kSonota, twipsRect(2040, 1680, 975, 375));
    cmdUser =
        addButton(client(), u"cmdUser"_s, u"ユーザー登録系"_s, twipsRect(120, 2160, 1575, 375));
    Command1 = addButton(client(), u"Command1"_s, u"終了"_s, twipsRect(2040, 2160, 975, 375));

    Line1 = new Line(client(), "Line1", twipsPoint(0, 0), twipsPoint(3720, 0), 1);

    connect(cmdWarai, &QPushButton::clicked, this, &FrmPicora3::cmdWarai_Click);
    connect(cmdNaki, &QPushButton::clicked, this, &FrmPicora3::cmdNaki_Click);
    connect(cmdIkari, &QPushButton::clicked, this, &FrmPicora3::cmdIkari_Click);
    connect(cmdTanoshii, &QPushButton::clicked, this, &FrmPicora3::cmdTanoshii_Click);
    connect(cmdMu, &QPushButton::clicked, this, &FrmPicora3::cmdMu_Click);
    connect(cmdSonota, &QPushButton::clicked, this, &FrmPicora3::cmdSonota_Click);
    connect(cmdUser, &QPushButton::clicked, this, &FrmPicora3::cmdUser_Click);
    connect(Command1, &QPushButton::clicked, this, &FrmPicora3::Command1_Click);
    // Only the user's own choices and edits count; the program's refills and clears do not.
    connect(cboFace, &QComboBox::activated, this, &FrmPicora3::cboFace_Click);
    connect(cboFace->lineEdit(), &QLineEdit::textEdited, this, &FrmPicora3::cboFace_Change);

    cboFace->setFocus();
}

// A built-in category's button is named after its code name: cmdWarai.
QPushButton *FrmPicora3::addCategoryButton(const Catalogue::Category &category,
                                           const QRect &geometry)
{
    return addButton(client(), u"cmd"_s + QStringView(category.codeName).toString(),
                     QStringView(category.caption).toString(), geometry);
}

void FrmPicora3::buildMenus()
{
    QMenuBar *bar = addMenuBar();

    QMenu *mnuFile1 = bar->addMenu(u"ファイル"_s);
    mnuFile1->setObjectName("mnuFile1");
    mnuEnd = mnuFile1->addAction(u"終了"_s, this, &FrmPicora3::mnuEnd_Click);
    mnuEnd->setObjectName("mnuEnd");

    QMenu *mnuUser1 = bar->addMenu(u"登録/削除"_s);
    mnuUser1->setObjectName("mnuUser1");
    mnuEnter = mnuUser1->addAction(u"顔を登録する"_s, this, &FrmPicora3::mnuEnter_Click);
    mnuEnter->setObjectName("mnuEnter");
    mnuUser1->addSeparator()->setObjectName("asa");
    mnuDelete = mnuUser1->addAction(u"顔の削除"_s, this, &FrmPicora3::mnuDelete_Click);
    mnuDelete->setObjectName("mnuDelete");
    // Deleting is not offered in this version; nothing enables the item.
    mnuDelete->setEnabled(false);

    QMenu *mnuHelpMenu = bar->addMenu(u"ヘルプ"_s);
    mnuHelpMenu->setObjectName("mnuHelpMenu");
    mnuHelp = mnuHelpMenu->addAction(u"ヘルプ"_s, this, &FrmPicora3::mnuHelp_Click);
    mnuHelp->setObjectName("mnuHelp");
    mnuHelpMenu->addSeparator()->setObjectName("mnuBar1");
    mnuVersion = mnuHelpMenu->addAction(u"バージョン情報"_s, this, &FrmPicora3::mnuVersion_Click);
    mnuVersion->setObjectName("mnuVersion");
}

void FrmPicora3::appendFaces(std::vector<std::u16string> faces)
{
    // Qt chooses the first entry of a list that was empty; the text field must keep its text
    // until the user chooses or types.
    const QSignalBlocker quiet(cboFace);
    const int chosen = cboFace->currentIndex();
    const QString text = cboFace->currentText();
    faceList_->append(std::move(faces));
    if (cboFace->currentIndex() != chosen) {
        cboFace->setCurrentIndex(chosen);
        cboFace->setEditText(text);
    }
}

void FrmPicora3::clearFaces()
{
    // QComboBox::clear() leaves the text field alone when the list had no entries; a typed
    // face must go with the list all the same.
    const QSignalBlocker quiet(cboFace);
    cboFace->clear();
    cboFace->clearEditText();
}

void FrmPicora3::Form_Load()
{
    moveFrameTo(QPoint(0, 0));
}

void FrmPicora3::Form_Unload(bool &cancel)
{
    const int answer =
        MsgBox(u"終了しますか？"_s,
               MsgBoxStyle::vbOKCancel + MsgBoxStyle::vbQuestion + MsgBoxStyle::vbDefaultButton2,
               u"ピコラ３の終了"_s);
    if (answer == vbCancel) {
        cancel = true;
        return;
    }
    Clipboard::Clear();
    Runtime::End();
}

void FrmPicora3::showCategory(void (*fill)(), QStringView label)
{
    Module1::ResetFace();
    fill();
    lblSel->setText(label.toString());
    sizeToText(lblSel);
}

void FrmPicora3::cmdWarai_Click()
{
    showCategory(Module1::AddWaraiFaces, Catalogue::kWarai.label);
}
void FrmPicora3::cmdNaki_Click()
{
    showCategory(Module1::AddNakiFaces, Catalogue::kNaki.label);
}
void FrmPicora3::cmdIkari_Click()
{
    showCategory(Module1::AddIkariFaces, Catalogue::kIkari.label);
}
void FrmPicora3::cmdTanoshii_Click()
{
    showCategory(Module1::AddTanoshiiFaces, Catalogue::kTanoshii.label);
}
void FrmPicora3::cmdMu_Click()
{
    showCategory(Module1::AddMuFaces, Catalogue::kMu.label);
}
void FrmPicora3::cmdSonota_Click()
{
    showCategory(Module1::AddSonotaFaces, Catalogue::kSonota.label);
}

// The face file may be unreadable; then AddUserFaces asks its question, and the label still
// names the user category afterwards.
void FrmPicora3::cmdUser_Click()
{
    showCategory(Module1::AddUserFaces, u"登録系：");
}

void FrmPicora3::cboFace_Click()
{
    lblFace->setText(cboFace->currentText());
    Module1::CopyFace(cboFace->currentText());
}

void FrmPicora3::cboFace_Change()
{
    cboFace_Click();
}

void FrmPicora3::Command1_Click()
{
    frmPicora3.Unload();
}

void FrmPicora3::mnuEnd_Click()
{
    frmPicora3.Unload();
}

void FrmPicora3::mnuEnter_Click()
{
    Module1::ShowEnter();
}

void FrmPicora3::mnuDelete_Click()
{
    Module1::ShowDelete();
}

void FrmPicora3::mnuHelp_Click()
{
    frmHelp.Show();
}

void FrmPicora3::mnuVersion_Click()
{
    frmCopyright.Show();
}
