// SPDX-License-Identifier: MIT
#include "forms/FaceListModel.h"
#include "forms/Module1.h"
#include "forms/frmEnter.h"
#include "forms/frmPicora3.h"
#include "platform/Clipboard.h"
#include "support/FaceFileFixture.h"
#include "support/Harness.h"
#include "support/Windows.h"

#include <QClipboard>
#include <QComboBox>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace MsgBoxStyle;

class TestUserFaces : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { Runtime::prepare(*qApp); }
    void init() { freshDocuments(); }
    void cleanup() { destroyAllWindows(); }

    void userCategoryListsTheFileInOrder()
    {
        QVERIFY(writeFaceFile(QByteArray("(^o^)\r\n \x81\x5F(^^\x81\x5F)\r\n\r\n(^o^)\r\nlast")));
        ScriptedMsgBoxes boxes;
        QVERIFY(openMainWindowWithAFaceChosen());
        FrmPicora3 &w = *frmPicora3;
        QTest::mouseClick(w.cmdUser, Qt::LeftButton);
        QCOMPARE(entries(w.cboFace),
                 (QStringList{u"(^o^)"_s, u" ＼(^^＼)"_s, QString(), u"(^o^)"_s, u"last"_s}));
        QCOMPARE(w.cboFace->currentText(), QString());
        QCOMPARE(w.lblSel->text(), u"登録系："_s);
        QCOMPARE(w.lblFace->text(), QString());
        QCOMPARE(clipboardText(), QString());
        QVERIFY(boxes.asked.isEmpty());

        // Nothing is cached: a second call reads again and appends again.
        Module1::AddUserFaces();
        QCOMPARE(w.cboFace->count(), 10);
    }

    // An editor that ends lines with LF alone makes one face of several lines: it is listed as
    // one entry of one row, each line feed drawn as ⏎, and chosen whole.
    void aFaceHoldingLineFeedsTakesOneRow()
    {
        QVERIFY(writeFaceFile("(^_^)\n(T_T)\n(>_<)\n\r\n(x)\r\n"));
        QVERIFY(openMainWindow());
        FrmPicora3 &w = *frmPicora3;
        QTest::mouseClick(w.cmdUser, Qt::LeftButton);
        const QString face = u"(^_^)\n(T_T)\n(>_<)\n"_s;
        QCOMPARE(entries(w.cboFace), (QStringList{face, u"(x)"_s}));
        QCOMPARE(drawnEntries(w.cboFace), (QStringList{u"(^_^)⏎(T_T)⏎(>_<)⏎"_s, u"(x)"_s}));
        QCOMPARE(drawnLines(w.cboFace), (QList<int>{1, 1}));
        QVERIFY(QFontMetrics(w.cboFace->view()->font()).inFont(FaceListModel::kLineFeedMark));
        w.cboFace->setFocus();
        QTest::keyClick(w.cboFace, Qt::Key_Down);
        QCOMPARE(w.cboFace->currentText(), face);
        QCOMPARE(w.lblFace->text(), face);
        QCOMPARE(clipboardText(), face);
    }

    void emptyFileListsNothingAndAsksNothing()
    {
        QVERIFY(writeFaceFile(QByteArray()));
        ScriptedMsgBoxes boxes;
        QVERIFY(openMainWindowWithAFaceChosen());
        FrmPicora3 &w = *frmPicora3;
        QTest::mouseClick(w.cmdUser, Qt::LeftButton);
        QCOMPARE(w.cboFace->count(), 0);
        QVERIFY(boxes.asked.isEmpty());
    }

    void absentFileAsksToRegister_data()
    {
        QTest::addColumn<QString>("situation");
        QTest::addColumn<int>("answer");
        for (const char *situation : {"absent file", "absent folder"}) {
            QTest::addRow("%s, Yes", situation) << situation << int(vbYes);
            QTest::addRow("%s, No", situation) << situation << int(vbNo);
        }
    }

    void absentFileAsksToRegister()
    {
        QFETCH(QString, situation);
        QFETCH(int, answer);
        if (situation == "absent folder")
            removeDocuments();

        ScriptedMsgBoxes boxes;
        boxes.willAnswer({answer});
        QVERIFY(openMainWindowWithAFaceChosen());
        FrmPicora3 &w = *frmPicora3;
        QTest::mouseClick(w.cmdUser, Qt::LeftButton);
        QCOMPARE(boxes.asked.size(), 1);
        QCOMPARE(boxes.asked[0].prompt, u"「顔」を登録しますか？"_s);
        QCOMPARE(boxes.asked[0].title, u"登録された「顔」がありません"_s);
        QCOMPARE(boxes.asked[0].style, vbYesNo + vbQuestion);
        QCOMPARE(w.cboFace->count(), 0);
        QCOMPARE(w.lblSel->text(), u"登録系："_s);
        QCOMPARE(frmEnter.isLoaded(), answer == vbYes);
        if (answer == vbYes)
            QVERIFY(frmEnter->isVisible());
        QCOMPARE(QDir(documentsFolder()).exists(), situation != "absent folder");
    }

    void unreadableFileIsReportedNotQuestioned()
    {
        QVERIFY(QDir().mkpath(faceFileName()));
        ScriptedMsgBoxes boxes;
        boxes.willAnswer({vbOK});
        QVERIFY(openMainWindowWithAFaceChosen());
        FrmPicora3 &w = *frmPicora3;
        QTest::mouseClick(w.cmdUser, Qt::LeftButton);
        QCOMPARE(boxes.asked.size(), 1);
        QCOMPARE(boxes.asked[0].prompt, u"「顔」を読み込めませんでした。\n"_s + faceFileName() +
                                            u"\nファイルではないものがその名前で置かれています"_s);
        QCOMPARE(boxes.asked[0].title, u"読み込めません"_s);
        QCOMPARE(boxes.asked[0].style, vbOKOnly + vbCritical);
        QCOMPARE(w.cboFace->count(), 0);
        QCOMPARE(w.lblSel->text(), u"登録系："_s);
        QVERIFY(!frmEnter.isLoaded());
        QVERIFY(QFileInfo(faceFileName()).isDir());
    }

    void yesBringsAnOpenRegistrationWindowForward()
    {
        QVERIFY(openRegistrationWindow());
        FrmEnter &open = *frmEnter;
        open.txtFace->setText(u"(^^)"_s);
        ScriptedMsgBoxes boxes;
        boxes.willAnswer({vbYes});
        Module1::AddUserFaces();
        QCOMPARE(&*frmEnter, &open);
        QCOMPARE(open.txtFace->text(), u"(^^)"_s);
    }

    void registrationWindowLooksAsDesigned()
    {
        frmPicora3.Show();
        frmPicora3->mnuEnter->trigger();
        FrmEnter &w = *frmEnter;
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QCOMPARE(w.windowTitle(), u"「顔」の登録"_s);
        QCOMPARE(w.size(), QSize(220, 109));
        QCOMPARE(w.txtFace->geometry(), QRect(8, 32, 201, 25));
        QCOMPARE(w.txtFace->font().pointSizeF(), 14.25);
        QCOMPARE(w.txtFace->alignment(), Qt::AlignCenter);
        QCOMPARE(w.Label1->text(), u"登録する「顔」："_s);
        QCOMPARE(w.Label1->pos(), QPoint(8, 16));
        QCOMPARE(w.cmdEnterFace->text(), u"登録する"_s);
        QCOMPARE(w.cmdEnterFace->geometry(), QRect(16, 72, 81, 25));
        QVERIFY(w.cmdEnterFace->isDefault());
        QCOMPARE(w.cmdUnload->text(), u"登録の終了"_s);
        QCOMPARE(w.cmdUnload->geometry(), QRect(120, 72, 81, 25));
        QCOMPARE(QApplication::focusWidget(), w.txtFace);
        QTest::keyClick(w.txtFace, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), w.cmdEnterFace);
        QTest::keyClick(w.cmdEnterFace, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), w.cmdUnload);

        // No length limit; Escape does nothing.
        const QString longFace(40000, u'x');
        w.txtFace->setText(longFace);
        QCOMPARE(w.txtFace->text(), longFace);
        QTest::keyClick(w.txtFace, Qt::Key_Escape);
        QVERIFY(w.isVisible());
    }

    void emptyEntryIsRefused()
    {
        QVERIFY(openMainWindowWithAFaceChosen());
        FrmPicora3 &main = *frmPicora3;
        QVERIFY(openRegistrationWindow());
        FrmEnter &w = *frmEnter;
        ScriptedMsgBoxes boxes;
        QTest::mouseClick(w.cmdEnterFace, Qt::LeftButton);
        QCOMPARE(boxes.asked.size(), 1);
        QCOMPARE(boxes.asked[0].prompt, u"何か入力してください"_s);
        QCOMPARE(boxes.asked[0].title, u"無効です"_s);
        QCOMPARE(boxes.asked[0].style, vbOKOnly + vbCritical);
        QCOMPARE(main.cboFace->count(), 37);
        QCOMPARE(clipboardText(), u"(^o^)"_s);
        QCOMPARE(faceFileBytes(), QByteArray("<absent>"));
        QCOMPARE(QApplication::focusWidget(), w.txtFace);
    }

    void faceThatCodePage932CannotHoldIsRefused()
    {
        QVERIFY(writeFaceFile("(^^)\r\n"));
        QVERIFY(openMainWindowWithAFaceChosen());
        FrmPicora3 &main = *frmPicora3;
        QVERIFY(openRegistrationWindow());
        FrmEnter &w = *frmEnter;
        w.txtFace->setText(u"(😀é)"_s);
        ScriptedMsgBoxes boxes;
        QTest::mouseClick(w.cmdEnterFace, Qt::LeftButton);
        QCOMPARE(boxes.asked.size(), 1);
        QCOMPARE(boxes.asked[0].prompt, u"保存できない文字が含まれています：😀é"_s);
        QCOMPARE(boxes.asked[0].title, u"無効です"_s);
        QCOMPARE(boxes.asked[0].style, vbOKOnly + vbCritical);
        QCOMPARE(main.cboFace->count(), 37);
        QCOMPARE(clipboardText(), u"(^o^)"_s);
        QCOMPARE(faceFileBytes(), QByteArray("(^^)\r\n"));
        QCOMPARE(w.txtFace->text(), u"(😀é)"_s);
    }

    void lineBreaksAreRefused_data()
    {
        QTest::addColumn<QString>("pasted");
        QTest::newRow("CR") << u"ab\rcd"_s;
        QTest::newRow("CR LF") << u"ab\r\ncd"_s;
        QTest::newRow("LF") << u"ab\ncd"_s;
    }

    void lineBreaksAreRefused()
    {
        QFETCH(QString, pasted);
        QVERIFY(writeFaceFile("(^^)\r\n"));
        QVERIFY(openMainWindowWithAFaceChosen());
        FrmPicora3 &main = *frmPicora3;
        QVERIFY(openRegistrationWindow());
        FrmEnter &w = *frmEnter;
        QGuiApplication::clipboard()->setText(pasted);
        QTest::keyClick(w.txtFace, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(w.txtFace->text(), pasted);
        ScriptedMsgBoxes boxes;
        QTest::mouseClick(w.cmdEnterFace, Qt::LeftButton);
        QCOMPARE(boxes.asked.size(), 1);
        QCOMPARE(boxes.asked[0].prompt, u"改行を含む「顔」は登録できません"_s);
        QCOMPARE(boxes.asked[0].title, u"無効です"_s);
        QCOMPARE(boxes.asked[0].style, vbOKOnly + vbCritical);
        QCOMPARE(faceFileBytes(), QByteArray("(^^)\r\n"));
        QCOMPARE(main.cboFace->count(), 37);
        QCOMPARE(clipboardText(), pasted);
        QCOMPARE(w.txtFace->text(), pasted);
        QCOMPARE(QApplication::focusWidget(), w.txtFace);
    }

    void cancelAtTheConfirmationWritesNothing()
    {
        QVERIFY(writeFaceFile("(^^)\r\n"));
        QVERIFY(openMainWindowWithAFaceChosen());
        FrmPicora3 &main = *frmPicora3;
        QCOMPARE(main.lblFace->text(), u"(^o^)"_s);
        QVERIFY(openRegistrationWindow());
        FrmEnter &w = *frmEnter;
        typeInto(w.txtFace, u" (ﾟ〇ﾟ;) "_s);
        ScriptedMsgBoxes boxes;
        boxes.willAnswer({vbCancel});
        QTest::mouseClick(w.cmdEnterFace, Qt::LeftButton);
        QCOMPARE(boxes.asked.size(), 1);
        QCOMPARE(boxes.asked[0].prompt, u" (ﾟ〇ﾟ;) を登録しますか？"_s);
        QCOMPARE(boxes.asked[0].title, u"「顔」登録の確認"_s);
        QCOMPARE(boxes.asked[0].style, vbOKCancel + vbQuestion);
        QCOMPARE(faceFileBytes(), QByteArray("(^^)\r\n"));
        QCOMPARE(main.cboFace->count(), 0);
        QCOMPARE(main.cboFace->currentText(), QString());
        QCOMPARE(clipboardText(), QString());
        QCOMPARE(main.lblFace->text(), u"(^o^)"_s);
        QCOMPARE(main.lblSel->text(), u"笑い系："_s);
        QCOMPARE(w.txtFace->text(), u" (ﾟ〇ﾟ;) "_s);
        QCOMPARE(QApplication::focusWidget(), w.txtFace);
    }

    void okAppendsTheFaceAndListsTheFile_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QString>("face");
        QTest::addColumn<QByteArray>("after");
        QTest::addColumn<QStringList>("listed");
        QTest::newRow("new file") << QByteArray("<absent>") << u"(^o^)"_s << QByteArray("(^o^)\r\n")
                                  << QStringList{"(^o^)"};
        QTest::newRow("appended last, blanks kept")
            << QByteArray("(^^)\r\n") << u" ＼(^^＼) "_s
            << QByteArray("(^^)\r\n \x81\x5F(^^\x81\x5F) \r\n")
            << QStringList{u"(^^)"_s, u" ＼(^^＼) "_s};
        QTest::newRow("a face already there")
            << QByteArray("(^^)\r\n") << u"(^^)"_s << QByteArray("(^^)\r\n(^^)\r\n")
            << QStringList{"(^^)", "(^^)"};
        QTest::newRow("typed by a Linux input method")
            << QByteArray("<absent>") << u"(^o^)〜‖−¢£¬"_s
            << QByteArray("(^o^)\x81\x60\x81\x61\x81\x7C\x81\x91\x81\x92\x81\xCA\r\n")
            << QStringList{u"(^o^)～∥－￠￡￢"_s};
        QTest::newRow("blanks only") << QByteArray("<absent>") << u"\u3000 "_s
                                     << QByteArray("\x81\x40 \r\n") << QStringList{u"\u3000 "_s};
        // A file edited by hand: every face in it stays as it was, the new one its own line.
        QTest::newRow("no final line end")
            << QByteArray("(^_^)\r\nabc") << u"zz"_s << QByteArray("(^_^)\r\nabc\r\nzz\r\n")
            << QStringList{"(^_^)", "abc", "zz"};
        QTest::newRow("unfinished double-byte character at the end")
            << QByteArray("abc\x81") << u"zz"_s << QByteArray("abc\x81\r\nzz\r\n")
            << QStringList{u"abc\uFFFD"_s, u"zz"_s};
        QTest::newRow("lines ended by LF alone")
            << QByteArray("a\nb\n") << u"zz"_s << QByteArray("a\nb\n\r\nzz\r\n")
            << QStringList{"a\nb\n", "zz"};
    }

    void okAppendsTheFaceAndListsTheFile()
    {
        QFETCH(QByteArray, before);
        QFETCH(QString, face);
        QFETCH(QByteArray, after);
        QFETCH(QStringList, listed);
        if (before != "<absent>")
            QVERIFY(writeFaceFile(before));
        QVERIFY(openMainWindowWithAFaceChosen());
        FrmPicora3 &main = *frmPicora3;
        QVERIFY(openRegistrationWindow());
        FrmEnter &w = *frmEnter;
        w.txtFace->setText(face);
        ScriptedMsgBoxes boxes;
        boxes.willAnswer({vbOK});
        QTest::mouseClick(w.cmdEnterFace, Qt::LeftButton);
        QCOMPARE(boxes.asked.size(), 1);
        QCOMPARE(faceFileBytes(), after);
        QCOMPARE(entries(main.cboFace), listed);
        QCOMPARE(main.lblSel->text(), u"笑い系："_s);
        QCOMPARE(main.lblFace->text(), u"(^o^)"_s);
        QCOMPARE(clipboardText(), QString());
        QCOMPARE(w.txtFace->text(), QString());
        QCOMPARE(QApplication::focusWidget(), w.txtFace);
    }

    void enterInTheEntryRegisters()
    {
        frmPicora3.Load();
        QVERIFY(openRegistrationWindow());
        FrmEnter &w = *frmEnter;
        typeInto(w.txtFace, u"(^_^)"_s);
        ScriptedMsgBoxes boxes;
        boxes.willAnswer({vbOK, vbOK});
        QTest::keyClick(w.txtFace, Qt::Key_Return);
        QCOMPARE(faceFileBytes(), QByteArray("(^_^)\r\n"));
        // Enter on the other button presses that one instead.
        w.cmdUnload->setFocus();
        QTest::keyClick(w.cmdUnload, Qt::Key_Return);
        QCOMPARE(boxes.asked.last().prompt, u"顔の登録を終了しますか？"_s);
        QCOMPARE(faceFileBytes(), QByteArray("(^_^)\r\n"));
    }

    void failedWriteKeepsTheEntryAndTheFile_data()
    {
        QTest::addColumn<QString>("situation");
        QTest::newRow("documents folder absent") << "absent folder";
        QTest::newRow("a folder in the file's place") << "folder";
    }

    void failedWriteKeepsTheEntryAndTheFile()
    {
        QFETCH(QString, situation);
        if (situation == "absent folder")
            removeDocuments();
        else
            QDir().mkpath(faceFileName());
        frmPicora3.Load();
        QVERIFY(openRegistrationWindow());
        FrmEnter &w = *frmEnter;
        w.txtFace->setText(u"(^o^)"_s);
        ScriptedMsgBoxes boxes;
        boxes.willAnswer({vbOK, vbOK});
        QTest::mouseClick(w.cmdEnterFace, Qt::LeftButton);
        QCOMPARE(boxes.asked.size(), 2);
        QCOMPARE(boxes.asked[1].title, u"保存できません"_s);
        QCOMPARE(boxes.asked[1].style, vbOKOnly + vbCritical);
        const QString prefix = u"「顔」を保存できませんでした。\n"_s + faceFileName() + u"\n"_s;
        QVERIFY2(boxes.asked[1].prompt.startsWith(prefix), qPrintable(boxes.asked[1].prompt));
        QVERIFY(boxes.asked[1].prompt.size() > prefix.size());
        QCOMPARE(w.txtFace->text(), u"(^o^)"_s);
        QVERIFY(w.isVisible());
        QCOMPARE(QDir(documentsFolder()).exists(), situation != "absent folder");
        QVERIFY(!QFileInfo(faceFileName()).isFile());
    }

    void closingAsksFirst_data()
    {
        QTest::addColumn<bool>("byCloseBox");
        QTest::newRow("end button") << false;
        QTest::newRow("close box") << true;
    }

    void closingAsksFirst()
    {
        QFETCH(bool, byCloseBox);
        QVERIFY(openMainWindowWithAFaceChosen());
        FrmPicora3 &main = *frmPicora3;
        QVERIFY(openRegistrationWindow());
        FrmEnter *w = &*frmEnter;
        w->txtFace->setText(u"(T_T)"_s);
        const auto close = [&] {
            if (byCloseBox)
                w->close();
            else
                QTest::mouseClick(w->cmdUnload, Qt::LeftButton);
        };
        ScriptedMsgBoxes boxes;
        boxes.willAnswer({vbCancel, vbOK});
        close();
        QCOMPARE(boxes.asked.size(), 1);
        QCOMPARE(boxes.asked[0].prompt, u"顔の登録を終了しますか？"_s);
        QCOMPARE(boxes.asked[0].title, u"「顔」登録の終了"_s);
        QCOMPARE(boxes.asked[0].style, vbOKCancel + vbQuestion + vbDefaultButton2);
        QVERIFY(frmEnter.isLoaded());
        QCOMPARE(w->txtFace->text(), u"(T_T)"_s);
        QCOMPARE(clipboardText(), u"(^o^)"_s);

        close();
        QVERIFY(!frmEnter.isLoaded());
        QCOMPARE(clipboardText(), QString());
        QTRY_COMPARE(QApplication::activeWindow(), &main);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(openRegistrationWindow());
        QVERIFY(frmEnter->txtFace->text().isEmpty());
    }

    void openingAgainKeepsTheEntry()
    {
        QVERIFY(openRegistrationWindow());
        FrmEnter &w = *frmEnter;
        w.txtFace->setText(u"(^^;"_s);
        Module1::ShowEnter();
        QCOMPARE(&*frmEnter, &w);
        QCOMPARE(w.txtFace->text(), u"(^^;"_s);
    }

    void focusSelectsTheWholeEntry()
    {
        QVERIFY(openRegistrationWindow());
        FrmEnter &w = *frmEnter;
        w.txtFace->setText(u"(^o^)/"_s);
        w.cmdUnload->setFocus();
        QTest::keyClick(w.cmdUnload, Qt::Key_Backtab);
        QTest::keyClick(w.cmdEnterFace, Qt::Key_Backtab);
        QCOMPARE(QApplication::focusWidget(), w.txtFace);
        QCOMPARE(w.txtFace->selectedText(), u"(^o^)/"_s);
        QCOMPARE(w.txtFace->selectionStart(), 0);
    }
};

FACE_FILE_TEST_MAIN(TestUserFaces)

#include "tst_userfaces.moc"
