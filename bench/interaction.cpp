// SPDX-License-Identifier: MIT
// What the user waits for in the main window: a category press (reset, fill, label) and one
// keystroke in the face list's text field up to the clipboard holding the text. Run it on a
// real X server, where the clipboard is the system's.
#include "forms/frmPicora3.h"
#include "platform/Runtime.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

class BenchInteraction : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        Runtime::prepare(*qApp);
        frmPicora3.Show();
        QVERIFY(QTest::qWaitForWindowExposed(&*frmPicora3));
    }

    void categoryPress()
    {
        QPushButton *button = frmPicora3->cmdWarai;
        QBENCHMARK
        {
            button->click();
        }
        QCOMPARE(frmPicora3->cboFace->count(), 37);
    }

    void keystrokeToClipboard()
    {
        QLineEdit *field = frmPicora3->cboFace->lineEdit();
        field->setFocus();
        bool typeNext = true;
        // Every keystroke changes the text: a letter, then its deletion, then a letter again.
        QBENCHMARK
        {
            if (typeNext)
                QTest::sendKeyEvent(QTest::Click, field, Qt::Key_unknown, QStringLiteral("ﾟ"),
                                    Qt::NoModifier);
            else
                QTest::keyClick(field, Qt::Key_Backspace);
            typeNext = !typeNext;
        }
        QCOMPARE(QGuiApplication::clipboard()->text(), field->text());
    }
};

QTEST_MAIN(BenchInteraction)
#include "interaction.moc"
