// SPDX-License-Identifier: MIT
#define DOCTEST_CONFIG_IMPLEMENT_WITH_MAIN
#include "catalogue/BuiltinFaces.h"
#include "support/Text.h"
#include "text/CodePage932.h"

#include <doctest.h>

#include <set>
#include <string>
#include <vector>

using namespace Catalogue;
using namespace std::string_literals;

namespace {

std::u16string face(FaceList list, std::size_t number)
{
    return std::u16string(list[number - 1]);
}

} // namespace

// Everything the main window shows of each category, in the order of its buttons, column by
// column.
TEST_CASE("oneRowACategory")
{
    std::vector<std::u16string> rows;
    for (const Category *category : kCategories)
        rows.push_back(std::u16string(category->codeName) + u" " +
                       std::u16string(category->caption) + u" " + std::u16string(category->label) +
                       u" " + fromUtf8(std::to_string(category->faces.size())));
    CHECK(rows == std::vector<std::u16string>{
                      u"Warai 笑い系 笑い系： 37", u"Naki 泣き系 泣き系： 18",
                      u"Ikari 怒り系 怒り系： 9", u"Tanoshii 驚き系 驚き形： 18",
                      u"Mu 無表情系 無表情系： 15", u"Sonota その他系 その他系： 28"});
}

TEST_CASE("lengthsOfEveryEntry")
{
    // The number of characters of each entry, in list order.
    const struct {
        const char *name;
        FaceList faces;
        std::vector<std::size_t> lengths;
    } rows[] = {
        {"warai", kWarai.faces, {5, 5, 4, 5, 5, 5, 7, 6, 11, 7, 6, 5, 5, 6, 7, 6, 7, 6, 16,
                                 5, 6, 7, 6, 7, 7, 5, 5, 7,  5, 9, 7, 7, 5, 7, 7, 7, 5}},
        {"naki", kNaki.faces, {5, 10, 10, 10, 5, 6, 5, 5, 6, 6, 5, 7, 7, 5, 6, 13, 5, 13}},
        {"ikari", kIkari.faces, {6, 6, 6, 6, 12, 6, 5, 5, 11}},
        {"tanoshii", kTanoshii.faces, {5, 5, 5, 4, 5, 5, 4, 5, 6, 5, 6, 6, 6, 3, 6, 5, 5, 5}},
        {"sonota", kSonota.faces, {3, 3, 3,  3, 3, 7, 10, 6, 10, 4, 10, 6, 6, 11,
                                   6, 8, 11, 6, 7, 4, 7,  5, 2,  3, 3,  3, 3, 3}},
        {"mu", kMu.faces, {10, 5, 5, 11, 8, 10, 10, 6, 5, 5, 5, 5, 4, 5, 6}},
    };
    for (const auto &row : rows)
        SUBCASE(row.name)
        {
            std::vector<std::size_t> lengths;
            for (std::u16string_view text : row.faces)
                lengths.push_back(text.size());
            CHECK(lengths == row.lengths);
        }
}

TEST_CASE("totalsAndDuplicates")
{
    std::set<std::u16string> distinct;
    int entries = 0;
    for (const Category *category : kCategories)
        for (std::size_t n = 1; n <= category->faces.size(); ++n) {
            distinct.insert(face(category->faces, n));
            ++entries;
        }
    CHECK(entries == 125);
    CHECK(distinct.size() == 120);

    // Repeated faces stay separate entries, in and across lists.
    CHECK(face(kNaki.faces, 6) == u"(-_-;)"s);
    CHECK(face(kNaki.faces, 15) == u"(-_-;)"s);
    CHECK(face(kIkari.faces, 2) == u"(-_-X)"s);
    CHECK(face(kIkari.faces, 4) == u"(-_-X)"s);
    CHECK(face(kTanoshii.faces, 11) == u"(-_-;)"s);
    CHECK(face(kTanoshii.faces, 3) == face(kMu.faces, 14));
    CHECK(face(kSonota.faces, 16) == face(kMu.faces, 5));
}

TEST_CASE("firstAndLastEntries")
{
    CHECK(face(kWarai.faces, 1) == u"(^o^)"s);
    CHECK(face(kWarai.faces, 37) == u"（＾ｖ＾）"s);
    CHECK(face(kNaki.faces, 1) == u"(>_<)"s);
    CHECK(face(kNaki.faces, 18) == u"(T.T ) ( T.T)"s);
    CHECK(face(kIkari.faces, 9) == u"(-.-ﾒ)y-~~~"s);
    CHECK(face(kTanoshii.faces, 18) == u"(@_@)"s);
    CHECK(face(kSonota.faces, 1) == u"(笑)"s);
    CHECK(face(kSonota.faces, 28) == u":-p"s);
    CHECK(face(kMu.faces, 15) == u"(/--)/"s);
}

TEST_CASE("exactCharactersOfTrickyEntries")
{
    const struct {
        const char *name;
        FaceList faces;
        std::size_t number;
        std::u16string expected;
    } rows[] = {
        {"warai 17 leading blank, full-width backslashes",
         kWarai.faces,
         17,
         {0x20, 0xFF3C, '(', '^', '^', 0xFF3C, ')'}},
        {"warai 19",
         kWarai.faces,
         19,
         {0xFF9F, 0xFF9F, 0xFF9F, 0xFF9F, 0xFF9F, '-', 'y', '(', '^', 0xFF61, '^', ')', 0xFF61, 'o',
          '0', 0x25CB}},
        {"warai 21 leading blank, arcs", kWarai.faces, 21, {0x20, '(', 0x2312, 'o', 0x2312, ')'}},
        {"warai 24 full-width backslash",
         kWarai.faces,
         24,
         {0xFF3C, '(', '^', '_', '^', 0x20, ')'}},
        {"warai 25 ASCII backslash", kWarai.faces, 25, {0x5C, '(', '^', '_', '^', 0x20, ')'}},
        {"warai 37 full-width", kWarai.faces, 37, {0xFF08, 0xFF3E, 0xFF56, 0xFF3E, 0xFF09}},
        {"naki 4 ASCII opening, full-width closing",
         kNaki.faces,
         4,
         {'(', 0xD7, 0xFF61, 0xD7, 0xFF09, 'y', '-', '~', '~', '~'}},
        {"naki 5 half-width prolonged marks", kNaki.faces, 5, {'(', 0xFF70, 0xFF70, ';', ')'}},
        {"naki 14 arrows", kNaki.faces, 14, {'(', 0x2192, 0xFF61, 0x2190, ')'}},
        {"naki 16 four blanks",
         kNaki.faces,
         16,
         {'(', 0x20, ';', 0x20, '_', 0x20, ';', 0x20, ')', '/', '~', '~', '~'}},
        {"ikari 1", kIkari.faces, 1, {'(', 0xFF40, '_', 0xB4, 0xFF92, ')'}},
        {"ikari 5",
         kIkari.faces,
         5,
         {'(', '~', '_', '~', 0xFF92, ')', 0xFF0F, '~', '~', '~', '~', '~'}},
        {"ikari 7 backquote", kIkari.faces, 7, {'(', 0x60, '_', '\'', ')'}},
        {"tanoshii 15", kTanoshii.faces, 15, {'(', 0xFF9F, 0x3007, 0xFF9F, ';', ')'}},
        {"sonota 6", kSonota.faces, 6, {'^', 'O', '^', 0x20, 0x30A2, 0x30FC, 0x30F3}},
        {"sonota 11 ideographic spaces",
         kSonota.faces,
         11,
         {0xFF08, 0x30FB, 0x30FB, 0x3000, 0xFF09, 0xFF08, 0x3000, 0x30FB, 0x30FB, 0xFF09}},
        {"sonota 19", kSonota.faces, 19, {0x51F8, '(', 0xFF40, 0xFF64, 0xB4, 0xFF92, 0xFF09}},
        {"sonota 21 full-width tildes",
         kSonota.faces,
         21,
         {'~', '>', 0xFF9F, ')', 0xFF5E, 0xFF5E, 0xFF5E}},
        {"sonota 22", kSonota.faces, 22, {0x3C6, '(', 0xFF0E, 0xFF0E, ')'}},
        {"mu 4", kMu.faces, 4, {'(', '-', '_', '-', ')', 'z', 'z', 'z', 0xFF65, 0xFF65, 0xFF65}},
    };
    for (const auto &row : rows)
        SUBCASE(row.name)
        {
            CHECK(face(row.faces, row.number) == row.expected);
        }
}

TEST_CASE("onlyTheKnownCharactersOutsidePrintableAscii")
{
    const std::set<char16_t> known{
        0x00B4, 0x00D7, 0x03C6, 0x2190, 0x2192, 0x2312, 0x25BC, 0x25C7, 0x25CB, 0x25CE, 0x2606,
        0x3000, 0x3007, 0x309E, 0x30A2, 0x30F3, 0x30FB, 0x30FC, 0x30FD, 0x30FE, 0x51F8, 0x559C,
        0x5F61, 0x6012, 0x697D, 0x7206, 0x7B11, 0xFF08, 0xFF09, 0xFF0E, 0xFF0F, 0xFF3C, 0xFF3E,
        0xFF40, 0xFF4F, 0xFF56, 0xFF5E, 0xFF61, 0xFF64, 0xFF65, 0xFF70, 0xFF8D, 0xFF92, 0xFF9F};
    std::set<char16_t> seen;
    for (const Category *category : kCategories)
        for (std::u16string_view text : category->faces)
            for (char16_t c : text)
                if (c < 0x21 || c > 0x7E)
                    seen.insert(c);
    seen.erase(0x20);
    CHECK(seen == known);
}

TEST_CASE("everyFaceSurvivesCodePage932")
{
    for (const Category *category : kCategories)
        for (std::size_t n = 1; n <= category->faces.size(); ++n) {
            const std::u16string text = face(category->faces, n);
            INFO(utf8(text));
            CHECK(CodePage932::unrepresentable(text) == u"");
            CHECK(CodePage932::decode(CodePage932::encode(text)) == text);
        }
}
