// SPDX-License-Identifier: MIT
#pragma once

#include "forms/Module1.h"
#include "forms/frmDelete.h"
#include "forms/frmEnter.h"
#include "forms/frmPicora3.h"
#include "support/Harness.h"

#include <QComboBox>
#include <QPushButton>
#include <QTest>

// Each opens a window as the program does and says whether it came up active, for the test
// to check: QVERIFY(openDeletionWindow()).

[[nodiscard]] inline bool openMainWindow()
{
    frmPicora3.Show();
    return QTest::qWaitForWindowActive(&*frmPicora3);
}

// The main window with the laughing faces listed and the first, (^o^), chosen.
[[nodiscard]] inline bool openMainWindowWithAFaceChosen()
{
    if (!openMainWindow())
        return false;
    QTest::mouseClick(frmPicora3->cmdWarai, Qt::LeftButton);
    QTest::keyClick(frmPicora3->cboFace, Qt::Key_Down);
    return clipboardText() == QStringLiteral("(^o^)");
}

[[nodiscard]] inline bool openRegistrationWindow()
{
    Module1::ShowEnter();
    return QTest::qWaitForWindowActive(&*frmEnter);
}

[[nodiscard]] inline bool openDeletionWindow()
{
    Module1::ShowDelete();
    return QTest::qWaitForWindowActive(&*frmDelete);
}
