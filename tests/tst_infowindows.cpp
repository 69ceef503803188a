// SPDX-License-Identifier: MIT
#include "forms/Credits.h"
#include "forms/frmCopy.h"
#include "forms/frmCopyright.h"
#include "forms/frmHelp.h"
#include "forms/frmPicora3.h"
#include "platform/Controls.h"
#include "support/Harness.h"

#include <QAction>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>

using namespace Qt::StringLiterals;

namespace {

bool centred(const QWidget &window)
{
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    return (window.geometry().center() - screen.center()).manhattanLength() <= 4;
}

// The two information windows behave alike; each row drives one of them.
struct InfoWindow {
    QAction *(*menuItem)();
    Form *(*window)();
    bool (*loaded)();
};

const InfoWindow kHelp{[] { return frmPicora3->mnuHelp; }, [] { return (Form *)&*frmHelp; },
                       [] { return frmHelp.isLoaded(); }};
const InfoWindow kVersion{[] { return frmPicora3->mnuVersion; },
                          [] { return (Form *)&*frmCopyright; },
                          [] { return frmCopyright.isLoaded(); }};

QPushButton *backButton(Form *window)
{
    return window->findChild<QPushButton *>("Command1");
}

int count(const QString &text, QChar c)
{
    return int(text.count(c));
}

} // namespace

Q_DECLARE_METATYPE(InfoWindow)

class TestInfoWindows : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { Runtime::prepare(*qApp); }
    void cleanup() { destroyAllWindows(); }

    void helpTextLineByLine()
    {
        const QString text = FrmHelp::helpText();
        QVERIFY(text.endsWith(u"\r\n"));
        QStringList lines = text.split(u"\r\n"_s);
        QCOMPARE(lines.takeLast(), QString());
        QCOMPARE(lines.size(), 29);
        const QList<int> lengths{33, 8,  1, 6, 2,  37, 54, 38, 16, 41, 40, 44, 2,  1, 9,
                                 1,  42, 3, 1, 41, 11, 1,  38, 1,  40, 34, 1,  38, 33};
        for (int i = 0; i < lines.size(); ++i) {
            QCOMPARE(lines[i].size(), lengths[i]);
            for (QChar c : lines[i])
                QVERIFY2(c.unicode() > 0x7E, qPrintable(u"half-width in line %1"_s.arg(i + 1)));
        }
        for (int blank : {3, 14, 16, 19, 22, 24, 27})
            QCOMPARE(lines[blank - 1], u"\u3000"_s);
        QCOMPARE(lines[4], u"\u3000\u3000"_s);
        QCOMPARE(lines[6], QString(54, QChar(0x3000)));
        QCOMPARE(lines[0], u"この度は、ポルカン「ピコラ」をダウンロードしていただき、誠にありが"_s);
        QCOMPARE(
            lines[11],
            u"れます。そこで、「貼り付け」を選んでください。もしくは、Ｃｔｒｌ＋Ｖで行ける場合もありま"_s);
        QCOMPARE(
            lines[19],
            u"「顔」を追加する場合は、中央のボックス（顔を選ぶ所）に、そのままあなたが使いたい「"_s);
        QCOMPARE(lines[28],
                 u"い致します。ホームページのＵＲＬは、バージョン情報の中にあります。"_s);
        // Line breaks are only CR LF; the text holds no other control or ASCII character.
        QCOMPARE(count(text, u'\r'), 29);
        QCOMPARE(count(text, u'\n'), 29);
    }

    void helpWindowShowsTheTextUnscrolled()
    {
        FrmHelp &help = *frmHelp;
        QCOMPARE(help.windowTitle(), u"ピコラ３　ヘルプ（使い方）"_s);
        QCOMPARE(help.size(), QSize(456, 408));
        QCOMPARE(help.Text1->geometry(), QRect(8, 8, 441, 361));
        QCOMPARE(help.Command1->geometry(), QRect(8, 376, 441, 25));
        QCOMPARE(help.Command1->text(), u"戻る"_s);
        QCOMPARE(help.Text1->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
        QCOMPARE(help.Text1->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
        QCOMPARE(help.Text1->lineWrapMode(), QPlainTextEdit::WidgetWidth);
        const QStringList lines = FrmHelp::helpText().split(u"\r\n"_s);
        QTextBlock block = help.Text1->document()->firstBlock();
        for (const QString &line : lines) {
            QVERIFY(block.isValid());
            QCOMPARE(block.text(), line);
            block = block.next();
        }
        QVERIFY(!block.isValid());

        // Every line of text is in view; at most the empty line after the last CR LF is not.
        help.show();
        QVERIFY(QTest::qWaitForWindowExposed(&help));
        QVERIFY(help.Text1->verticalScrollBar()->maximum() <= 1);
    }

    void versionWindowLooksAsDesigned()
    {
        FrmCopyright &version = *frmCopyright;
        QCOMPARE(version.windowTitle(), u"ピコラ３　バージョン情報"_s);
        QCOMPARE(version.size(), QSize(297, 273));
        QCOMPARE(version.Label1[0]->text(), u"ポルカン"_s);
        QCOMPARE(version.Label1[0]->geometry(), QRect(48, 8, 201, 33));
        // A half-width space, unlike the splash.
        QCOMPARE(version.Label1[1]->text(), u"ピコラ ３"_s);
        QCOMPARE(version.Label1[1]->pos(), QPoint(48, 48));
        QCOMPARE(version.Label3->text(), u"Version 1.01"_s);
        QCOMPARE(version.Label3->pos(), QPoint(120, 80));
        QCOMPARE(version.Label2->text(), QString::fromUtf16(Credits::kCopyright));
        QCOMPARE(version.Label2->geometry(), QRect(64, 112, 169, 17));
        QCOMPARE(version.Label4->text(), QString::fromUtf16(Credits::kNotice));
        QCOMPARE(version.Label4->geometry(), QRect(8, 144, 273, 41));
        QCOMPARE(version.Label5->text(), u"このソフトに関する、問い合わせ、苦情、感想は、"_s);
        QCOMPARE(version.Label5->font().pointSizeF(), 9.75);
        QCOMPARE(version.Label7->geometry(), QRect(8, 224, 281, 17));
        const QString address = QString::fromUtf16(Credits::kHomePage);
        QVERIFY(address.startsWith(u"https://"));
        QCOMPARE(version.Label7->text(), address + u"   までお願いします。"_s);
        QVERIFY(!version.Label7->wordWrap());
        QVERIFY(version.Label7->sizeHint().width() <= 281);
        QCOMPARE(version.Command1->geometry(), QRect(56, 240, 185, 25));
        QCOMPARE(version.Line1->from(), QPoint(8, 136));
        QCOMPARE(version.Line2->to(), QPoint(288, 192));
    }

    void splashCreatesMainVersionAndHelpInThatOrder()
    {
        frmCopy.Load();
        const QList<Form *> forms = Form::liveForms();
        QStringList names;
        for (Form *form : forms)
            names << form->objectName() + (form->isVisible() ? " visible" : "");
        QCOMPARE(names, (QStringList{"frmCopy", "frmPicora3", "frmCopyright", "frmHelp"}));
    }

    void lifeCycle_data()
    {
        QTest::addColumn<InfoWindow>("info");
        QTest::newRow("help") << kHelp;
        QTest::newRow("version") << kVersion;
    }

    void lifeCycle()
    {
        QFETCH(InfoWindow, info);
        frmCopy.Load();
        frmPicora3.Show();
        Form *first = info.window();
        QVERIFY(!first->isVisible());

        // The menu shows the window made at start-up, centred, with the focus on 戻る.
        info.menuItem()->trigger();
        QCOMPARE(info.window(), first);
        QVERIFY(QTest::qWaitForWindowActive(first));
        QVERIFY(centred(*first));
        QCOMPARE(QApplication::focusWidget(), backButton(first));

        // Escape does nothing; Enter on 戻る hides, and the window keeps its place.
        QTest::keyClick(backButton(first), Qt::Key_Escape);
        QVERIFY(first->isVisible());
        QTest::keyClick(backButton(first), Qt::Key_Return);
        QTRY_VERIFY(!first->isVisible());
        QVERIFY(info.loaded());
        first->move(30, 40);
        info.menuItem()->trigger();
        QCOMPARE(info.window(), first);
        QCOMPARE(first->pos(), QPoint(30, 40));

        // Space on 戻る hides it too; the menu item while visible only brings it up again.
        QVERIFY(QTest::qWaitForWindowActive(first));
        info.menuItem()->trigger();
        QCOMPARE(info.window(), first);
        QTest::keyClick(backButton(first), Qt::Key_Space);
        QVERIFY(!first->isVisible());

        // The close box destroys it; the next showing makes a fresh, centred one.
        info.menuItem()->trigger();
        QVERIFY(first->close());
        QVERIFY(!info.loaded());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        info.menuItem()->trigger();
        Form *second = info.window();
        QVERIFY(second->isVisible());
        QVERIFY(centred(*second));
        int instances = 0;
        for (Form *form : Form::liveForms())
            instances += form->metaObject() == second->metaObject();
        QCOMPARE(instances, 1);
    }

    void helpTextIsDisabledOnceFocusedUntilRecreated()
    {
        frmPicora3.Show();
        frmPicora3->mnuHelp->trigger();
        FrmHelp *help = &*frmHelp;
        QVERIFY(QTest::qWaitForWindowActive(help));
        QVERIFY(help->Text1->isEnabled());
        QTest::keyClick(help->Command1, Qt::Key_Tab);
        QVERIFY(!help->Text1->isEnabled());
        QTest::mouseClick(help->Command1, Qt::LeftButton);
        QVERIFY(!help->isVisible());
        frmPicora3->mnuHelp->trigger();
        QCOMPARE(&*frmHelp, help);
        QVERIFY(!help->Text1->isEnabled());

        help->close();
        frmPicora3->mnuHelp->trigger();
        QVERIFY(&*frmHelp != help);
        QVERIFY(frmHelp->Text1->isEnabled());
        QVERIFY(QTest::qWaitForWindowActive(&*frmHelp));
        QTest::mouseClick(frmHelp->Text1->viewport(), Qt::LeftButton);
        QVERIFY(!frmHelp->Text1->isEnabled());
    }
};

QTEST_MAIN(TestInfoWindows)
#include "tst_infowindows.moc"
