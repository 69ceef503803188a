// SPDX-License-Identifier: MIT
#include "catalogue/BuiltinFaces.h"

#include <QSet>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTest>

using namespace Catalogue;
using namespace Qt::StringLiterals;

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

} // namespace

Q_DECLARE_METATYPE(FaceList)

class TestCatalogue : public QObject {
    Q_OBJECT

private slots:
    // Everything the main window shows of each category, in the order of its buttons, column by
    // column.
    void oneRowACategory()
    {
        QStringList rows;
        for (const Category *category : kCategories)
            rows << u"%1 %2 %3 %4"_s.arg(
                QStringView(category->codeName), QStringView(category->caption),
                QStringView(category->label), QString::number(category->faces.size()));
        QCOMPARE(rows,
                 (QStringList{u"Warai 笑い系 笑い系： 37"_s, u"Naki 泣き系 泣き系： 18"_s,
                              u"Ikari 怒り系 怒り系： 9"_s, u"Tanoshii 驚き系 驚き形： 18"_s,
                              u"Mu 無表情系 無表情系： 15"_s, u"Sonota その他系 その他系： 28"_s}));
    }

    void lengthsOfEveryEntry_data()
    {
        QTest::addColumn<FaceList>("faces");
        QTest::addColumn<QList<int>>("lengths");
        // The number of characters of each entry, in list order.
        QTest::newRow("warai") << kWarai.faces
                               << QList<int>{5, 5, 4, 5, 5, 5,  7, 6, 11, 7, 6, 5, 5,
                                             6, 7, 6, 7, 6, 16, 5, 6, 7,  6, 7, 7, 5,
                                             5, 7, 5, 9, 7, 7,  5, 7, 7,  7, 5};
        QTest::newRow("naki") << kNaki.faces << QList<int>{5, 10, 10, 10, 5, 6, 5,  5, 6,
                                                           6, 5,  7,  7,  5, 6, 13, 5, 13};
        QTest::newRow("ikari") << kIkari.faces << QList<int>{6, 6, 6, 6, 12, 6, 5, 5, 11};
        QTest::newRow("tanoshii") << kTanoshii.faces << QList<int>{5, 5, 5, 4, 5, 5, 4, 5, 6,
                                                                   5, 6, 6, 6, 3, 6, 5, 5, 5};
        QTest::newRow("sonota") << kSonota.faces
                                << QList<int>{3, 3, 3,  3, 3, 7, 10, 6, 10, 4, 10, 6, 6, 11,
                                              6, 8, 11, 6, 7, 4, 7,  5, 2,  3, 3,  3, 3, 3};
        QTest::newRow("mu") << kMu.faces
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
        for (const Category *category : kCategories)
            for (std::size_t n = 1; n <= category->faces.size(); ++n) {
                distinct.insert(face(category->faces, int(n)));
                ++entries;
            }
        QCOMPARE(entries, 125);
        QCOMPARE(distinct.size(), 120);

        // Repeated faces stay separate entries, in and across lists.
        QCOMPARE(face(kNaki.faces, 6), u"(-_-;)");
        QCOMPARE(face(kNaki.faces, 15), u"(-_-;)");
        QCOMPARE(face(kIkari.faces, 2), u"(-_-X)");
        QCOMPARE(face(kIkari.faces, 4), u"(-_-X)");
        QCOMPARE(face(kTanoshii.faces, 11), u"(-_-;)");
        QCOMPARE(face(kTanoshii.faces, 3), face(kMu.faces, 14));
        QCOMPARE(face(kSonota.faces, 16), face(kMu.faces, 5));
    }

    void firstAndLastEntries()
    {
        QCOMPARE(face(kWarai.faces, 1), u"(^o^)");
        QCOMPARE(face(kWarai.faces, 37), u"（＾ｖ＾）");
        QCOMPARE(face(kNaki.faces, 1), u"(>_<)");
        QCOMPARE(face(kNaki.faces, 18), u"(T.T ) ( T.T)");
        QCOMPARE(face(kIkari.faces, 9), u"(-.-ﾒ)y-~~~");
        QCOMPARE(face(kTanoshii.faces, 18), u"(@_@)");
        QCOMPARE(face(kSonota.faces, 1), u"(笑)");
        QCOMPARE(face(kSonota.faces, 28), u":-p");
        QCOMPARE(face(kMu.faces, 15), u"(/--)/");
    }

    void exactCharactersOfTrickyEntries_data()
    {
        QTest::addColumn<FaceList>("faces");
        QTest::addColumn<int>("number");
        QTest::addColumn<QList<char16_t>>("expected");
        QTest::newRow("warai 17 leading blank, full-width backslashes")
            << kWarai.faces << 17 << QList<char16_t>{0x20, 0xFF3C, '(', '^', '^', 0xFF3C, ')'};
        QTest::newRow("warai 19") << kWarai.faces << 19
                                  << QList<char16_t>{0xFF9F, 0xFF9F, 0xFF9F, 0xFF9F, 0xFF9F, '-',
                                                     'y',    '(',    '^',    0xFF61, '^',    ')',
                                                     0xFF61, 'o',    '0',    0x25CB};
        QTest::newRow("warai 21 leading blank, arcs")
            << kWarai.faces << 21 << QList<char16_t>{0x20, '(', 0x2312, 'o', 0x2312, ')'};
        QTest::newRow("warai 24 full-width backslash")
            << kWarai.faces << 24 << QList<char16_t>{0xFF3C, '(', '^', '_', '^', 0x20, ')'};
        QTest::newRow("warai 25 ASCII backslash")
            << kWarai.faces << 25 << QList<char16_t>{0x5C, '(', '^', '_', '^', 0x20, ')'};
        QTest::newRow("warai 37 full-width")
            << kWarai.faces << 37 << QList<char16_t>{0xFF08, 0xFF3E, 0xFF56, 0xFF3E, 0xFF09};
        QTest::newRow("naki 4 ASCII opening, full-width closing")
            << kNaki.faces << 4
            << QList<char16_t>{'(', 0xD7, 0xFF61, 0xD7, 0xFF09, 'y', '-', '~', '~', '~'};
        QTest::newRow("naki 5 half-width prolonged marks")
            << kNaki.faces << 5 << QList<char16_t>{'(', 0xFF70, 0xFF70, ';', ')'};
        QTest::newRow("naki 14 arrows")
            << kNaki.faces << 14 << QList<char16_t>{'(', 0x2192, 0xFF61, 0x2190, ')'};
        QTest::newRow("naki 16 four blanks")
            << kNaki.faces << 16
            << QList<char16_t>{'(', 0x20, ';', 0x20, '_', 0x20, ';', 0x20, ')', '/', '~', '~', '~'};
        QTest::newRow("ikari 1") << kIkari.faces << 1
                                 << QList<char16_t>{'(', 0xFF40, '_', 0xB4, 0xFF92, ')'};
        QTest::newRow("ikari 5") << kIkari.faces << 5
                                 << QList<char16_t>{'(',    '~', '_', '~', 0xFF92, ')',
                                                    0xFF0F, '~', '~', '~', '~',    '~'};
        QTest::newRow("ikari 7 backquote")
            << kIkari.faces << 7 << QList<char16_t>{'(', 0x60, '_', '\'', ')'};
        QTest::newRow("tanoshii 15")
            << kTanoshii.faces << 15 << QList<char16_t>{'(', 0xFF9F, 0x3007, 0xFF9F, ';', ')'};
        QTest::newRow("sonota 6") << kSonota.faces << 6
                                  << QList<char16_t>{'^', 'O', '^', 0x20, 0x30A2, 0x30FC, 0x30F3};
        QTest::newRow("sonota 11 ideographic spaces")
            << kSonota.faces << 11 << QList<char16_t>{0xFF08, 0x30FB, 0x30FB, 0x3000, 0xFF09,
                                                      0xFF08, 0x3000, 0x30FB, 0x30FB, 0xFF09};
        QTest::newRow("sonota 19")
            << kSonota.faces << 19
            << QList<char16_t>{0x51F8, '(', 0xFF40, 0xFF64, 0xB4, 0xFF92, 0xFF09};
        QTest::newRow("sonota 21 full-width tildes")
            << kSonota.faces << 21
            << QList<char16_t>{'~', '>', 0xFF9F, ')', 0xFF5E, 0xFF5E, 0xFF5E};
        QTest::newRow("sonota 22")
            << kSonota.faces << 22 << QList<char16_t>{0x3C6, '(', 0xFF0E, 0xFF0E, ')'};
        QTest::newRow("mu 4") << kMu.faces << 4
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
        for (const Category *category : kCategories)
            for (std::u16string_view text : category->faces)
                for (char16_t c : text)
                    if (c < 0x21 || c > 0x7E)
                        seen.insert(c);
        seen.remove(0x20);
        QCOMPARE(seen, known);
    }

    void everyFaceSurvivesCodePage932()
    {
        for (const Category *category : kCategories)
            for (std::size_t n = 1; n <= category->faces.size(); ++n) {
                const QString text = face(category->faces, int(n));
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
