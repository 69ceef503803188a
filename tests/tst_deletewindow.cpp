// SPDX-License-Identifier: MIT
#include "forms/Module1.h"
#include "forms/frmDelete.h"
#include "forms/frmEnter.h"
#include "forms/frmPicora3.h"
#include "platform/Clipboard.h"
#include "support/FaceFileFixture.h"
#include "support/Harness.h"
#include "support/ReadOnlyFolder.h"
#include "support/Windows.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace MsgBoxStyle;

namespace {

const QByteArray kThreeFaces("(^o^)\r\n(T_T)\r\n(-_-)\r\n");

} // namespace

class TestDeleteWindow : public QObject {
    Q_OBJECT

    // Types the number in place of what the box holds and presses 削除する, answering OK.
    QList<MsgBoxCall> deleteNumber(const QString &number)
    {
        FrmDelete &w = *frmDelete;
        w.txtNumber->setFocus();
        w.txtNumber->selectAll();
        typeInto(w.txtNumber, number);
        ScriptedMsgBoxes boxes;
        boxes.willAnswer({vbOK});
        QTest::mouseClick(w.cmdDelete, Qt::LeftButton);
        return boxes.asked;
    }

private slots:
    void initTestCase() { Runtime::prepare(*qApp); }
    void init() { freshDocuments(); }
    void cleanup() { destroyAllWindows(); }

    void windowLooksAsDesigned()
    {
        QVERIFY(writeFaceFile(kThreeFaces));
        QVERIFY(openDeletionWindow());
        FrmDelete &w = *frmDelete;
        QCOMPARE(w.windowTitle(), u"登録した顔の削除"_s);
        QCOMPARE(w.size(), QSize(202, 153));
        QCOMPARE(w.Label1->text(), u"削除する顔を選んでください："_s);
        QCOMPARE(w.Label1->pos(), QPoint(8, 16));
        QCOMPARE(w.Label1->font().pointSizeF(), 9.75);
        QCOMPARE(w.Label2->text(), u"削除する顔の番号を入れて下さい："_s);
        QCOMPARE(w.Label2->geometry(), QRect(8, 80, 121, 28));
        QVERIFY(w.Label2->wordWrap());
        QCOMPARE(w.cboFace->geometry(), QRect(8, 40, 185, 27));
        QCOMPARE(w.cboFace->font().pointSizeF(), 14.25);
        QCOMPARE(w.txtNumber->geometry(), QRect(136, 80, 57, 25));
        QCOMPARE(w.txtNumber->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
        QVERIFY(!w.txtNumber->testAttribute(Qt::WA_InputMethodEnabled));
        QCOMPARE(w.cmdDelete->text(), u"削除する"_s);
        QCOMPARE(w.cmdDelete->geometry(), QRect(112, 120, 81, 25));
        QVERIFY(w.cmdDelete->isDefault());
        QVERIFY(!w.cmdDelete->isEnabled());
        QCOMPARE(w.txtNumber->text(), QString());
        QCOMPARE(QApplication::focusWidget(), w.cboFace);
        // The disabled button is passed over: the list, then the number.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), w.txtNumber);
    }

    void listsTheFileByNumber()
    {
        QVERIFY(writeFaceFile("(^o^)\r\n\r\n \x81\x5F(^^\x81\x5F)\r\n"));
        QVERIFY(openDeletionWindow());
        FrmDelete &w = *frmDelete;
        QCOMPARE(entries(w.cboFace),
                 (QStringList{u"1 -- (^o^)"_s, u"2 -- "_s, u"3 --  ＼(^^＼)"_s}));
        QCOMPARE(w.cboFace->currentText(), QString());
        QCOMPARE(w.listing.faces().size(), 3);
    }

    // An editor that ends lines with LF alone makes one face of several lines: one numbered
    // entry of one row, each line feed drawn as ⏎; its number deletes that face alone.
    void aFaceHoldingLineFeedsTakesOneRow()
    {
        QVERIFY(writeFaceFile("(^_^)\n(T_T)\n(>_<)\n\r\n(x)\r\n"));
        QVERIFY(openDeletionWindow());
        FrmDelete &w = *frmDelete;
        QCOMPARE(entries(w.cboFace), (QStringList{u"1 -- (^_^)\n(T_T)\n(>_<)\n"_s, u"2 -- (x)"_s}));
        QCOMPARE(drawnEntries(w.cboFace),
                 (QStringList{u"1 -- (^_^)⏎(T_T)⏎(>_<)⏎"_s, u"2 -- (x)"_s}));
        QCOMPARE(drawnLines(w.cboFace), (QList<int>{1, 1}));
        deleteNumber(u"1"_s);
        QCOMPARE(faceFileBytes(), QByteArray("(x)\r\n"));
    }

    void deletingByNumber_data()
    {
        QTest::addColumn<QString>("number");
        QTest::addColumn<QByteArray>("after");
        const QByteArray withoutSecond("(^o^)\r\n(-_-)\r\n");
        for (const char *removes : {"2", " 2", "2x", "02", "2.0"})
            QTest::addRow("'%s' deletes face 2", removes) << removes << withoutSecond;
        QTest::addRow("'3' deletes the last face") << "3" << QByteArray("(^o^)\r\n(T_T)\r\n");
    }

    void deletingByNumber()
    {
        QFETCH(QString, number);
        QFETCH(QByteArray, after);
        QVERIFY(writeFaceFile(kThreeFaces));
        FrmPicora3 &main = *frmPicora3;
        main.show();
        QTest::mouseClick(main.cmdWarai, Qt::LeftButton);
        QTest::keyClick(main.cboFace, Qt::Key_Down);
        QCOMPARE(main.lblFace->text(), u"(^o^)"_s);
        QVERIFY(openDeletionWindow());

        const QList<MsgBoxCall> asked = deleteNumber(number);
        QCOMPARE(faceFileBytes(), after);
        QCOMPARE(asked.size(), 1);
        QCOMPARE(asked[0].prompt, u"削除しました"_s);
        QCOMPARE(asked[0].title, u"削除終了"_s);
        QCOMPARE(asked[0].style, vbOKOnly + vbCritical);
        QVERIFY(!frmDelete.isLoaded());
        QStringList expected;
        for (const QByteArray &line : after.split('\n'))
            if (!line.isEmpty())
                expected << QString::fromLatin1(line.chopped(1));
        QCOMPARE(entries(main.cboFace), expected);
        QCOMPARE(main.lblFace->text(), QString());
        QCOMPARE(main.lblSel->text(), u"笑い系："_s);
        QCOMPARE(clipboardText(), QString());
    }

    // Nothing deleted is never reported as deleted: the file is not touched, the main window
    // and the clipboard stay as they were, and the number is ready to be typed again.
    void numbersNotListedDeleteNothing_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("number");
        for (const char *number : {"1 2", "0", "-1", "4", "999", "2.5", "x", " "})
            QTest::addRow("'%s'", number) << kThreeFaces << number;
        QTest::newRow("any number of an empty list") << QByteArray() << u"1"_s;
    }

    void numbersNotListedDeleteNothing()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, number);
        QVERIFY(writeFaceFile(file));
        const QString untouched = fingerprint(faceFileName());
        FrmPicora3 &main = *frmPicora3;
        main.show();
        QTest::mouseClick(main.cmdWarai, Qt::LeftButton);
        QTest::keyClick(main.cboFace, Qt::Key_Down);
        QVERIFY(openDeletionWindow());
        FrmDelete &w = *frmDelete;

        const QList<MsgBoxCall> asked = deleteNumber(number);
        QCOMPARE(asked.size(), 1);
        QCOMPARE(asked[0].prompt, u"その番号の「顔」はありません"_s);
        QCOMPARE(asked[0].title, u"無効です"_s);
        QCOMPARE(asked[0].style, vbOKOnly + vbCritical);
        QCOMPARE(faceFileBytes(), file);
        QCOMPARE(fingerprint(faceFileName()), untouched);
        QCOMPARE(main.cboFace->count(), 37);
        QCOMPARE(main.lblFace->text(), u"(^o^)"_s);
        QCOMPARE(clipboardText(), u"(^o^)"_s);
        QVERIFY(frmDelete.isLoaded());
        QCOMPARE(w.cboFace->count(), file.count('\n'));
        QCOMPARE(QApplication::focusWidget(), w.txtNumber);
        QCOMPARE(w.txtNumber->selectedText(), number);
    }

    void buttonFollowsTheNumberBox()
    {
        QVERIFY(writeFaceFile(kThreeFaces));
        QVERIFY(openDeletionWindow());
        FrmDelete &w = *frmDelete;
        ScriptedMsgBoxes boxes;
        // An empty box: Enter does nothing.
        QTest::keyClick(w.txtNumber, Qt::Key_Return);
        QVERIFY(boxes.asked.isEmpty());
        w.txtNumber->setFocus();
        typeInto(w.txtNumber, u" "_s);
        QVERIFY(w.cmdDelete->isEnabled());
        QTest::keyClick(w.txtNumber, Qt::Key_Backspace);
        QVERIFY(!w.cmdDelete->isEnabled());
        typeInto(w.txtNumber, u"1"_s);
        QVERIFY(w.cmdDelete->isEnabled());
        boxes.willAnswer({vbOK});
        QTest::keyClick(w.txtNumber, Qt::Key_Return);
        QCOMPARE(boxes.asked.size(), 1);
        QCOMPARE(faceFileBytes(), QByteArray("(T_T)\r\n(-_-)\r\n"));
    }

    void emptyAndAbsentFiles()
    {
        QVERIFY(writeFaceFile(QByteArray()));
        QVERIFY(openDeletionWindow());
        QCOMPARE(frmDelete->cboFace->count(), 0);
        destroyAllWindows();

        QFile::remove(faceFileName());
        ScriptedMsgBoxes quiet;
        quiet.willAnswer({vbNo});
        QVERIFY(openDeletionWindow());
        QCOMPARE(frmDelete->cboFace->count(), 0);
        QVERIFY(quiet.asked.isEmpty());
        QCOMPARE(deleteNumber(u"1"_s)[0].prompt, u"その番号の「顔」はありません"_s);
        QVERIFY(!QFileInfo::exists(faceFileName()));
    }

    void unreadableFileIsReportedOnOpening()
    {
        QVERIFY(QDir().mkpath(faceFileName()));
        ScriptedMsgBoxes boxes;
        boxes.willAnswer({vbOK});
        QVERIFY(openDeletionWindow());
        FrmDelete &w = *frmDelete;
        QCOMPARE(boxes.asked.size(), 1);
        QCOMPARE(boxes.asked[0].prompt, u"「顔」を読み込めませんでした。\n"_s + faceFileName() +
                                            u"\nファイルではないものがその名前で置かれています"_s);
        QCOMPARE(boxes.asked[0].title, u"読み込めません"_s);
        QCOMPARE(boxes.asked[0].style, vbOKOnly + vbCritical);
        QVERIFY(w.isVisible());
        QCOMPARE(w.cboFace->count(), 0);
        QCOMPARE(w.listing.faces().size(), 0);
    }

    void atMost501FacesAndNoneLost()
    {
        QVERIFY(writeFaceFile(numberedLines(1, 501)));
        QVERIFY(openDeletionWindow());
        QCOMPARE(frmDelete->cboFace->count(), 501);
        QCOMPARE(frmDelete->cboFace->itemText(500), u"501 -- face 501"_s);
        destroyAllWindows();

        QVERIFY(writeFaceFile(numberedLines(1, 600)));
        QVERIFY(openDeletionWindow());
        QCOMPARE(frmDelete->cboFace->count(), 501);
        QCOMPARE(frmDelete->listing.faces().size(), 501);
        deleteNumber(u"3"_s);
        QCOMPARE(faceFileBytes(), numberedLines(1, 2) + numberedLines(4, 600));
        QCOMPARE(frmPicora3->cboFace->count(), 599);
    }

    void faceRegisteredWhileOpenIsKept()
    {
        QVERIFY(writeFaceFile(kThreeFaces));
        QVERIFY(openDeletionWindow());
        FrmEnter &enter = *frmEnter;
        enter.txtFace->setText(u"(new)"_s);
        {
            ScriptedMsgBoxes boxes;
            boxes.willAnswer({vbOK});
            QTest::mouseClick(enter.cmdEnterFace, Qt::LeftButton);
        }
        QCOMPARE(faceFileBytes(), kThreeFaces + "(new)\r\n");
        deleteNumber(u"1"_s);
        QCOMPARE(faceFileBytes(), QByteArray("(T_T)\r\n(-_-)\r\n(new)\r\n"));
    }

    void faceChangedWhileOpenIsNotRemoved()
    {
        QVERIFY(writeFaceFile(kThreeFaces));
        FrmPicora3 &main = *frmPicora3;
        QTest::mouseClick(main.cmdUser, Qt::LeftButton);
        QVERIFY(openDeletionWindow());
        FrmDelete &w = *frmDelete;
        // Another copy of the program deleted the first face meanwhile.
        QVERIFY(writeFaceFile("(T_T)\r\n(-_-)\r\n"));
        const QString untouched = fingerprint(faceFileName());
        const QList<MsgBoxCall> asked = deleteNumber(u"1"_s);
        QCOMPARE(asked.size(), 1);
        QCOMPARE(asked[0].prompt, u"顔ファイルが変わっていたため、削除しませんでした"_s);
        QCOMPARE(asked[0].title, u"削除できません"_s);
        QCOMPARE(asked[0].style, vbOKOnly + vbCritical);
        QCOMPARE(faceFileBytes(), QByteArray("(T_T)\r\n(-_-)\r\n"));
        QCOMPARE(fingerprint(faceFileName()), untouched);
        // The window lists the file as it is now; the main window keeps its list.
        QVERIFY(frmDelete.isLoaded());
        QCOMPARE(entries(w.cboFace), (QStringList{u"1 -- (T_T)"_s, u"2 -- (-_-)"_s}));
        QCOMPARE(w.listing.faces().size(), 2);
        QCOMPARE(main.cboFace->count(), 3);
        QCOMPARE(QApplication::focusWidget(), w.txtNumber);
        QCOMPARE(w.txtNumber->selectedText(), u"1"_s);
        // The numbers shown now delete what they show.
        deleteNumber(u"1"_s);
        QCOMPARE(faceFileBytes(), QByteArray("(-_-)\r\n"));
    }

    void invalidBytesComeThroughUnchanged()
    {
        QVERIFY(writeFaceFile("\x81\xFF(x)\r\n\x83\x5C\r\n\x85\x40\r\n"));
        QVERIFY(openDeletionWindow());
        QCOMPARE(frmDelete->cboFace->itemText(0), u"1 -- \uFFFD\uFFFD(x)"_s);
        deleteNumber(u"2"_s);
        QCOMPARE(faceFileBytes(), QByteArray("\x81\xFF(x)\r\n\x85\x40\r\n"));
    }

    void failedRewriteKeepsEverything()
    {
        QVERIFY(writeFaceFile(kThreeFaces));
        FrmPicora3 &main = *frmPicora3;
        QTest::mouseClick(main.cmdUser, Qt::LeftButton);
        QVERIFY(openDeletionWindow());
        FrmDelete &w = *frmDelete;
        ReadOnlyFolder readOnly(documentsFolder());
        if (!readOnly.active())
            QSKIP("this file system cannot make a folder read-only for root");
        w.txtNumber->setFocus();
        typeInto(w.txtNumber, u"2"_s);
        ScriptedMsgBoxes boxes;
        boxes.willAnswer({vbOK});
        QTest::mouseClick(w.cmdDelete, Qt::LeftButton);
        QCOMPARE(boxes.asked.size(), 1);
        QCOMPARE(boxes.asked[0].title, u"削除できません"_s);
        QCOMPARE(boxes.asked[0].style, vbOKOnly + vbCritical);
        QVERIFY(boxes.asked[0].prompt.startsWith(u"「顔」を削除できませんでした。\n"_s +
                                                 faceFileName() + u"\n"_s));
        QCOMPARE(faceFileBytes(), kThreeFaces);
        QVERIFY(frmDelete.isLoaded());
        QCOMPARE(w.cboFace->count(), 3);
        QCOMPARE(main.cboFace->count(), 3);
    }

    void choosingMovesTheFocusToTheNumber()
    {
        QVERIFY(writeFaceFile(kThreeFaces));
        QVERIFY(openDeletionWindow());
        FrmDelete &w = *frmDelete;
        w.txtNumber->setText(u"3"_s);
        w.cboFace->setFocus();
        QTest::keyClick(w.cboFace, Qt::Key_Down);
        QCOMPARE(QApplication::focusWidget(), w.txtNumber);
        QCOMPARE(w.txtNumber->text(), u"3"_s);
        QCOMPARE(w.txtNumber->selectedText(), u"3"_s);

        w.cboFace->setFocus();
        typeInto(w.cboFace->lineEdit(), u"z"_s);
        QCOMPARE(QApplication::focusWidget(), w.txtNumber);
    }

    void showingAgainDoesNotReload()
    {
        QVERIFY(writeFaceFile(kThreeFaces));
        QVERIFY(openDeletionWindow());
        FrmDelete &w = *frmDelete;
        QVERIFY(writeFaceFile("only\r\n"));
        Module1::ShowDelete();
        QCOMPARE(&*frmDelete, &w);
        QCOMPARE(w.cboFace->count(), 3);
        // The close box asks nothing; the next opening reads the file afresh.
        ScriptedMsgBoxes boxes;
        QVERIFY(w.close());
        QVERIFY(boxes.asked.isEmpty());
        QVERIFY(openDeletionWindow());
        QCOMPARE(frmDelete->cboFace->count(), 1);
    }
};

FACE_FILE_TEST_MAIN(TestDeleteWindow)

#include "tst_deletewindow.moc"
