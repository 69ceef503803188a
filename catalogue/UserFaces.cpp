// SPDX-License-Identifier: MIT
// The user category: the face file's lines in the main window's face list.
#include "catalogue/FaceFile.h"
#include "forms/Module1.h"
#include "forms/frmPicora3.h"
#include "platform/MsgBox.h"
#include "platform/TextFile.h"

using namespace Qt::StringLiterals;

void Module1::AddUserFaces()
{
    TextFile file;
    QStringList faces;
    bool readable = file.openForInput(faceFilePath());
    while (readable && !file.atEnd()) {
        QString face;
        readable = file.readLine(face);
        if (readable)
            faces.append(face);
    }
    file.close();
    frmPicora3->appendFaces(faces);
    if (readable)
        return;

    // Absent, unreadable or broken off: all the same to the user, who has nothing registered.
    const int answer =
        MsgBox(u"「顔」を登録しますか？"_s, MsgBoxStyle::vbYesNo + MsgBoxStyle::vbQuestion,
               u"登録された「顔」がありません"_s);
    if (answer == vbYes)
        ShowEnter();
}
