// SPDX-License-Identifier: MIT
#include "forms/Module1.h"

#include "catalogue/BuiltinFaces.h"
#include "forms/frmPicora3.h"
#include "platform/Clipboard.h"

#include <QComboBox>
#include <QLabel>
#include <QSignalBlocker>

namespace Module1 {

namespace {

void appendToFaceList(Catalogue::FaceList faces)
{
    QComboBox *list = frmPicora3->cboFace;
    // Qt chooses the first entry of a list that was empty; the text field must keep its text
    // until the user chooses or types.
    const QSignalBlocker quiet(list);
    const int chosen = list->currentIndex();
    const QString text = list->currentText();
    for (std::u16string_view face : faces)
        list->addItem(QString::fromUtf16(face.data(), qsizetype(face.size())));
    if (list->currentIndex() != chosen) {
        list->setCurrentIndex(chosen);
        list->setEditText(text);
    }
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

} // namespace Module1
