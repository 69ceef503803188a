// SPDX-License-Identifier: MIT
// How the face file scales: listing 1 000, 100 000 and 1 000 000 lines in the main window,
// beside the floor of reading and decoding the same file without widgets; and the deletion
// window's load and rewrite of 501 lines. Each case runs in a process of its own, so that its
// peak memory is its own.
#include "catalogue/BuiltinFaces.h"
#include "catalogue/FaceFile.h"
#include "catalogue/FaceRemoval.h"
#include "forms/Module1.h"
#include "forms/frmDelete.h"
#include "forms/frmPicora3.h"
#include "platform/FaceFilePath.h"
#include "platform/MsgBox.h"
#include "platform/QtText.h"
#include "platform/Runtime.h"
#include "text/CodePage932.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace {

long statusKb(const char *field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(qstrlen(field)).trimmed().split(' ').first().toLong();
    return -1;
}

void writeFaceFile(int lines)
{
    std::filesystem::create_directories(faceFilePath().parent_path());
    QFile file(fromPath(faceFilePath()));
    file.open(QIODevice::WriteOnly | QIODevice::Truncate);
    std::vector<std::string> faces;
    for (const Catalogue::Category *category : Catalogue::kCategories)
        for (std::u16string_view face : category->faces)
            faces.push_back(CodePage932::encode(face));
    std::string chunk;
    for (int n = 0; n < lines; ++n) {
        chunk += faces[std::size_t(n) % faces.size()] + "\r\n";
        if (chunk.size() > (1 << 20)) {
            file.write(chunk.data(), qint64(chunk.size()));
            chunk.clear();
        }
    }
    file.write(chunk.data(), qint64(chunk.size()));
}

// One case, in this process: prints "milliseconds kilobytes-above-idle".
int runCase(const QString &name)
{
    setMsgBoxAnswerer([](const MsgBoxCall &) { return int(vbNo); });
    Runtime::prepare(*qApp);
    frmPicora3.Show();
    QCoreApplication::processEvents();
    const long idleKb = statusKb("VmRSS:");
    QElapsedTimer timer;
    std::size_t count = 0;
    timer.start();
    if (name == "floor") {
        count = readFaceFile(faceFilePath()).faces().size();
    } else if (name == "list") {
        frmPicora3->cboFace->clear();
        Module1::AddUserFaces();
        QCoreApplication::processEvents();
        count = std::size_t(frmPicora3->cboFace->count());
    } else if (name == "delete-load") {
        frmDelete.Load();
        count = frmDelete->listing.faces().size();
    } else if (name == "delete-rewrite") {
        frmDelete.Load();
        timer.restart();
        removeListedFace(faceFilePath(), 249, frmDelete->listing);
        count = frmDelete->listing.faces().size();
    }
    const double ms = double(timer.nsecsElapsed()) / 1e6;
    std::printf("%.1f %ld %lld\n", ms, statusKb("VmHWM:") - idleKb, qlonglong(count));
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc == 3) {
        QApplication app(argc, argv);
        return runCase(QString::fromLocal8Bit(argv[2]));
    }
    QTemporaryDir home;
    qputenv("HOME", home.path().toUtf8());
    qunsetenv("XDG_CONFIG_HOME");
    if (qgetenv("QT_QPA_PLATFORM").isEmpty())
        qputenv("QT_QPA_PLATFORM", "offscreen");

    std::printf("%-16s %10s %10s %14s %8s\n", "case", "lines", "ms", "peak MB above", "listed");
    const auto run = [&](const char *name, int lines) {
        writeFaceFile(lines);
        QProcess child;
        child.start(QString::fromLocal8Bit(argv[0]),
                    {QStringLiteral("--case"), QString::fromLatin1(name)});
        child.waitForFinished(-1);
        const QList<QByteArray> fields = child.readAllStandardOutput().trimmed().split(' ');
        if (fields.size() != 3) {
            std::printf("%-16s %10d   failed: %s\n", name, lines,
                        child.readAllStandardError().constData());
            return;
        }
        std::printf("%-16s %10d %10s %14.1f %8s\n", name, lines, fields[0].constData(),
                    fields[1].toDouble() / 1024.0, fields[2].constData());
    };
    for (int lines : {1000, 100000, 1000000}) {
        run("floor", lines);
        run("list", lines);
    }
    run("delete-load", int(kMostListedFaces));
    run("delete-rewrite", int(kMostListedFaces));
    return 0;
}
