// SPDX-License-Identifier: MIT
#include "forms/Module1.h"

#include "catalogue/BuiltinFaces.h"
#include "catalogue/FaceFile.h"
#include "forms/frmDelete.h"
#include "forms/frmEnter.h"
#include "forms/frmPicora3.h"
#include "platform/Clipboard.h"
#include "platform/MsgBox.h"
#include "text/CodePage932.h"

#include <QComboBox>
#include <QLabel>

using namespace Qt::StringLiterals;

namespace Module1 {

namespace {

void appendToFaceList(const Catalogue::Category &category)
{
    frmPicora3->appendFaces(Catalogue::texts(category.faces));
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
    const FaceFileReading reading = readFaceFile(faceFilePath());
    switch (reading.state) {
    case FaceFileReading::State::Read: {
        const QList<QByteArrayView> lines = reading.lines();
        QStringList faces;
        faces.reserve(lines.size());
        for (QByteArrayView line : lines)
            faces.append(CodePage932::decode(line));
        frmPicora3->appendFaces(faces);
        return;
    }
    case FaceFileReading::State::Absent:
        if (MsgBox(u"「顔」を登録しますか？"_s, MsgBoxStyle::vbYesNo + MsgBoxStyle::vbQuestion,
                   u"登録された「顔」がありません"_s) == vbYes)
            ShowEnter();
        return;
    case FaceFileReading::State::Unreadable:
        tellFaceFileUnreadable(reading.reason);
        return;
    }
}

void tellFaceFileFailure(const QString &title, const QString &whatFailed, const QString &reason)
{
    MsgBox(whatFailed + u"\n"_s + faceFilePath() + u"\n"_s + reason,
           MsgBoxStyle::vbOKOnly + MsgBoxStyle::vbCritical, title);
}

void tellFaceFileUnreadable(const QString &reason)
{
    tellFaceFileFailure(u"読み込めません"_s, u"「顔」を読み込めませんでした。"_s, reason);
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
