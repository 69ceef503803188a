// SPDX-License-Identifier: MIT
// A deletion killed at any moment leaves the face file either as it was or as it was meant to
// become: never half written, never empty, never gone.
#include "catalogue/FaceFile.h"
#include "text/Lines.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

using namespace Qt::StringLiterals;

namespace {

// Far more faces than the child can delete in the longest wait before a kill.
constexpr int kLines = 5000;
constexpr int kKills = 40;

QByteArray faceFile()
{
    QByteArray bytes;
    for (int n = 1; n <= kLines; ++n)
        bytes += "(^o^) \x81\x5F " + QByteArray::number(n) + "\r\n";
    return bytes;
}

// The child: deletes the first face again and again until none is left.
int deleteForever(const QString &path)
{
    for (;;) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return 2;
        const QByteArray content = file.readAll();
        file.close();
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
    void killedDeletionsNeverDamageTheFile()
    {
        QTemporaryDir folder;
        const QString path = folder.filePath(u"顔ファイル.dat"_s);
        const QByteArray original = faceFile();
        int cutShort = 0;
        for (int kill = 0; kill < kKills; ++kill) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            QCOMPARE(file.write(original), original.size());
            file.close();

            QProcess child;
            child.start(QCoreApplication::applicationFilePath(), {u"--delete-forever"_s, path});
            QVERIFY(child.waitForStarted());
            QThread::msleep(QRandomGenerator::global()->bounded(5, 80));
            child.kill();
            QVERIFY(child.waitForFinished());

            QVERIFY(file.open(QIODevice::ReadOnly));
            const QByteArray now = file.readAll();
            file.close();
            // Some number of whole first lines gone, the rest exactly as they were.
            QVERIFY2(!now.isEmpty(), qPrintable(u"kill %1 left an empty file"_s.arg(kill)));
            QVERIFY2(original.endsWith(now), qPrintable(u"kill %1"_s.arg(kill)));
            const qsizetype gone = original.size() - now.size();
            QVERIFY(gone == 0 || original[gone - 1] == '\n');
            if (gone > 0 && !now.isEmpty())
                ++cutShort;
            // Temporary files a kill left behind hold nobody's only copy of anything.
            for (const QString &left : QDir(folder.path()).entryList({u"*.dat.*"_s}, QDir::Files))
                QFile::remove(folder.filePath(left));
        }
        // The kills did land in the middle of the work.
        QVERIFY(cutShort > kKills / 4);
    }
};

int main(int argc, char **argv)
{
    if (argc == 3 && QByteArray(argv[1]) == "--delete-forever")
        return deleteForever(QFile::decodeName(argv[2]));
    QCoreApplication app(argc, argv);
    TestDeleteKill test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_deletekill.moc"
