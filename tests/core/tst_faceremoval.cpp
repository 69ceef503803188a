// SPDX-License-Identifier: MIT
#define DOCTEST_CONFIG_IMPLEMENT_WITH_MAIN
#include "catalogue/FaceRemoval.h"
#include "support/Text.h"
#include "text/Conversions.h"

#include <doctest.h>

#include <cmath>
#include <string>
#include <vector>

TEST_CASE("valueOfAText")
{
    const struct {
        const char *name;
        std::u16string text;
        double value;
    } rows[] = {
        {"2", u"2", 2.0},
        {"blank first", u" 2", 2.0},
        {"letter after", u"2x", 2.0},
        {"leading zero", u"02", 2.0},
        {"fraction of nothing", u"2.0", 2.0},
        {"blank between digits", u"1 2", 12.0},
        {"tab and line feed", u"\t3\n", 3.0},
        {"blanks around the point", u"2 . 5", 2.5},
        {"zero", u"0", 0.0},
        {"negative", u"-1", -1.0},
        {"plus", u"+4", 4.0},
        {"fraction", u"2.5", 2.5},
        {"no leading digit", u".5", 0.5},
        {"exponent", u"1e1", 10.0},
        {"exponent without digits", u"1e", 1.0},
        {"letter", u"x", 0.0},
        {"blank only", u" ", 0.0},
        {"empty", u"", 0.0},
        {"sign only", u"-", 0.0},
        {"point only", u".", 0.0},
        {"full-width digit", u"３", 0.0},
        {"beyond a double", u"1e999", 0.0},
    };
    for (const auto &row : rows)
        SUBCASE(row.name)
        {
            CHECK(Val(row.text) == row.value);
        }
}

TEST_CASE("whichNumbersNameALine")
{
    CHECK(listedIndex(1, 3) == 0u);
    CHECK(listedIndex(3, 3) == 2u);
    CHECK(listedIndex(0, 3) == std::nullopt);
    CHECK(listedIndex(-1, 3) == std::nullopt);
    CHECK(listedIndex(4, 3) == std::nullopt);
    CHECK(listedIndex(2.5, 3) == std::nullopt);
    CHECK(listedIndex(std::nan(""), 3) == std::nullopt);
    CHECK(listedIndex(1, 0) == std::nullopt);
}

TEST_CASE("contentWithoutTheChosenLine")
{
    const std::string three = "a\r\nb\r\nc\r\n";
    const std::vector<std::string> abc{"a", "b", "c"};
    const std::string refused = "<refused>";
    const struct {
        const char *name;
        std::string content;
        double chosen;
        std::vector<std::string> listed;
        std::string kept;
    } rows[] = {
        {"middle", three, 2.0, abc, "a\r\nc\r\n"},
        {"first", three, 1.0, abc, "b\r\nc\r\n"},
        {"last", three, 3.0, abc, "a\r\nb\r\n"},
        {"the only face", "a\r\n", 1.0, {"a"}, ""},
        {"empty line", "a\r\n\r\nc\r\n", 2.0, {"a", "", "c"}, "a\r\nc\r\n"},
        {"changed since listed", "a\r\nX\r\nc\r\n", 2.0, abc, refused},
        {"a prefix of the listed face", "a\r\nbb\r\n", 2.0, {"a", "b"}, refused},
        {"shorter since listed", "a\r\n", 2.0, abc, refused},
        {"lines added since listed", "a\r\nb\r\nc\r\nnew\r\n", 2.0, abc, "a\r\nc\r\nnew\r\n"},
        {"other line ends kept as stored", "a\rb\r\nc\nd", 2.0, {"a", "b", "c\nd"}, "a\rc\nd"},
        {"unended last line", "a\r\nb", 2.0, {"a", "b"}, "a\r\n"},
        // A lone CR must not take the next face's leading LF as its line end.
        {"lone CR before, LF first after",
         "x\ra\r\n\nb\r\n",
         2.0,
         {"x", "a", "\nb"},
         "x\r\n\nb\r\n"},
        {"lone CR before, a lone LF after", "x\ra\r\n\n", 2.0, {"x", "a", "\n"}, "x\r\n\n"},
        {"lone CR before, nothing after", "x\ra\r\n", 2.0, {"x", "a"}, "x\r"},
        {"CR LF before, LF first after", "x\r\na\r\n\nb", 2.0, {"x", "a", "\nb"}, "x\r\n\nb"},
        {"first line gone, LF first after", "a\r\n\nb", 1.0, {"a", "\nb"}, "\nb"},
    };
    for (const auto &row : rows)
        SUBCASE(row.name)
        {
            const std::size_t index = std::size_t(row.chosen) - 1;
            CHECK(withoutListedLine(row.content, index, row.listed[index]).value_or("<refused>") ==
                  row.kept);
        }
}
