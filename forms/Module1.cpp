// SPDX-License-Identifier: MIT
#include "forms/Module1.h"

#include "catalogue/BuiltinFaces.h"
#include "catalogue/FaceFile.h"
#include "forms/RefusalMessages.h"
#include "forms/frmDelete.h"
#include "forms/frmEnter.h"
#include "forms/frmPicora3.h"
#include "platform/Clipboard.h"
#include "platform/FaceFilePath.h"
#include "platform/MsgBox.h"

#include <QComboBox>
#include <QLabel>

using namespace Qt::StringLiterals;

namespace Module1 {

namespace {

void appendToFaceList(const Catalogue::Category &category)
{
    frmPicora3->appendFaces({category.faces.begin(), category.faces.end()});
}

} // namespace

void ResetFace()
{
    frmPicora3->clearFaces();
    Clipboard::Clear();
    frmPicora3->lblFace->setText(QString());
}

void CopyFace(const QString &face)
{
    Clipboard::SetText(face);
}

void AddWaraiFaces()
{
    appendToFaceList(Catalogue::kWarai);
}
void AddNakiFaces()
{
    appendToFaceList(Catalogue::kNaki);
}
void AddIkariFaces()
{
    appendToFaceList(Catalogue::kIkari);
}
void AddTanoshiiFaces()
{
    appendToFaceList(Catalogue::kTanoshii);
}
void AddSonotaFaces()
{
    appendToFaceList(Catalogue::kSonota);
}
void AddMuFaces()
{
    appendToFaceList(Catalogue::kMu);
}

void AddUserFaces()
{
    FaceFileReading reading = readFaceFile(faceFilePath());
    switch (reading.state()) {
    case FaceFileReading::State::Read:
        frmPicora3->appendFaces(std::move(reading).faces());
        return;
    case FaceFileReading::State::Absent:
        if (MsgBox(u"「顔」を登録しますか？"_s, MsgBoxStyle::vbYesNo + MsgBoxStyle::vbQuestion,
                   u"登録された「顔」がありません"_s) == vbYes)
            ShowEnter();
        return;
    case FaceFileReading::State::Unreadable:
        tellRefusal({FaceFileRefusal::Reason::Unreadable, reading.reason()});
        return;
    }
}

void ShowEnter()
{
    frmEnter.Show();
}

void ShowDelete()
{
    frmDelete.Show();
}

} // namespace Module1
