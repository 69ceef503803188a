// SPDX-License-Identifier: MIT
// A deletion killed at any moment leaves the face file either as it was or as it was meant to
// become: never half written, never empty, never gone. The child says when each rewrite
// begins, so the test knows which deletion a kill cut short, and it can be told to stop at a
// given moment of a given rewrite, so that kills land in the middle of the work by construction.
#include "catalogue/FaceFile.h"
#include "catalogue/FileCalls.h"
#include "text/Lines.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <cstdlib>

#include <stdio.h>
#include <sys/resource.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

// Far more faces than the child deletes before its kill.
constexpr int kLines = 5000;

// Where the child stops for its kill, within the rewrite it is told.
enum class Hold {
    Nowhere,      // the test kills it the moment it says the rewrite began
    HalfWritten,  // the file size limit kills it halfway through writing the new file
    BeforeRename, // the new file is written and on the disk, the old one still in place
    AfterRename,  // the new file is in place, the folder not yet on the disk
};

// What the child says on its output.
constexpr char kRewriting = 'R';
constexpr char kHolding = 'H';

QByteArray faceFile()
{
    QByteArray bytes;
    for (int n = 1; n <= kLines; ++n)
        bytes += "(^o^) \x81\x5F " + QByteArray::number(n) + "\r\n";
    return bytes;
}

// Straight to the pipe, so that the test has every word before the child goes on.
void say(char word)
{
    while (::write(STDOUT_FILENO, &word, 1) < 0 && errno == EINTR) {
    }
}

// The child: deletes the first face again and again until none is left, saying when each
// rewrite begins, and stopping at `hold` in rewrite number `stopIn`.
int deleteForever(const QString &path, Hold hold, int stopIn)
{
    // A kill by the file size limit would otherwise leave a core dump behind.
    const rlimit noCore{0, 0};
    ::setrlimit(RLIMIT_CORE, &noCore);
    int rewrites = 0;
    bool renamed = false;
    qsizetype size = 0;
    // At its moment the child stops for the kill: it says so and holds still, or, to be killed
    // halfway through the new file, lowers its file size limit to half the file.
    const auto reach = [&](Hold moment) {
        if (moment != hold || rewrites != stopIn)
            return;
        if (hold == Hold::HalfWritten) {
            const rlimit half{rlim_t(size / 2), rlim_t(size / 2)};
            ::setrlimit(RLIMIT_FSIZE, &half);
            return;
        }
        say(kHolding);
        for (;;)
            ::pause();
    };
    setFaceFileObserver([&](FaceFileMoment moment) {
        if (moment != FaceFileMoment::AboutToReplace)
            return;
        ++rewrites;
        renamed = false;
        say(kRewriting);
        reach(Hold::HalfWritten);
    });
    setDiskCalls({[&](int fd) {
                      if (renamed)
                          reach(Hold::AfterRename);
                      return ::fsync(fd);
                  },
                  [&](int folder, const char *from, const char *to) {
                      reach(Hold::BeforeRename);
                      const int result = ::renameat(folder, from, folder, to);
                      renamed = result == 0;
                      return result;
                  }});
    for (;;) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return 2;
        const QByteArray content = file.readAll();
        file.close();
        size = content.size();
        const QList<QByteArrayView> lines = splitLines(content);
        if (lines.isEmpty())
            return 0;
        if (removeListedFace(path, 0, readFaceContent(content, 1)))
            return 3;
    }
}

} // namespace

class TestDeleteKill : public QObject {
    Q_OBJECT

private slots:
    void killedDeletionsNeverDamageTheFile_data()
    {
        QTest::addColumn<Hold>("hold");
        QTest::addColumn<QList<int>>("killedIn"); // the rewrite each kill lands in
        QList<int> oneToTen;
        for (int kill = 0; kill < 40; ++kill)
            oneToTen << 1 + kill % 10;
        const QList<int> some{1, 2, 3, 5, 8};
        QTest::newRow("soon after a rewrite begins") << Hold::Nowhere << oneToTen;
        QTest::newRow("halfway through the new file") << Hold::HalfWritten << some;
        QTest::newRow("new file written, before the rename") << Hold::BeforeRename << some;
        QTest::newRow("just after the rename") << Hold::AfterRename << some;
    }

    void killedDeletionsNeverDamageTheFile()
    {
        QFETCH(Hold, hold);
        QFETCH(QList<int>, killedIn);
        QTemporaryDir folder;
        const QString path = folder.filePath(u"顔ファイル.dat"_s);
        const QByteArray original = faceFile();
        int cutShort = 0;
        for (int rewrite : killedIn) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            QCOMPARE(file.write(original), original.size());
            file.close();

            QProcess child;
            child.start(QCoreApplication::applicationFilePath(),
                        {u"--delete-forever"_s, path, QString::number(int(hold)),
                         QString::number(rewrite)});
            QVERIFY(child.waitForStarted());
            QByteArray said;
            const auto timeToKill = [&] {
                return hold == Hold::Nowhere ? said.count(kRewriting) >= rewrite
                                             : said.contains(kHolding);
            };
            while (!timeToKill() && child.waitForReadyRead())
                said += child.readAllStandardOutput();
            child.kill();
            QVERIFY(child.state() == QProcess::NotRunning || child.waitForFinished());
            said += child.readAllStandardOutput();
            const QString where = u"kill in rewrite %1"_s.arg(rewrite);
            QVERIFY2(child.exitStatus() == QProcess::CrashExit,
                     qPrintable(where + u": the child ended on its own"_s));

            QVERIFY(file.open(QIODevice::ReadOnly));
            const QByteArray now = file.readAll();
            file.close();
            // Some number of whole first lines gone, the rest exactly as they were.
            QVERIFY2(!now.isEmpty(), qPrintable(where + u" left an empty file"_s));
            QVERIFY2(original.endsWith(now), qPrintable(where));
            const QByteArrayView gone =
                QByteArrayView(original).first(original.size() - now.size());
            QVERIFY(gone.isEmpty() || gone.endsWith('\n'));
            // Every rewrite begun before the last is done; the last one is done or not at all.
            const qsizetype begun = said.count(kRewriting);
            const qsizetype done = gone.count('\n');
            if (hold == Hold::Nowhere) {
                QVERIFY2(done == begun || done == begun - 1, qPrintable(where));
            } else {
                QCOMPARE(begun, rewrite);
                QCOMPARE(done, hold == Hold::AfterRename ? begun : begun - 1);
            }
            if (done < begun)
                ++cutShort;
            // Temporary files a kill left behind hold nobody's only copy of anything.
            for (const QString &left : QDir(folder.path()).entryList({u"*.dat.*"_s}, QDir::Files))
                QFile::remove(folder.filePath(left));
        }
        qInfo("%d of %d kills cut a rewrite short", cutShort, int(killedIn.size()));
    }
};

int main(int argc, char **argv)
{
    if (argc == 5 && QByteArray(argv[1]) == "--delete-forever")
        return deleteForever(QFile::decodeName(argv[2]), Hold(atoi(argv[3])), atoi(argv[4]));
    QCoreApplication app(argc, argv);
    TestDeleteKill test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_deletekill.moc"
