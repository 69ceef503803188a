// SPDX-License-Identifier: MIT
#include "catalogue/BuiltinFaces.h"
#include "forms/Module1.h"
#include "forms/frmDelete.h"
#include "forms/frmEnter.h"
#include "forms/frmPicora3.h"
#include "platform/Clipboard.h"
#include "support/FaceFileFixture.h"
#include "support/Harness.h"
#include "support/Windows.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace MsgBoxStyle;

namespace {

QStringList texts(Catalogue::FaceList faces)
{
    QStringList list;
    for (std::u16string_view face : faces)
        list << QString::fromUtf16(face.data(), qsizetype(face.size()));
    return list;
}

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { Runtime::prepare(*qApp); }
    void cleanup() { destroyAllWindows(); }

    void firstShowing()
    {
        frmPicora3.Load();
        QCOMPARE(frmPicora3->pos(), QPoint(0, 0));
        QVERIFY(openMainWindow());
        FrmPicora3 &w = *frmPicora3;
        QCOMPARE(w.windowTitle(), u"ピコラ Ver3.0"_s);
        QCOMPARE(w.lblSel->text(), u"顔を選ぶ："_s);
        QCOMPARE(w.lblFace->text(), QString());
        QCOMPARE(w.cboFace->count(), 0);
        QCOMPARE(w.cboFace->currentText(), QString());
        QCOMPARE(QApplication::focusWidget(), w.cboFace);
        QVERIFY(!(w.windowFlags() & Qt::WindowMinimizeButtonHint));
        QVERIFY(!(w.windowFlags() & Qt::WindowMaximizeButtonHint));
        QVERIFY(w.windowFlags() & Qt::WindowCloseButtonHint);
        QCOMPARE(w.minimumSize(), w.maximumSize());
        QCOMPARE(w.findChild<QWidget *>("cboFace")->parentWidget()->size(), QSize(211, 180));
    }

    void controlsStandWhereDesigned_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("geometry");
        QTest::addColumn<QString>("caption");
        QTest::newRow("lblFace") << "lblFace" << QRect(8, 8, 193, 25) << "";
        QTest::newRow("cboFace") << "cboFace" << QRect(64, 40, 137, 27) << "";
        QTest::newRow("cmdWarai") << "cmdWarai" << QRect(8, 80, 65, 25) << u"笑い系"_s;
        QTest::newRow("cmdNaki") << "cmdNaki" << QRect(8, 112, 65, 25) << u"泣き系"_s;
        QTest::newRow("cmdIkari") << "cmdIkari" << QRect(72, 80, 65, 25) << u"怒り系"_s;
        QTest::newRow("cmdTanoshii") << "cmdTanoshii" << QRect(72, 112, 65, 25) << u"驚き系"_s;
        QTest::newRow("cmdMu") << "cmdMu" << QRect(136, 80, 65, 25) << u"無表情系"_s;
        QTest::newRow("cmdSonota") << "cmdSonota" << QRect(136, 112, 65, 25) << u"その他系"_s;
        QTest::newRow("cmdUser") << "cmdUser" << QRect(8, 144, 105, 25) << u"ユーザー登録系"_s;
        QTest::newRow("Command1") << "Command1" << QRect(136, 144, 65, 25) << u"終了"_s;
    }

    void controlsStandWhereDesigned()
    {
        QFETCH(QString, name);
        QFETCH(QRect, geometry);
        QFETCH(QString, caption);
        frmPicora3.Load();
        QWidget *control = frmPicora3->findChild<QWidget *>(name);
        QVERIFY(control);
        QCOMPARE(control->geometry(), geometry);
        if (auto *button = qobject_cast<QPushButton *>(control)) {
            QCOMPARE(button->text(), caption);
            QVERIFY(!button->isDefault() && !button->autoDefault());
        }
    }

    void fontsAndLabels()
    {
        FrmPicora3 &w = *frmPicora3;
        QCOMPARE(w.lblFace->font().pointSizeF(), 14.25);
        QCOMPARE(w.lblFace->font().weight(), QFont::Bold);
        QCOMPARE(w.lblFace->alignment(), Qt::AlignCenter);
        QCOMPARE(w.lblFace->frameShape(), QFrame::Box);
        QVERIFY(!w.lblFace->autoFillBackground());
        QCOMPARE(w.cboFace->font().pointSizeF(), 14.25);
        QCOMPARE(w.cboFace->font().weight(), QFont::Normal);
        QCOMPARE(QFontInfo(w.cboFace->font()).family(), "IPAPGothic");
        QCOMPARE(w.lblSel->pos(), QPoint(8, 48));
        QVERIFY(!w.lblSel->autoFillBackground());
    }

    void focusOrder()
    {
        QVERIFY(openMainWindow());
        FrmPicora3 &w = *frmPicora3;
        const QStringList expected{"cboFace", "cmdWarai",  "cmdNaki", "cmdIkari", "cmdTanoshii",
                                   "cmdMu",   "cmdSonota", "cmdUser", "Command1", "cboFace"};
        QStringList seen{QApplication::focusWidget()->objectName()};
        for (int i = 1; i < expected.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QWidget *focus = QApplication::focusWidget();
            // The combo box hands its focus to its text field.
            seen << (focus == w.cboFace->lineEdit() ? "cboFace" : focus->objectName());
        }
        QCOMPARE(seen, expected);
    }

    void menus()
    {
        FrmPicora3 &w = *frmPicora3;
        const QList<QAction *> menus = w.findChild<QMenuBar *>()->actions();
        QStringList layout;
        for (QAction *menu : menus) {
            layout << menu->text();
            for (QAction *item : menu->menu()->actions())
                layout << "  " + (item->isSeparator() ? "-" : item->text()) +
                              (item->isEnabled() ? "" : " (disabled)");
        }
        QCOMPARE(layout, (QStringList{u"ファイル"_s, u"  終了"_s, u"登録/削除"_s,
                                      u"  顔を登録する"_s, "  -", u"  顔の削除 (disabled)"_s,
                                      u"ヘルプ"_s, u"  ヘルプ"_s, "  -", u"  バージョン情報"_s}));
        QCOMPARE(w.mnuDelete->objectName(), "mnuDelete");
        QVERIFY(w.findChild<QAction *>("asa")->isSeparator());
        QVERIFY(w.findChild<QAction *>("mnuBar1")->isSeparator());
    }

    void categoryButtons_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QStringList>("faces");
        QTest::addColumn<QString>("label");
        QTest::newRow("warai") << "cmdWarai" << texts(Catalogue::kWarai.faces) << u"笑い系："_s;
        QTest::newRow("naki") << "cmdNaki" << texts(Catalogue::kNaki.faces) << u"泣き系："_s;
        QTest::newRow("ikari") << "cmdIkari" << texts(Catalogue::kIkari.faces) << u"怒り系："_s;
        QTest::newRow("tanoshii") << "cmdTanoshii" << texts(Catalogue::kTanoshii.faces)
                                  << u"驚き形："_s;
        QTest::newRow("mu") << "cmdMu" << texts(Catalogue::kMu.faces) << u"無表情系："_s;
        QTest::newRow("sonota") << "cmdSonota" << texts(Catalogue::kSonota.faces)
                                << u"その他系："_s;
    }

    void categoryButtons()
    {
        QFETCH(QString, button);
        QFETCH(QStringList, faces);
        QFETCH(QString, label);
        QVERIFY(openMainWindow());
        FrmPicora3 &w = *frmPicora3;
        w.cboFace->addItem("stale entry");
        w.cboFace->setEditText("stale text");
        w.lblFace->setText("stale face");
        Clipboard::SetText("stale clipboard");

        auto *pressed = w.findChild<QPushButton *>(button);
        QTest::mouseClick(pressed, Qt::LeftButton);
        QCOMPARE(entries(w.cboFace), faces);
        QCOMPARE(w.cboFace->currentText(), QString());
        QCOMPARE(w.lblSel->text(), label);
        QCOMPARE(w.lblSel->size(), w.lblSel->sizeHint());
        QCOMPARE(w.lblFace->text(), QString());
        QCOMPARE(clipboardText(), QString());

        // A second press gives the same list, not a doubled one.
        QTest::mouseClick(pressed, Qt::LeftButton);
        QCOMPARE(entries(w.cboFace), faces);
    }

    void anotherCategoryReplacesTheList()
    {
        QVERIFY(openMainWindow());
        FrmPicora3 &w = *frmPicora3;
        QTest::mouseClick(w.cmdWarai, Qt::LeftButton);
        QTest::mouseClick(w.cmdIkari, Qt::LeftButton);
        QCOMPARE(entries(w.cboFace), texts(Catalogue::kIkari.faces));
        QCOMPARE(w.cboFace->itemText(8), u"(-.-ﾒ)y-~~~"_s);
    }

    void choosingByKeyboard()
    {
        QVERIFY(openMainWindow());
        FrmPicora3 &w = *frmPicora3;
        QTest::mouseClick(w.cmdNaki, Qt::LeftButton);
        w.cboFace->setFocus();
        QTest::keyClick(w.cboFace, Qt::Key_Down);
        QCOMPARE(w.lblFace->text(), u"(>_<)"_s);
        QCOMPARE(clipboardText(), u"(>_<)"_s);
        QTest::keyClick(w.cboFace, Qt::Key_Down);
        QCOMPARE(w.lblFace->text(), u"(>｡<)y-ﾟﾟﾟ"_s);
        QCOMPARE(clipboardText(), u"(>｡<)y-ﾟﾟﾟ"_s);
        QTest::keyClick(w.cboFace, Qt::Key_Up);
        QCOMPARE(w.lblFace->text(), u"(>_<)"_s);
        QCOMPARE(clipboardText(), u"(>_<)"_s);
    }

    void choosingByMouseKeepsLeadingBlanks()
    {
        QVERIFY(openMainWindow());
        FrmPicora3 &w = *frmPicora3;
        QTest::mouseClick(w.cmdWarai, Qt::LeftButton);
        w.cboFace->showPopup();
        QAbstractItemView *view = w.cboFace->view();
        QVERIFY(QTest::qWaitForWindowExposed(view->window()));
        const QModelIndex item = w.cboFace->model()->index(16, 0);
        view->scrollTo(item);
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(item).center());
        QCOMPARE(w.lblFace->text(), u" ＼(^^＼)"_s);
        QCOMPARE(clipboardText(), u" ＼(^^＼)"_s);
        QCOMPARE(w.cboFace->count(), 37);
    }

    void typingShowsAndCopiesEachKeystroke()
    {
        QVERIFY(openMainWindow());
        FrmPicora3 &w = *frmPicora3;
        QTest::mouseClick(w.cmdMu, Qt::LeftButton);
        QLineEdit *field = w.cboFace->lineEdit();
        const QString typed = u"(ﾟ〇ﾟ"_s;
        for (int n = 1; n <= typed.size(); ++n) {
            typeInto(field, typed.mid(n - 1, 1));
            QCOMPARE(w.lblFace->text(), typed.left(n));
            QCOMPARE(clipboardText(), typed.left(n));
        }
        // Enter neither adds the typed face to the list nor changes what was copied.
        QTest::keyClick(field, Qt::Key_Return);
        QCOMPARE(w.cboFace->count(), 15);
        QCOMPARE(clipboardText(), typed);
        // Alt chords, pressed for menus that have no access keys, type nothing.
        for (const Qt::Key key : {Qt::Key_F, Qt::Key_E, Qt::Key_H})
            QTest::keyClick(w.cboFace, key, Qt::AltModifier);
        QCOMPARE(field->text(), typed);
        QCOMPARE(clipboardText(), typed);

        field->selectAll();
        QTest::keyClick(field, Qt::Key_Backspace);
        QCOMPARE(w.lblFace->text(), QString());
        QCOMPARE(clipboardText(), QString());
        QCOMPARE(entries(w.cboFace), texts(Catalogue::kMu.faces));
    }

    // Clearing the list empties its text field too, also when the list had no entries.
    void clearingTheListEmptiesItsTextField_data()
    {
        QTest::addColumn<QString>("clearedBy");
        QTest::addColumn<bool>("filled");
        for (const char *clearedBy : {"category button", "registration", "deletion"}) {
            QTest::addRow("%s, typed into an empty list", clearedBy) << clearedBy << false;
            QTest::addRow("%s, typed into a filled list", clearedBy) << clearedBy << true;
        }
    }

    void clearingTheListEmptiesItsTextField()
    {
        QFETCH(QString, clearedBy);
        QFETCH(bool, filled);
        freshDocuments();
        QVERIFY(writeFaceFile("(^^)\r\n(T_T)\r\n"));
        QVERIFY(openMainWindow());
        FrmPicora3 &w = *frmPicora3;
        if (filled)
            QTest::mouseClick(w.cmdWarai, Qt::LeftButton);
        w.cboFace->setFocus();
        typeInto(w.cboFace->lineEdit(), u"x"_s);
        QCOMPARE(w.cboFace->currentText(), u"x"_s);

        ScriptedMsgBoxes boxes;
        boxes.willAnswer({vbOK});
        QStringList listed;
        if (clearedBy == "category button") {
            QTest::mouseClick(w.cmdNaki, Qt::LeftButton);
            listed = texts(Catalogue::kNaki.faces);
        } else if (clearedBy == "registration") {
            Module1::ShowEnter();
            frmEnter->txtFace->setText(u"(new)"_s);
            QTest::mouseClick(frmEnter->cmdEnterFace, Qt::LeftButton);
            listed = QStringList{"(^^)", "(T_T)", "(new)"};
        } else {
            Module1::ShowDelete();
            frmDelete->txtNumber->setText(u"1"_s);
            QTest::mouseClick(frmDelete->cmdDelete, Qt::LeftButton);
            listed = QStringList{"(T_T)"};
        }
        QCOMPARE(entries(w.cboFace), listed);
        QCOMPARE(w.cboFace->currentText(), QString());
        QCOMPARE(w.cboFace->lineEdit()->text(), QString());
        QCOMPARE(clipboardText(), QString());
    }

    void quitting_data()
    {
        QTest::addColumn<QString>("way");
        QTest::newRow("button") << "Command1";
        QTest::newRow("menu") << "mnuEnd";
        QTest::newRow("close box") << "close";
    }

    void quitting()
    {
        QFETCH(QString, way);
        const auto quit = [&way] {
            FrmPicora3 &w = *frmPicora3;
            if (way == "Command1")
                QTest::mouseClick(w.Command1, Qt::LeftButton);
            else if (way == "mnuEnd")
                w.mnuEnd->trigger();
            else
                w.close();
        };
        EndRecorder end;
        ScriptedMsgBoxes boxes;
        QVERIFY(openMainWindow());
        FrmPicora3 &w = *frmPicora3;
        QTest::mouseClick(w.cmdSonota, Qt::LeftButton);
        QTest::keyClick(w.cboFace, Qt::Key_Down);

        boxes.willAnswer({vbCancel});
        quit();
        QCOMPARE(boxes.asked.size(), 1);
        QCOMPARE(boxes.asked[0].prompt, u"終了しますか？"_s);
        QCOMPARE(boxes.asked[0].title, u"ピコラ３の終了"_s);
        QCOMPARE(boxes.asked[0].style, vbOKCancel + vbQuestion + vbDefaultButton2);
        QVERIFY(frmPicora3.isLoaded());
        QVERIFY(w.isVisible());
        QCOMPARE(w.cboFace->count(), 28);
        QCOMPARE(w.lblFace->text(), u"(笑)"_s);
        QCOMPARE(w.lblSel->text(), u"その他系："_s);
        QCOMPARE(clipboardText(), u"(笑)"_s);
        QCOMPARE(end.ends, 0);

        boxes.willAnswer({vbOK});
        quit();
        QCOMPARE(boxes.asked.size(), 2);
        QCOMPARE(clipboardText(), QString());
        QCOMPARE(end.ends, 1);
        QVERIFY(!frmPicora3.isLoaded());
    }
};

FACE_FILE_TEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
