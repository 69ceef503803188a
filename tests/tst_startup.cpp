// SPDX-License-Identifier: MIT
#include "forms/Credits.h"
#include "forms/frmCopy.h"
#include "forms/frmCopyright.h"
#include "forms/frmHelp.h"
#include "forms/frmPicora3.h"
#include "platform/Controls.h"
#include "support/Harness.h"

#include <QLabel>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// Counts how often a window is shown.
class ShowCounter : public QObject {
public:
    explicit ShowCounter(QWidget *watched) { watched->installEventFilter(this); }
    int shows = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Show)
            ++shows;
        return false;
    }
};

} // namespace

class TestStartup : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { Runtime::prepare(*qApp); }
    void cleanup() { destroyAllWindows(); }

    void splashLooksAsDesigned()
    {
        FrmCopy &splash = *frmCopy;
        QCOMPARE(splash.windowTitle(), u"ポルカン"_s);
        QVERIFY(splash.windowFlags() & Qt::FramelessWindowHint);
        QCOMPARE(splash.size(), QSize(299, 162));
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        QVERIFY((splash.frameGeometry().center() - screen.center()).manhattanLength() <= 4);

        QCOMPARE(splash.Label1[0]->text(), u"ポルカン"_s);
        QCOMPARE(splash.Label1[0]->geometry(), QRect(48, 8, 201, 33));
        QCOMPARE(splash.Label1[0]->font().pointSizeF(), 20.25);
        // The splash writes the product name with a full-width space.
        QCOMPARE(splash.Label1[1]->text(), u"ピコラ\u3000３"_s);
        QCOMPARE(splash.Label1[1]->pos(), QPoint(40, 40));
        QCOMPARE(splash.Label1[1]->size(), splash.Label1[1]->sizeHint());
        QCOMPARE(splash.Label3->text(), u"Version 1.01"_s);
        QCOMPARE(splash.Label3->pos(), QPoint(112, 72));
        QCOMPARE(splash.Label2->text(), QString::fromUtf16(Credits::kCopyright));
        QCOMPARE(splash.Label2->geometry(), QRect(64, 88, 169, 17));
        QCOMPARE(splash.Label4->text(), QString::fromUtf16(Credits::kNotice));
        QCOMPARE(splash.Label4->geometry(), QRect(16, 112, 273, 41));
        QCOMPARE(splash.Label4->font().pointSizeF(), 9.75);
        QVERIFY(splash.Label4->wordWrap());
        // The notice fits inside the frame.
        QVERIFY(splash.Label4->heightForWidth(273) <= 41);
        QVERIFY(splash.Label2->sizeHint().width() <= 169);

        const QList<std::tuple<Line *, QPoint, QPoint, int>> lines{
            {splash.Line2, {8, 8}, {288, 8}, 2},     {splash.Line3, {8, 152}, {288, 152}, 2},
            {splash.Line4, {288, 8}, {288, 152}, 2}, {splash.Line5, {8, 8}, {8, 152}, 2},
            {splash.Line1, {8, 104}, {288, 104}, 1},
        };
        for (const auto &[line, from, to, width] : lines) {
            QCOMPARE(line->from(), from);
            QCOMPARE(line->to(), to);
            QCOMPARE(line->penWidth(), width);
        }
        QCOMPARE(splash.Timer1.interval(), 2000);
        QVERIFY(splash.Timer1.isActive());
    }

    void loadingTheSplashCreatesTheMainWindowHidden()
    {
        QVERIFY(!frmPicora3.isLoaded());
        frmCopy.Show();
        QVERIFY(frmPicora3.isLoaded());
        QVERIFY(!frmPicora3->isVisible());
        QCOMPARE(frmPicora3->pos(), QPoint(0, 0));
        QVERIFY(frmCopy->isVisible());
    }

    void theTickShowsTheMainWindowOnceAndEndsTheSplash()
    {
        frmCopy.Show();
        // The tick comes at the first turn of the event loop instead of two seconds on.
        frmCopy->Timer1.setInterval(0);
        ShowCounter mainShows(&*frmPicora3);
        QSignalSpy splashGone(&*frmCopy, &QObject::destroyed);
        QTRY_VERIFY(frmPicora3->isVisible());
        QVERIFY(!frmCopy.isLoaded());
        QTRY_COMPARE(splashGone.count(), 1);
        QCOMPARE(mainShows.shows, 1);
        QCOMPARE(frmPicora3->pos(), QPoint(0, 0));
        const QList<Form *> remaining{&*frmPicora3, &*frmCopyright, &*frmHelp};
        QCOMPARE(Form::liveForms(), remaining);
        QVERIFY(!frmCopyright->isVisible() && !frmHelp->isVisible());
    }

    void closingTheSplashEarlyBringsUpTheMainWindow()
    {
        frmCopy.Show();
        frmCopy->close();
        QVERIFY(!frmCopy.isLoaded());
        QVERIFY(frmPicora3->isVisible());
    }
};

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
