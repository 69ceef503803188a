// SPDX-License-Identifier: MIT
#include "catalogue/BuiltinFaces.h"

#include <QSet>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTest>

using namespace Catalogue;

namespace {

QString face(FaceList list, int number)
{
    const std::u16string_view text = list[std::size_t(number - 1)];
    return QString::fromUtf16(text.data(), qsizetype(text.size()));
}

QList<char16_t> codePoints(const QString &text)
{
    QList<char16_t> units;
    for (QChar c : text)
        units.append(c.unicode());
    return units;
}

struct NamedList {
    const char *name;
    FaceList faces;
};

const NamedList kLists[] = {
    {"warai", kWaraiFaces},       {"naki", kNakiFaces},     {"ikari", kIkariFaces},
    {"tanoshii", kTanoshiiFaces}, {"sonota", kSonotaFaces}, {"mu", kMuFaces},
};

} // namespace

Q_DECLARE_METATYPE(FaceList)

class TestCatalogue : public QObject {
    Q_OBJECT

private slots:
    void lengthsOfEveryEntry_data()
    {
        QTest::addColumn<FaceList>("faces");
        QTest::addColumn<QList<int>>("lengths");
        // The number of characters of each entry, in list order.
        QTest::newRow("warai") << kWaraiFaces << QList<int>{5, 5, 4, 5, 5, 5,  7, 6, 11, 7, 6, 5, 5,
                                                            6, 7, 6, 7, 6, 16, 5, 6, 7,  6, 7, 7, 5,
                                                            5, 7, 5, 9, 7, 7,  5, 7, 7,  7, 5};
        QTest::newRow("naki") << kNakiFaces << QList<int>{5, 10, 10, 10, 5, 6, 5,  5, 6,
                                                          6, 5,  7,  7,  5, 6, 13, 5, 13};
        QTest::newRow("ikari") << kIkariFaces << QList<int>{6, 6, 6, 6, 12, 6, 5, 5, 11};
        QTest::newRow("tanoshii") << kTanoshiiFaces << QList<int>{5, 5, 5, 4, 5, 5, 4, 5, 6,
                                                                  5, 6, 6, 6, 3, 6, 5, 5, 5};
        QTest::newRow("sonota") << kSonotaFaces
                                << QList<int>{3, 3, 3,  3, 3, 7, 10, 6, 10, 4, 10, 6, 6, 11,
                                              6, 8, 11, 6, 7, 4, 7,  5, 2,  3, 3,  3, 3, 3};
        QTest::newRow("mu") << kMuFaces
                            << QList<int>{10, 5, 5, 11, 8, 10, 10, 6, 5, 5, 5, 5, 4, 5, 6};
    }

    void lengthsOfEveryEntry()
    {
        QFETCH(FaceList, faces);
        QFETCH(QList<int>, lengths);
        QCOMPARE(qsizetype(faces.size()), lengths.size());
        for (std::size_t i = 0; i < faces.size(); ++i)
            QCOMPARE(int(faces[i].size()), lengths[qsizetype(i)]);
    }

    void totalsAndDuplicates()
    {
        QSet<QString> distinct;
        int entries = 0;
        for (const NamedList &list : kLists)
            for (std::size_t n = 1; n <= list.faces.size(); ++n) {
                distinct.insert(face(list.faces, int(n)));
                ++entries;
            }
        QCOMPARE(entries, 125);
        QCOMPARE(distinct.size(), 120);

        // Repeated faces stay separate entries, in and across lists.
        QCOMPARE(face(kNakiFaces, 6), u"(-_-;)");
        QCOMPARE(face(kNakiFaces, 15), u"(-_-;)");
        QCOMPARE(face(kIkariFaces, 2), u"(-_-X)");
        QCOMPARE(face(kIkariFaces, 4), u"(-_-X)");
        QCOMPARE(face(kTanoshiiFaces, 11), u"(-_-;)");
        QCOMPARE(face(kTanoshiiFaces, 3), face(kMuFaces, 14));
        QCOMPARE(face(kSonotaFaces, 16), face(kMuFaces, 5));
    }

    void firstAndLastEntries()
    {
        QCOMPARE(face(kWaraiFaces, 1), u"(^o^)");
        QCOMPARE(face(kWaraiFaces, 37), u"（＾ｖ＾）");
        QCOMPARE(face(kNakiFaces, 1), u"(>_<)");
        QCOMPARE(face(kNakiFaces, 18), u"(T.T ) ( T.T)");
        QCOMPARE(face(kIkariFaces, 9), u"(-.-ﾒ)y-~~~");
        QCOMPARE(face(kTanoshiiFaces, 18), u"(@_@)");
        QCOMPARE(face(kSonotaFaces, 1), u"(笑)");
        QCOMPARE(face(kSonotaFaces, 28), u":-p");
        QCOMPARE(face(kMuFaces, 15), u"(/--)/");
    }

    void exactCharactersOfTrickyEntries_data()
    {
        QTest::addColumn<FaceList>("faces");
        QTest::addColumn<int>("number");
        QTest::addColumn<QList<char16_t>>("expected");
        QTest::newRow("warai 17 leading blank, full-width backslashes")
            << kWaraiFaces << 17 << QList<char16_t>{0x20, 0xFF3C, '(', '^', '^', 0xFF3C, ')'};
        QTest::newRow("warai 19") << kWaraiFaces << 19
                                  << QList<char16_t>{0xFF9F, 0xFF9F, 0xFF9F, 0xFF9F, 0xFF9F, '-',
                                                     'y',    '(',    '^',    0xFF61, '^',    ')',
                                                     0xFF61, 'o',    '0',    0x25CB};
        QTest::newRow("warai 21 leading blank, arcs")
            << kWaraiFaces << 21 << QList<char16_t>{0x20, '(', 0x2312, 'o', 0x2312, ')'};
        QTest::newRow("warai 24 full-width backslash")
            << kWaraiFaces << 24 << QList<char16_t>{0xFF3C, '(', '^', '_', '^', 0x20, ')'};
        QTest::newRow("warai 25 ASCII backslash")
            << kWaraiFaces << 25 << QList<char16_t>{0x5C, '(', '^', '_', '^', 0x20, ')'};
        QTest::newRow("warai 37 full-width")
            << kWaraiFaces << 37 << QList<char16_t>{0xFF08, 0xFF3E, 0xFF56, 0xFF3E, 0xFF09};
        QTest::newRow("naki 4 ASCII opening, full-width closing")
            << kNakiFaces << 4
            << QList<char16_t>{'(', 0xD7, 0xFF61, 0xD7, 0xFF09, 'y', '-', '~', '~', '~'};
        QTest::newRow("naki 5 half-width prolonged marks")
            << kNakiFaces << 5 << QList<char16_t>{'(', 0xFF70, 0xFF70, ';', ')'};
        QTest::newRow("naki 14 arrows")
            << kNakiFaces << 14 << QList<char16_t>{'(', 0x2192, 0xFF61, 0x2190, ')'};
        QTest::newRow("naki 16 four blanks")
            << kNakiFaces << 16
            << QList<char16_t>{'(', 0x20, ';', 0x20, '_', 0x20, ';', 0x20, ')', '/', '~', '~', '~'};
        QTest::newRow("ikari 1") << kIkariFaces << 1
                                 << QList<char16_t>{'(', 0xFF40, '_', 0xB4, 0xFF92, ')'};
        QTest::newRow("ikari 5") << kIkariFaces << 5
                                 << QList<char16_t>{'(',    '~', '_', '~', 0xFF92, ')',
                                                    0xFF0F, '~', '~', '~', '~',    '~'};
        QTest::newRow("ikari 7 backquote")
            << kIkariFaces << 7 << QList<char16_t>{'(', 0x60, '_', '\'', ')'};
        QTest::newRow("tanoshii 15")
            << kTanoshiiFaces << 15 << QList<char16_t>{'(', 0xFF9F, 0x3007, 0xFF9F, ';', ')'};
        QTest::newRow("sonota 6") << kSonotaFaces << 6
                                  << QList<char16_t>{'^', 'O', '^', 0x20, 0x30A2, 0x30FC, 0x30F3};
        QTest::newRow("sonota 11 ideographic spaces")
            << kSonotaFaces << 11 << QList<char16_t>{0xFF08, 0x30FB, 0x30FB, 0x3000, 0xFF09,
                                                     0xFF08, 0x3000, 0x30FB, 0x30FB, 0xFF09};
        QTest::newRow("sonota 19")
            << kSonotaFaces << 19
            << QList<char16_t>{0x51F8, '(', 0xFF40, 0xFF64, 0xB4, 0xFF92, 0xFF09};
        QTest::newRow("sonota 21 full-width tildes")
            << kSonotaFaces << 21 << QList<char16_t>{'~', '>', 0xFF9F, ')', 0xFF5E, 0xFF5E, 0xFF5E};
        QTest::newRow("sonota 22")
            << kSonotaFaces << 22 << QList<char16_t>{0x3C6, '(', 0xFF0E, 0xFF0E, ')'};
        QTest::newRow("mu 4") << kMuFaces << 4
                              << QList<char16_t>{'(', '-', '_',    '-',    ')',   'z',
                                                 'z', 'z', 0xFF65, 0xFF65, 0xFF65};
    }

    void exactCharactersOfTrickyEntries()
    {
        QFETCH(FaceList, faces);
        QFETCH(int, number);
        QFETCH(QList<char16_t>, expected);
        QCOMPARE(codePoints(face(faces, number)), expected);
    }

    void onlyTheKnownCharactersOutsidePrintableAscii()
    {
        const QSet<char16_t> known{
            0x00B4, 0x00D7, 0x03C6, 0x2190, 0x2192, 0x2312, 0x25BC, 0x25C7, 0x25CB, 0x25CE, 0x2606,
            0x3000, 0x3007, 0x309E, 0x30A2, 0x30F3, 0x30FB, 0x30FC, 0x30FD, 0x30FE, 0x51F8, 0x559C,
            0x5F61, 0x6012, 0x697D, 0x7206, 0x7B11, 0xFF08, 0xFF09, 0xFF0E, 0xFF0F, 0xFF3C, 0xFF3E,
            0xFF40, 0xFF4F, 0xFF56, 0xFF5E, 0xFF61, 0xFF64, 0xFF65, 0xFF70, 0xFF8D, 0xFF92, 0xFF9F};
        QSet<char16_t> seen;
        for (const NamedList &list : kLists)
            for (std::u16string_view text : list.faces)
                for (char16_t c : text)
                    if (c < 0x21 || c > 0x7E)
                        seen.insert(c);
        seen.remove(0x20);
        QCOMPARE(seen, known);
    }

    void everyFaceSurvivesCodePage932()
    {
        for (const NamedList &list : kLists)
            for (std::size_t n = 1; n <= list.faces.size(); ++n) {
                const QString text = face(list.faces, int(n));
                QStringEncoder encode("windows-31j");
                const QByteArray bytes = encode(text);
                QVERIFY2(!encode.hasError(), qPrintable(text));
                QStringDecoder decode("windows-31j");
                const QString back = decode(bytes);
                QCOMPARE(back, text);
            }
    }
};

QTEST_GUILESS_MAIN(TestCatalogue)
#include "tst_catalogue.moc"
