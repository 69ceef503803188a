// SPDX-License-Identifier: MIT
#include "platform/Clipboard.h"
#include "platform/FaceFilePath.h"
#include "platform/Form.h"
#include "platform/FormRef.h"
#include "platform/MsgBox.h"
#include "platform/Runtime.h"
#include "support/Harness.h"

#include <QImage>
#include <QMessageBox>
#include <QMimeData>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cstdio>

#include <pwd.h>
#include <unistd.h>

using namespace Qt::StringLiterals;
using namespace MsgBoxStyle;

namespace {

// A window that keeps a journal of its handlers and can refuse to close.
class Probe : public Form {
public:
    Probe() : Form("probe", Frame::FixedDialog, StartPosition::CentreScreen)
    {
        setClientSize(QSize(200, 100));
        ++created;
    }
    ~Probe() override { ++destroyed; }

    static inline int created = 0;
    static inline int destroyed = 0;
    static inline QStringList journal;
    static inline bool refuseToClose = false;

    int loads = 0;

protected:
    void Form_Load() override
    {
        ++loads;
        journal << QStringLiteral("load (visible %1)").arg(isVisible());
    }
    void Form_Unload(bool &cancel) override
    {
        journal << QStringLiteral("unload");
        cancel = refuseToClose;
    }
};

FormRef<Probe> probe;

// Stands in the key column for the frame's close box.
constexpr int kCloseBox = 0;

QStringList buttonTexts(QMessageBox &box)
{
    QStringList texts;
    for (QAbstractButton *button : box.buttons())
        texts << button->text();
    texts.sort();
    return texts;
}

} // namespace

class TestRuntime : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { Runtime::prepare(*qApp); }

    void init()
    {
        Probe::created = Probe::destroyed = 0;
        Probe::journal.clear();
        Probe::refuseToClose = false;
    }

    void cleanup() { destroyAllWindows(); }

    void touchingTheReferenceCreatesOneHiddenWindow()
    {
        QVERIFY(!probe.isLoaded());
        Probe *first = &*probe;
        QCOMPARE(Probe::created, 1);
        QCOMPARE(Probe::journal, QStringList{"load (visible 0)"});
        QVERIFY(!first->isVisible());
        QCOMPARE(&*probe, first);
        probe.Load();
        QCOMPARE(Probe::created, 1);
        QCOMPARE(first->loads, 1);
    }

    void showBringsUpTheSameWindowCentred()
    {
        probe.Show();
        QVERIFY(QTest::qWaitForWindowExposed(&*probe));
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        // The window manager's frame may shift the client area by its own width.
        QVERIFY((probe->geometry().center() - screen.center()).manhattanLength() <= 4);
        Probe *shown = &*probe;
        probe->move(10, 20);
        probe.Hide();
        QVERIFY(!probe->isVisible());
        probe.Show();
        QCOMPARE(&*probe, shown);
        QCOMPARE(probe->pos(), QPoint(10, 20));
        QCOMPARE(Probe::created, 1);
    }

    void unloadAsksTheHandlerAndMayBeCancelled()
    {
        probe.Show();
        Probe *first = &*probe;
        Probe::refuseToClose = true;
        probe.Unload();
        QVERIFY(probe.isLoaded());
        QVERIFY(first->isVisible());
        QCOMPARE(Probe::journal.last(), "unload");

        Probe::refuseToClose = false;
        probe.Unload();
        QVERIFY(!probe.isLoaded());
        QVERIFY(!first->isVisible());
        QCOMPARE(Probe::journal, (QStringList{"load (visible 0)", "unload", "unload"}));

        // The next touch makes a fresh window, even before the old one is gone.
        Probe *second = &*probe;
        QVERIFY(second != first);
        QCOMPARE(Probe::created, 2);
        QCOMPARE(second->loads, 1);
        QCOMPARE(Form::liveForms().count(first) + Form::liveForms().count(second), 2);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(Probe::destroyed, 1);
    }

    void closeBoxIsAnUnload()
    {
        probe.Show();
        Probe::refuseToClose = true;
        QVERIFY(!probe->close());
        QVERIFY(probe.isLoaded());
        Probe::refuseToClose = false;
        QVERIFY(probe->close());
        QVERIFY(!probe.isLoaded());
    }

    void unloadingAHiddenWindowStillAsksItsHandler()
    {
        probe.Load();
        probe.Unload();
        QCOMPARE(Probe::journal, (QStringList{"load (visible 0)", "unload"}));
        QVERIFY(!probe.isLoaded());
    }

    void endTakesEveryWindowWithoutAsking()
    {
        EndRecorder end;
        probe.Show();
        Probe::refuseToClose = true;
        Runtime::End();
        QCOMPARE(end.ends, 1);
        QVERIFY(!probe.isLoaded());
        QCOMPARE(Probe::journal, QStringList{"load (visible 0)"});
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(Probe::destroyed, 1);
        QVERIFY(Form::liveForms().isEmpty());
    }

    void messageBoxStyles_data()
    {
        QTest::addColumn<int>("style");
        QTest::addColumn<QStringList>("buttons");
        QTest::addColumn<int>("icon");
        QTest::addColumn<QString>("defaultButton");
        QTest::addColumn<QString>("escapeButton");
        QTest::newRow("16 OK, stop")
            << vbOKOnly + vbCritical << QStringList{"OK"} << int(QMessageBox::Critical) << "OK"
            << "OK";
        QTest::newRow("33 OK Cancel, question")
            << vbOKCancel + vbQuestion << QStringList{"OK", "キャンセル"}
            << int(QMessageBox::Question) << "OK"
            << "キャンセル";
        QTest::newRow("36 Yes No, question")
            << vbYesNo + vbQuestion << QStringList{"いいえ(&N)", "はい(&Y)"}
            << int(QMessageBox::Question) << "はい(&Y)"
            << "いいえ(&N)";
        QTest::newRow("289 OK Cancel, question, Cancel preselected")
            << vbOKCancel + vbQuestion + vbDefaultButton2 << QStringList{"OK", "キャンセル"}
            << int(QMessageBox::Question) << "キャンセル"
            << "キャンセル";
    }

    void messageBoxStyles()
    {
        QFETCH(int, style);
        QFETCH(QStringList, buttons);
        QFETCH(int, icon);
        QFETCH(QString, defaultButton);
        QFETCH(QString, escapeButton);
        QWidget window;
        QMessageBox *box = buildMessageBox({"prompt", style, "title"}, &window);
        QCOMPARE(box->parentWidget(), &window);
        QCOMPARE(box->text(), "prompt");
        QCOMPARE(box->windowTitle(), "title");
        QCOMPARE(buttonTexts(*box), buttons);
        QCOMPARE(int(box->icon()), icon);
        QCOMPARE(box->defaultButton()->text(), defaultButton);
        QCOMPARE(box->escapeButton()->text(), escapeButton);
        QCOMPARE(box->windowModality(), Qt::ApplicationModal);
    }

    void messageBoxReturnsTheButtonPressed_data()
    {
        QTest::addColumn<int>("style");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("result");
        QTest::newRow("289 Enter takes Cancel")
            << vbOKCancel + vbQuestion + vbDefaultButton2 << int(Qt::Key_Return) << 2;
        QTest::newRow("33 Enter takes OK") << vbOKCancel + vbQuestion << int(Qt::Key_Return) << 1;
        QTest::newRow("36 Enter takes Yes") << vbYesNo + vbQuestion << int(Qt::Key_Return) << 6;
        QTest::newRow("36 Escape takes No") << vbYesNo + vbQuestion << int(Qt::Key_Escape) << 7;
        QTest::newRow("33 Escape takes Cancel")
            << vbOKCancel + vbQuestion << int(Qt::Key_Escape) << 2;
        QTest::newRow("16 Enter takes OK") << vbOKOnly + vbCritical << int(Qt::Key_Return) << 1;
        QTest::newRow("289 close box takes Cancel")
            << vbOKCancel + vbQuestion + vbDefaultButton2 << kCloseBox << 2;
        QTest::newRow("36 close box takes No") << vbYesNo + vbQuestion << kCloseBox << 7;
        QTest::newRow("16 close box takes OK") << vbOKOnly + vbCritical << kCloseBox << 1;
    }

    void messageBoxReturnsTheButtonPressed()
    {
        QFETCH(int, style);
        QFETCH(int, key);
        QFETCH(int, result);
        // The key goes to the box while MsgBox waits for it; the result tells what it pressed.
        QTimer::singleShot(0, [key] {
            if (QWidget *box = QApplication::activeModalWidget()) {
                if (key == kCloseBox)
                    box->close();
                else
                    QTest::keyClick(box, Qt::Key(key));
            }
        });
        QCOMPARE(MsgBox("prompt", style, "title"), result);
    }

    // The window a box stands over owns it: should the window go while the box waits, the box
    // goes with it, answered as by Escape.
    void messageBoxGoesWithItsWindow()
    {
        auto *window = new QWidget;
        window->show();
        QVERIFY(QTest::qWaitForWindowActive(window));
        QPointer<QWidget> box;
        bool overTheWindow = false;
        QTimer::singleShot(0, [&box, &overTheWindow, window] {
            box = QApplication::activeModalWidget();
            overTheWindow = box && box->parentWidget() == window;
            delete window;
        });
        QCOMPARE(MsgBox("prompt", vbYesNo + vbQuestion, "title"), int(vbNo));
        QVERIFY(overTheWindow);
        QVERIFY(box.isNull());
    }

    void messageBoxAnswererStandsInForAPerson()
    {
        ScriptedMsgBoxes boxes;
        boxes.willAnswer({vbNo});
        QCOMPARE(MsgBox("p", vbYesNo + vbQuestion, "t"), int(vbNo));
        QCOMPARE(boxes.asked.size(), 1);
        QCOMPARE(boxes.asked[0].prompt, "p");
        QCOMPARE(boxes.asked[0].style, vbYesNo + vbQuestion);
        QCOMPARE(boxes.asked[0].title, "t");
    }

    void everyWindowWearsTheSmilingFace()
    {
        QCOMPARE(QApplication::windowIcon().availableSizes(),
                 (QList<QSize>{QSize(16, 16), QSize(32, 32)}));
        const QImage small = QApplication::windowIcon().pixmap(16, 16).toImage();
        QCOMPARE(small.pixelColor(8, 3), QColor(Qt::yellow));
        QCOMPARE(small.pixelColor(0, 0).alpha(), 0);
        QCOMPARE(probe->windowIcon().cacheKey(), QApplication::windowIcon().cacheKey());
    }

    void clipboardHoldsExactlyTheTextSet()
    {
        Clipboard::SetText(u" ＼(^^＼)"_s);
        QCOMPARE(clipboardText(), u" ＼(^^＼)"_s);
        Clipboard::SetText(QString());
        QCOMPARE(clipboardText(), QString());
    }

    // Emptying withdraws this program's face; what another program copied since is the user's.
    // Here the in-process clipboard stands for the desktop's: setting it directly is another
    // program copying.
    void clearingWithdrawsOnlyOurFace_data()
    {
        QTest::addColumn<QString>("ours");
        QTest::addColumn<QString>("copiedElsewhere");
        QTest::addColumn<bool>("picture");
        QTest::addColumn<QString>("left");
        QTest::newRow("our face") << u"(^o^)"_s << QString() << false << QString();
        QTest::newRow("another program's text since")
            << u"(^o^)"_s << u"https://example.org/"_s << false << u"https://example.org/"_s;
        QTest::newRow("another program's text, equal to our face")
            << u"(^o^)"_s << u"(^o^)"_s << false << u"(^o^)"_s;
        QTest::newRow("our empty face, then another's text")
            << QString() << u"(^o^)"_s << false << u"(^o^)"_s;
        QTest::newRow("our empty face, then another's picture")
            << QString() << QString() << true << QString();
    }

    void clearingWithdrawsOnlyOurFace()
    {
        QFETCH(QString, ours);
        QFETCH(QString, copiedElsewhere);
        QFETCH(bool, picture);
        QFETCH(QString, left);
        Clipboard::SetText(ours);
        if (!copiedElsewhere.isEmpty())
            QGuiApplication::clipboard()->setText(copiedElsewhere);
        if (picture)
            QGuiApplication::clipboard()->setImage(QImage(4, 4, QImage::Format_RGB32));
        Clipboard::Clear();
        QCOMPARE(clipboardText(), left);
        const QMimeData *held = QGuiApplication::clipboard()->mimeData();
        QCOMPARE(held && held->hasImage(), picture);
    }

    // The documents folder comes from HOME and user-dirs.dirs, and never from the folder the
    // program was started in. "<account>" is the account's home in the password database.
    void faceFileFollowsTheDocumentsFolder_data()
    {
        QTest::addColumn<QString>("home");
        QTest::addColumn<QString>("documentsDir");
        QTest::addColumn<QString>("expected");
        QTest::newRow("HOME unset")
            << QString() << QString() << u"<account>/Documents/顔ファイル.dat"_s;
        QTest::newRow("no user-dirs.dirs")
            << u"/h"_s << QString() << u"/h/Documents/顔ファイル.dat"_s;
        QTest::newRow("under $HOME") << u"/h"_s << u"$HOME/書類"_s << u"/h/書類/顔ファイル.dat"_s;
        QTest::newRow("absolute") << u"/h"_s << u"/data/docs"_s << u"/data/docs/顔ファイル.dat"_s;
        QTest::newRow("relative") << u"/h"_s << u"Documents"_s << u"/h/Documents/顔ファイル.dat"_s;
        QTest::newRow("relative to the current folder")
            << u"/h"_s << u"./docs"_s << u"/h/Documents/顔ファイル.dat"_s;
    }

    void faceFileFollowsTheDocumentsFolder()
    {
        QFETCH(QString, home);
        QFETCH(QString, documentsDir);
        QFETCH(QString, expected);
        QTemporaryDir config;
        QVERIFY(config.isValid());
        if (!documentsDir.isEmpty()) {
            QFile dirs(config.filePath(u"user-dirs.dirs"_s));
            QVERIFY(dirs.open(QIODevice::WriteOnly));
            dirs.write("XDG_DOCUMENTS_DIR=\"" + documentsDir.toUtf8() + "\"\n");
        }
        QProcess child;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(u"HOME"_s);
        if (!home.isEmpty())
            environment.insert(u"HOME"_s, home);
        environment.insert(u"XDG_CONFIG_HOME"_s, config.path());
        child.setProcessEnvironment(environment);
        child.setWorkingDirectory(config.path());
        child.start(QCoreApplication::applicationFilePath(), {u"--face-file-path"_s});
        QVERIFY(child.waitForFinished());
        const passwd *account = getpwuid(getuid());
        QVERIFY(account);
        expected.replace(u"<account>"_s, QFile::decodeName(account->pw_dir));
        QCOMPARE(QString::fromUtf8(child.readAllStandardOutput()).trimmed(), expected);
    }

    void waylandSessionsPreferXWayland_data()
    {
        QTest::addColumn<QByteArray>("qpaPlatform");
        QTest::addColumn<QByteArray>("waylandDisplay");
        QTest::addColumn<QByteArray>("display");
        QTest::addColumn<QByteArray>("preferred");
        const QByteArray unset, wayland = "wayland-0", x = ":0";
        QTest::newRow("Wayland with XWayland") << unset << wayland << x << "xcb;wayland"_ba;
        QTest::newRow("Wayland alone") << unset << wayland << unset << unset;
        QTest::newRow("X alone") << unset << unset << x << unset;
        QTest::newRow("no display") << unset << unset << unset << unset;
        QTest::newRow("native Wayland chosen") << "wayland"_ba << wayland << x << unset;
        QTest::newRow("X chosen") << "xcb"_ba << wayland << x << unset;
        QTest::newRow("offscreen chosen") << "offscreen"_ba << wayland << x << unset;
    }

    void waylandSessionsPreferXWayland()
    {
        QFETCH(QByteArray, qpaPlatform);
        QFETCH(QByteArray, waylandDisplay);
        QFETCH(QByteArray, display);
        QFETCH(QByteArray, preferred);
        QCOMPARE(Runtime::preferredPlatform(qpaPlatform, waylandDisplay, display), preferred);
    }
};

int main(int argc, char **argv)
{
    // The child of faceFileFollowsTheDocumentsFolder: says where the face file is, and ends.
    if (argc == 2 && QByteArray(argv[1]) == "--face-file-path") {
        QCoreApplication app(argc, argv);
        std::printf("%s\n", faceFilePath().c_str());
        return 0;
    }
    QApplication app(argc, argv);
    TestRuntime test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_runtime.moc"
