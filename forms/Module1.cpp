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

void appendToFaceList(Catalogue::FaceList faces)
{
    QStringList texts;
    texts.reserve(qsizetype(faces.size()));
    for (std::u16string_view face : faces)
        texts.append(QString::fromUtf16(face.data(), qsizetype(face.size())));
    frmPicora3->appendFaces(texts);
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
    appendToFaceList(Catalogue::kWaraiFaces);
}
void AddNakiFaces()
{
    appendToFaceList(Catalogue::kNakiFaces);
}
void AddIkariFaces()
{
    appendToFaceList(Catalogue::kIkariFaces);
}
void AddTanoshiiFaces()
{
    appendToFaceList(Catalogue::kTanoshiiFaces);
}
void AddSonotaFaces()
{
    appendToFaceList(Catalogue::kSonotaFaces);
}
void AddMuFaces()
{
    appendToFaceList(Catalogue::kMuFaces);
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
