// SPDX-License-Identifier: MIT
#include "forms/Module1.h"

#include "catalogue/BuiltinFaces.h"
#include "forms/frmDelete.h"
#include "forms/frmEnter.h"
#include "forms/frmPicora3.h"
#include "platform/Clipboard.h"

#include <QComboBox>
#include <QLabel>

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
    frmPicora3->cboFace->clear();
    Clipboard::Clear();
    frmPicora3->lblFace->setText(QString());
}

void CopyFace(const QString &face)
{
    Clipboard::Clear();
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

void ShowEnter()
{
    frmEnter.Show();
}

void ShowDelete()
{
    frmDelete.Show();
}

} // namespace Module1
