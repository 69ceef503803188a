// SPDX-License-Identifier: MIT
#include "catalogue/FaceRemoval.h"
#include "support/Files.h"
#include "text/Conversions.h"

#include <QTest>

#include <cmath>

using namespace Qt::StringLiterals;

class TestFaceRemoval : public QObject {
    Q_OBJECT

private slots:
    void valueOfAText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("value");
        QTest::newRow("2") << "2" << 2.0;
        QTest::newRow("blank first") << " 2" << 2.0;
        QTest::newRow("letter after") << "2x" << 2.0;
        QTest::newRow("leading zero") << "02" << 2.0;
        QTest::newRow("fraction of nothing") << "2.0" << 2.0;
        QTest::newRow("blank between digits") << "1 2" << 12.0;
        QTest::newRow("tab and line feed") << "\t3\n" << 3.0;
        QTest::newRow("blanks around the point") << "2 . 5" << 2.5;
        QTest::newRow("zero") << "0" << 0.0;
        QTest::newRow("negative") << "-1" << -1.0;
        QTest::newRow("plus") << "+4" << 4.0;
        QTest::newRow("fraction") << "2.5" << 2.5;
        QTest::newRow("no leading digit") << ".5" << 0.5;
        QTest::newRow("exponent") << "1e1" << 10.0;
        QTest::newRow("exponent without digits") << "1e" << 1.0;
        QTest::newRow("letter") << "x" << 0.0;
        QTest::newRow("blank only") << " " << 0.0;
        QTest::newRow("empty") << "" << 0.0;
        QTest::newRow("sign only") << "-" << 0.0;
        QTest::newRow("point only") << "." << 0.0;
        QTest::newRow("full-width digit") << u"３"_s << 0.0;
        QTest::newRow("beyond a double") << "1e999" << 0.0;
    }

    void valueOfAText()
    {
        QFETCH(QString, text);
        QFETCH(double, value);
        QCOMPARE(Val(text), value);
    }

    void whichNumbersNameALine()
    {
        QCOMPARE(listedIndex(1, 3), 0);
        QCOMPARE(listedIndex(3, 3), 2);
        QCOMPARE(listedIndex(0, 3), std::nullopt);
        QCOMPARE(listedIndex(-1, 3), std::nullopt);
        QCOMPARE(listedIndex(4, 3), std::nullopt);
        QCOMPARE(listedIndex(2.5, 3), std::nullopt);
        QCOMPARE(listedIndex(std::nan(""), 3), std::nullopt);
        QCOMPARE(listedIndex(1, 0), std::nullopt);
    }

    void contentWithoutTheChosenLine_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<double>("chosen");
        QTest::addColumn<QList<QByteArray>>("listed");
        QTest::addColumn<QByteArray>("kept");
        const QByteArray three("a\r\nb\r\nc\r\n");
        const QList<QByteArray> abc = byteLines({"a", "b", "c"});
        const QByteArray refused("<refused>");
        QTest::newRow("middle") << three << 2.0 << abc << QByteArray("a\r\nc\r\n");
        QTest::newRow("first") << three << 1.0 << abc << QByteArray("b\r\nc\r\n");
        QTest::newRow("last") << three << 3.0 << abc << QByteArray("a\r\nb\r\n");
        QTest::newRow("the only face")
            << QByteArray("a\r\n") << 1.0 << byteLines({"a"}) << QByteArray();
        QTest::newRow("empty line") << QByteArray("a\r\n\r\nc\r\n") << 2.0
                                    << byteLines({"a", "", "c"}) << QByteArray("a\r\nc\r\n");
        QTest::newRow("changed since listed")
            << QByteArray("a\r\nX\r\nc\r\n") << 2.0 << abc << refused;
        QTest::newRow("a prefix of the listed face")
            << QByteArray("a\r\nbb\r\n") << 2.0 << byteLines({"a", "b"}) << refused;
        QTest::newRow("shorter since listed") << QByteArray("a\r\n") << 2.0 << abc << refused;
        QTest::newRow("lines added since listed") << QByteArray("a\r\nb\r\nc\r\nnew\r\n") << 2.0
                                                  << abc << QByteArray("a\r\nc\r\nnew\r\n");
        QTest::newRow("other line ends kept as stored")
            << QByteArray("a\rb\r\nc\nd") << 2.0 << byteLines({"a", "b", "c\nd"})
            << QByteArray("a\rc\nd");
        QTest::newRow("unended last line")
            << QByteArray("a\r\nb") << 2.0 << byteLines({"a", "b"}) << QByteArray("a\r\n");
        // A lone CR must not take the next face's leading LF as its line end.
        QTest::newRow("lone CR before, LF first after")
            << QByteArray("x\ra\r\n\nb\r\n") << 2.0 << byteLines({"x", "a", "\nb"})
            << QByteArray("x\r\n\nb\r\n");
        QTest::newRow("lone CR before, a lone LF after")
            << QByteArray("x\ra\r\n\n") << 2.0 << byteLines({"x", "a", "\n"})
            << QByteArray("x\r\n\n");
        QTest::newRow("lone CR before, nothing after")
            << QByteArray("x\ra\r\n") << 2.0 << byteLines({"x", "a"}) << QByteArray("x\r");
        QTest::newRow("CR LF before, LF first after")
            << QByteArray("x\r\na\r\n\nb") << 2.0 << byteLines({"x", "a", "\nb"})
            << QByteArray("x\r\n\nb");
        QTest::newRow("first line gone, LF first after")
            << QByteArray("a\r\n\nb") << 1.0 << byteLines({"a", "\nb"}) << QByteArray("\nb");
    }

    void contentWithoutTheChosenLine()
    {
        QFETCH(QByteArray, content);
        QFETCH(double, chosen);
        QFETCH(QList<QByteArray>, listed);
        QFETCH(QByteArray, kept);
        const qsizetype index = qsizetype(chosen) - 1;
        QCOMPARE(withoutListedLine(content, index, listed[index]).value_or("<refused>"), kept);
    }
};

QTEST_GUILESS_MAIN(TestFaceRemoval)
#include "tst_faceremoval.moc"
