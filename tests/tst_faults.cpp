// SPDX-License-Identifier: MIT
// Hostile or broken face files: whatever the file is, the program says so clearly or asks its
// question, keeps running, and leaves the file as it was or correctly changed.
#include "forms/Module1.h"
#include "forms/frmDelete.h"
#include "forms/frmEnter.h"
#include "forms/frmPicora3.h"
#include "support/FaceFileFixture.h"
#include "support/Harness.h"
#include "support/ReadOnlyFolder.h"
#include "text/CodePage932.h"

#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTest>

#include <cstdio>

#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

QStringList titlesOf(const QList<MsgBoxCall> &boxes)
{
    QStringList titles;
    for (const MsgBoxCall &call : boxes)
        titles << call.title;
    return titles;
}

// Each box's title and the last line of its prompt, which holds the reason of a failure.
QStringList reasonsOf(const QList<MsgBoxCall> &boxes)
{
    QStringList said;
    for (const MsgBoxCall &call : boxes)
        said << call.title + u": "_s + call.prompt.section(u'\n', -1);
    return said;
}

// The boxes a registration of the face asked, OK given to every one.
QList<MsgBoxCall> boxesRegistering(const QString &face)
{
    frmPicora3.Load();
    frmEnter->txtFace->setText(face);
    ScriptedMsgBoxes boxes;
    boxes.willAnswer({vbOK, vbOK, vbOK});
    frmEnter->cmdEnterFace->click();
    return boxes.asked;
}

QStringList registerFace(const QString &face)
{
    return titlesOf(boxesRegistering(face));
}

// The boxes opening the deletion window and deleting face `number` asked.
QList<MsgBoxCall> boxesDeleting(const QString &number)
{
    frmPicora3.Load();
    ScriptedMsgBoxes boxes;
    boxes.willAnswer({vbOK, vbOK, vbOK});
    Module1::ShowDelete();
    frmDelete->txtNumber->setText(number);
    frmDelete->cmdDelete->click();
    return boxes.asked;
}

QStringList deleteFace(const QString &number)
{
    return titlesOf(boxesDeleting(number));
}

// What the user category shows, and the titles of the boxes it asked, No to a question.
std::pair<QStringList, QStringList> userCategory()
{
    frmPicora3.Load();
    ScriptedMsgBoxes boxes;
    boxes.willAnswer({vbNo});
    frmPicora3->cmdUser->click();
    QStringList entries;
    for (int i = 0; i < frmPicora3->cboFace->count(); ++i)
        entries << frmPicora3->cboFace->itemText(i);
    return {entries, titlesOf(boxes.asked)};
}

// Runs this test program again as a child with one scenario; returns what it printed.
QString inChild(const QStringList &scenario)
{
    QProcess child;
    // A child that gives up root cannot be examined by LeakSanitizer wherever /proc is strict.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"ASAN_OPTIONS"_s,
                       environment.value(u"ASAN_OPTIONS"_s) + u":detect_leaks=0"_s);
    child.setProcessEnvironment(environment);
    child.start(QCoreApplication::applicationFilePath(), QStringList{u"--child"_s} + scenario);
    if (!child.waitForFinished(30000) || child.exitStatus() != QProcess::NormalExit ||
        child.exitCode() != 0)
        return u"<child failed: %1>"_s.arg(QString::fromLocal8Bit(child.readAllStandardError()));
    return QString::fromUtf8(child.readAllStandardOutput()).trimmed();
}

const QByteArray kFaces("(^o^)\r\n(T_T)\r\n(-_-)\r\n");
const QString kRefusedToSave = u"保存できません"_s;
const QString kRefusedToDelete = u"削除できません"_s;
const QString kConfirm = u"「顔」登録の確認"_s;
const QString kNothingRegistered = u"登録された「顔」がありません"_s;
const QString kUnreadable = u"読み込めません"_s;
const QString kInvalid = u"無効です"_s;
constexpr uid_t kNobody = 65534;

} // namespace

class TestFaults : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { Runtime::prepare(*qApp); }
    void init() { freshDocuments(); }
    void cleanup() { destroyAllWindows(); }

    void faceFileIsAFolder()
    {
        QVERIFY(QDir().mkpath(faceFileName() + u"/inside"_s));
        QCOMPARE(userCategory(), std::make_pair(QStringList{}, QStringList{kUnreadable}));
        QCOMPARE(registerFace(u"(^^)"_s), (QStringList{kConfirm, kRefusedToSave}));
        QCOMPARE(deleteFace(u"1"_s), (QStringList{kUnreadable, kInvalid}));
        QVERIFY(QFileInfo(faceFileName()).isDir());
        QVERIFY(QFileInfo::exists(faceFileName() + u"/inside"_s));
    }

    void faceFileIsAFifo()
    {
        QCOMPARE(mkfifo(QFile::encodeName(faceFileName()).constData(), 0600), 0);
        // Opening a FIFO for reading would wait for a writer forever.
        QCOMPARE(userCategory(), std::make_pair(QStringList{}, QStringList{kUnreadable}));
        QCOMPARE(registerFace(u"(^^)"_s), (QStringList{kConfirm, kRefusedToSave}));
        QCOMPARE(deleteFace(u"1"_s), (QStringList{kUnreadable, kInvalid}));
        struct stat info {};
        QCOMPARE(stat(QFile::encodeName(faceFileName()).constData(), &info), 0);
        QVERIFY(S_ISFIFO(info.st_mode));
    }

    void faceFileIsADanglingLink()
    {
        const QString target = documentsFolder() + u"/gone/顔ファイル.dat"_s;
        QVERIFY(QFile::link(target, faceFileName()));
        // A link to nothing is no face file yet.
        QCOMPARE(userCategory(), std::make_pair(QStringList{}, QStringList{kNothingRegistered}));
        QCOMPARE(registerFace(u"(^^)"_s), (QStringList{kConfirm, kRefusedToSave}));
        QCOMPARE(deleteFace(u"1"_s), QStringList{kInvalid});
        QCOMPARE(QFileInfo(faceFileName()).symLinkTarget(), target);
        QVERIFY(!QFileInfo::exists(target));
    }

    void faceFileCannotBeRead()
    {
        QVERIFY(writeFaceFile(kFaces));
        QVERIFY(QFile::setPermissions(faceFileName(), {}));
        // Root reads whatever the mode says, so the reading happens as nobody.
        QCOMPARE(inChild({u"read-unreadable"_s}), u"entries 0 asked 読み込めません"_s);
        QVERIFY(QFile::setPermissions(faceFileName(), QFile::ReadOwner | QFile::WriteOwner));
        QCOMPARE(faceFileBytes(), kFaces);
    }

    void fiftyMegabyteLine()
    {
        const QByteArray huge(50 * 1024 * 1024, 'x');
        QVERIFY(writeFaceFile(huge + "\r\n(^^)\r\n"));
        const auto [entries, asked] = userCategory();
        QVERIFY(asked.isEmpty());
        QCOMPARE(entries.size(), 2);
        QCOMPARE(entries[0].size(), huge.size());
        QCOMPARE(entries[1], u"(^^)"_s);
        // Chosen, it reaches the clipboard whole.
        QTest::keyClick(frmPicora3->cboFace, Qt::Key_Down);
        QCOMPARE(clipboardText().size(), huge.size());
        QCOMPARE(deleteFace(u"2"_s), QStringList{u"削除終了"_s});
        QCOMPARE(faceFileBytes(), huge + "\r\n");
    }

    void longFacesReachTheClipboardWhole()
    {
        QString face;
        while (face.size() < 100000)
            face += u"(^o^)ノ"_s;
        QCOMPARE(registerFace(face), QStringList{kConfirm});
        QCOMPARE(faceFileBytes(), QByteArray::fromStdString(CodePage932::encode(toU16String(face))) + "\r\n");
        QComboBox *list = frmPicora3->cboFace;
        QCOMPARE(list->itemText(0), face);
        QTest::keyClick(list, Qt::Key_Down);
        QCOMPARE(clipboardText(), face);
        QCOMPARE(frmPicora3->lblFace->text(), face);

        // Pasted into the text field, it stays whole too.
        const QString pasted = face + u"!"_s;
        QGuiApplication::clipboard()->setText(pasted);
        list->lineEdit()->selectAll();
        QTest::keyClick(list->lineEdit(), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(list->currentText(), pasted);
        QCOMPARE(frmPicora3->lblFace->text(), pasted);
        QCOMPARE(clipboardText(), pasted);
    }

    void fileGrowingWhileRead()
    {
        QVERIFY(writeFaceFile(QByteArray()));
        QProcess writer;
        writer.start(QCoreApplication::applicationFilePath(), {u"--child"_s, u"append-forever"_s});
        QVERIFY(writer.waitForStarted());
        QTRY_VERIFY(QFileInfo(faceFileName()).size() > 1000);
        for (int read = 0; read < 20; ++read) {
            destroyAllWindows();
            const auto [entries, asked] = userCategory();
            QVERIFY(asked.isEmpty());
            // Whole faces in order; only the very last may have been caught mid-write.
            for (int i = 0; i + 1 < entries.size(); ++i)
                QCOMPARE(entries[i], u"face %1"_s.arg(i + 1));
            QVERIFY(u"face %1"_s.arg(entries.size()).startsWith(entries.last()));
        }
        writer.kill();
        writer.waitForFinished();
    }

    void readOnlyFolder()
    {
        QVERIFY(writeFaceFile(kFaces));
        ReadOnlyFolder readOnly(documentsFolder());
        if (!readOnly.active())
            QSKIP("this file system cannot make a folder read-only for root");
        // As root the file itself stays writable: appending works, the rewrite cannot.
        const bool root = geteuid() == 0;
        QCOMPARE(registerFace(u"(^^)"_s),
                 root ? QStringList{kConfirm} : (QStringList{kConfirm, kRefusedToSave}));
        const QByteArray afterRegistering = faceFileBytes();
        QCOMPARE(afterRegistering, root ? kFaces + "(^^)\r\n" : kFaces);
        QCOMPARE(deleteFace(u"1"_s), QStringList{kRefusedToDelete});
        QCOMPARE(faceFileBytes(), afterRegistering);
    }

    // A face file the user may not change is refused for deleting as for registering, and keeps
    // its bytes, its owner and its mode.
    void faceFileTheUserMayNotChange_data()
    {
        QTest::addColumn<uint>("owner");
        QTest::addColumn<uint>("mode");
        QTest::addColumn<QStringList>("said");
        QTest::addColumn<QByteArray>("after");
        const QString asked = kConfirm + u": (^^)を登録しますか？"_s;
        const QString refused = u"アクセスが許可されていません（EACCES）"_s;
        QTest::newRow("read-only, the user's own")
            << uint(kNobody) << 0444u
            << QStringList{asked, kRefusedToSave + u": "_s + refused,
                           kRefusedToDelete + u": "_s + refused}
            << kFaces;
        QTest::newRow("another user's") << 0u << 0644u
                                        << QStringList{asked, kRefusedToSave + u": "_s + refused,
                                                       kRefusedToDelete + u": "_s + refused}
                                        << kFaces;
        // Appending keeps the owner; a new file in its place could not.
        QTest::newRow("another user's, that anyone may write")
            << 0u << 0666u
            << QStringList{asked, kRefusedToDelete + u": アクセスが許可されていません（EPERM）"_s}
            << kFaces + "(^^)\r\n";
    }

    void faceFileTheUserMayNotChange()
    {
        QFETCH(uint, owner);
        QFETCH(uint, mode);
        QFETCH(QStringList, said);
        QFETCH(QByteArray, after);
        if (geteuid() != 0)
            QSKIP("only root can arrange another user's file");
        // The user's documents folder, which the user may write in.
        const QByteArray home = QFile::encodeName(QDir::homePath());
        const QByteArray documents = QFile::encodeName(documentsFolder());
        const QByteArray file = QFile::encodeName(faceFileName());
        QVERIFY(writeFaceFile(kFaces));
        QCOMPARE(::chmod(home.constData(), 0755), 0);
        QCOMPARE(::chown(documents.constData(), kNobody, kNobody), 0);
        QCOMPARE(::chown(file.constData(), owner, owner), 0);
        QCOMPARE(::chmod(file.constData(), mode), 0);

        QCOMPARE(inChild({u"register-and-delete-as-nobody"_s}), said.join(u" | "_s));
        QCOMPARE(faceFileBytes(), after);
        struct stat info {};
        QCOMPARE(::stat(file.constData(), &info), 0);
        QCOMPARE(uint(info.st_uid), owner);
        QCOMPARE(uint(info.st_mode & 07777), mode);
        QCOMPARE(QDir(documentsFolder()).entryList(QDir::Files), QStringList{u"顔ファイル.dat"_s});
    }

    // A disk that cannot take the change, either for want of space or because it can hold no
    // more files, each said as what it is. Nothing of the face file changes.
    void diskThatCannotTakeTheChange_data()
    {
        QTest::addColumn<QString>("scenario");
        QTest::addColumn<QString>("said");
        const QString asked = kConfirm + u": (x)を登録しますか？ | "_s;
        const QString noSpace = u"ディスクに空きがありません（ENOSPC）"_s;
        const QString noFiles = u"ディスクに作れるファイルの数が上限に達しています（ENOSPC）"_s;
        QTest::newRow("no space, registering")
            << "no-space register" << asked + kRefusedToSave + u": "_s + noSpace + u" | kept"_s;
        QTest::newRow("no space, deleting")
            << "no-space delete" << kRefusedToDelete + u": "_s + noSpace + u" | kept"_s;
        QTest::newRow("no more files, registering the first face")
            << "no-files register" << asked + kRefusedToSave + u": "_s + noFiles + u" | kept"_s;
        QTest::newRow("no more files, deleting")
            << "no-files delete" << kRefusedToDelete + u": "_s + noFiles + u" | kept"_s;
    }

    void diskThatCannotTakeTheChange()
    {
        QFETCH(QString, scenario);
        QFETCH(QString, said);
        const QString happened = inChild({u"on-a-small-disk"_s, scenario});
        if (happened == u"<no small disk>"_s)
            QSKIP("cannot mount a small file system here");
        QCOMPARE(happened, said);
    }

    void diskFullWhileRegistering()
    {
        QVERIFY(writeFaceFile(kFaces));
        QCOMPARE(inChild({u"register-past-limit"_s}), u"%1,%2"_s.arg(kConfirm, kRefusedToSave));
        QCOMPARE(faceFileBytes(), kFaces);
    }

    void diskFullWhileDeleting()
    {
        QByteArray big;
        for (int n = 0; n < 3; ++n)
            big += QByteArray(1000, char('a' + n)) + "\r\n";
        QVERIFY(writeFaceFile(big));
        QCOMPARE(inChild({u"delete-past-limit"_s}), kRefusedToDelete);
        QCOMPARE(faceFileBytes(), big);
        QCOMPARE(QDir(documentsFolder()).entryList(QDir::Files), QStringList{u"顔ファイル.dat"_s});
    }
};

namespace {

void limitFileSize(rlim_t bytes)
{
    const rlimit limit{bytes, bytes};
    setrlimit(RLIMIT_FSIZE, &limit);
}

// A small file system of its own in the documents folder, seen by this process only.
bool mountSmallDisk()
{
    const QByteArray documents = QFile::encodeName(documentsFolder());
    return ::unshare(CLONE_NEWNS) == 0 &&
           ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 &&
           ::mount("tmpfs", documents.constData(), "tmpfs", 0, "size=64k,nr_inodes=32") == 0;
}

// Fills the disk up to its space, or to its count of files.
void fillDisk(const QString &what)
{
    if (what == "no-space") {
        QFile filler(documentsFolder() + u"/filler"_s);
        if (filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            while (filler.write("x", 1) == 1) {
            }
        return;
    }
    for (int n = 0; QFile(documentsFolder() + u"/filler%1"_s.arg(n)).open(QIODevice::WriteOnly);
         ++n) {
    }
}

// Registers or deletes on a full small disk; says what the boxes said, and whether the face
// file and the folder stayed as they were.
QString onASmallDisk(const QString &what, bool registering)
{
    if (!mountSmallDisk())
        return u"<no small disk>"_s;
    // The faces end with the 4,096th byte, so that a change needs more space; a first
    // registration finds no file.
    if (!(what == "no-files" && registering) &&
        !writeFaceFile("y\r\n" + QByteArray(4091, 'x') + "\r\n"))
        return u"<not arranged>"_s;
    const QByteArray before = faceFileBytes();
    const QStringList filesBefore = QDir(documentsFolder()).entryList(QDir::Files);
    fillDisk(what);
    QStringList said = reasonsOf(registering ? boxesRegistering(u"(x)"_s) : boxesDeleting(u"1"_s));
    const QStringList filesAfter = QDir(documentsFolder()).entryList(QDir::Files);
    const bool onlyFillersAdded =
        filesAfter.size() - filesBefore.size() == filesAfter.filter(u"filler"_s).size();
    said << (faceFileBytes() == before && onlyFillersAdded ? u"kept"_s : u"changed"_s);
    return said.join(u" | "_s);
}

// The child's scenarios; each prints what the parent checks.
int child(const QStringList &arguments)
{
    const QString scenario = arguments.value(0);
    Runtime::prepare(*qApp);
    if (scenario == "append-forever") {
        QFile file(faceFileName());
        if (!file.open(QIODevice::Append | QIODevice::Unbuffered))
            return 1;
        // A steady writer, as another program saving faces line by line would be.
        for (int n = 1;; ++n) {
            file.write("face " + QByteArray::number(n) + "\r\n");
            usleep(100);
        }
    }
    if (scenario == "read-unreadable") {
        if (geteuid() == 0 && setresuid(65534, 65534, 65534) != 0)
            return 1;
        const auto [entries, asked] = userCategory();
        std::printf("entries %lld asked %s\n", qlonglong(entries.size()),
                    qPrintable(asked.join(u',')));
    } else if (scenario == "register-past-limit") {
        limitFileSize(QFileInfo(faceFileName()).size() + 4);
        std::printf("%s\n", qPrintable(registerFace(u"(^o^)/~~~~~"_s).join(u',')));
    } else if (scenario == "delete-past-limit") {
        limitFileSize(1500);
        std::printf("%s\n", qPrintable(deleteFace(u"1"_s).join(u',')));
    } else if (scenario == "register-and-delete-as-nobody") {
        if (setresgid(kNobody, kNobody, kNobody) != 0 || setresuid(kNobody, kNobody, kNobody) != 0)
            return 1;
        const QStringList said =
            reasonsOf(boxesRegistering(u"(^^)"_s)) + reasonsOf(boxesDeleting(u"1"_s));
        std::printf("%s\n", qPrintable(said.join(u" | "_s)));
    } else if (scenario == "on-a-small-disk") {
        const QStringList way = arguments.value(1).split(u' ');
        std::printf("%s\n", qPrintable(onASmallDisk(way.value(0), way.value(1) == "register")));
    }
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc >= 3 && QByteArray(argv[1]) == "--child") {
        // The child works in the parent's home: the parent's environment came along.
        QApplication app(argc, argv);
        return child(QCoreApplication::arguments().mid(2));
    }
    useTemporaryHome();
    QApplication app(argc, argv);
    TestFaults test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_faults.moc"
