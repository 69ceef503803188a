// SPDX-License-Identifier: MIT
// What a screen reader hears: every button, label, list and text box has a name.
#include "forms/frmCopy.h"
#include "forms/frmCopyright.h"
#include "forms/frmDelete.h"
#include "forms/frmEnter.h"
#include "forms/frmHelp.h"
#include "forms/frmPicora3.h"
#include "support/Harness.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QString spokenName(QWidget *widget)
{
    QAccessibleInterface *face = QAccessible::queryAccessibleInterface(widget);
    return face ? face->text(QAccessible::Name) : u"<no interface>"_s;
}

QAccessible::Role spokenRole(QWidget *widget)
{
    return QAccessible::queryAccessibleInterface(widget)->role();
}

} // namespace

class TestAccessibility : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { Runtime::prepare(*qApp); }
    void cleanup() { destroyAllWindows(); }

    void everyControlHasAName()
    {
        const QList<Form *> windows{&*frmCopy, &*frmPicora3, &*frmCopyright,
                                    &*frmHelp, &*frmEnter,   &*frmDelete};
        int controls = 0;
        for (Form *window : windows) {
            for (QWidget *widget : window->findChildren<QWidget *>()) {
                // Qt's own helpers (the menu bar's overflow button) are not the window's controls.
                const bool control =
                    !widget->objectName().startsWith(u"qt_"_s) &&
                    (qobject_cast<QAbstractButton *>(widget) || qobject_cast<QLabel *>(widget) ||
                     qobject_cast<QPlainTextEdit *>(widget) || qobject_cast<QLineEdit *>(widget));
                if (!control)
                    continue;
                ++controls;
                QVERIFY2(!spokenName(widget).isEmpty(),
                         qPrintable(window->objectName() + u"."_s + widget->objectName()));
            }
        }
        QCOMPARE(controls, 35);
    }

    void buttonsAreAnnouncedByCaption()
    {
        QCOMPARE(spokenName(frmPicora3->cmdWarai), u"笑い系"_s);
        QCOMPARE(spokenRole(frmPicora3->cmdWarai), QAccessible::Button);
        QCOMPARE(spokenName(frmPicora3->cmdUser), u"ユーザー登録系"_s);
        QCOMPARE(spokenName(frmEnter->cmdEnterFace), u"登録する"_s);
    }

    void theChosenFaceIsRead()
    {
        FrmPicora3 &w = *frmPicora3;
        QCOMPARE(spokenName(w.lblFace), u"選んだ顔"_s);
        w.show();
        QTest::mouseClick(w.cmdWarai, Qt::LeftButton);
        QTest::keyClick(w.cboFace, Qt::Key_Down);
        QCOMPARE(spokenName(w.lblFace), u"選んだ顔：(^o^)"_s);
        QCOMPARE(spokenName(w.cboFace->lineEdit()), u"顔の一覧"_s);
        QCOMPARE(spokenName(w.cboFace), u"(^o^)"_s);
        QCOMPARE(spokenName(w.lblSel), u"笑い系："_s);
    }

    void textBoxesSayWhatTheyAreFor()
    {
        QCOMPARE(spokenName(frmEnter->txtFace), u"登録する「顔」"_s);
        QCOMPARE(spokenName(frmDelete->txtNumber), u"削除する顔の番号"_s);
        QCOMPARE(spokenName(frmDelete->cboFace->lineEdit()), u"削除する顔の一覧"_s);
        QCOMPARE(spokenName(frmHelp->Text1), u"ヘルプ（使い方）"_s);
    }
};

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
