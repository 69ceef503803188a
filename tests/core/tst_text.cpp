// SPDX-License-Identifier: MIT
// Text as the face file holds it. Measured against the C library's own converter where there is
// one to measure against: tst_text_posix.cpp.
#define DOCTEST_CONFIG_IMPLEMENT_WITH_MAIN
#include "support/Text.h"
#include "text/CodePage932.h"

#include <doctest.h>

// A Linux input method types these where Windows has their look-alikes; the bytes are the ones
// Windows writes for its own, so they read back in the Windows form.
TEST_CASE("inputMethodCharactersTakeTheirWindowsForm")
{
    const struct {
        const char *name;
        std::u16string typed;
        std::string bytes;
        std::u16string readBack;
    } rows[] = {
        {"wave dash", u"(^o^)〜", "(^o^)\x81\x60", u"(^o^)～"},
        {"double vertical line", u"‖", "\x81\x61", u"∥"},
        {"minus sign", u"−", "\x81\x7C", u"－"},
        {"cent sign", u"¢", "\x81\x91", u"￠"},
        {"pound sign", u"£", "\x81\x92", u"￡"},
        {"not sign", u"¬", "\x81\xCA", u"￢"},
        {"beside their Windows forms", u"〜～−－", "\x81\x60\x81\x60\x81\x7C\x81\x7C", u"～～－－"},
    };
    for (const auto &row : rows)
        SUBCASE(row.name)
        {
            CHECK(CodePage932::unrepresentable(row.typed) == u"");
            CHECK(CodePage932::encode(row.typed) == row.bytes);
            CHECK(CodePage932::decode(row.bytes) == row.readBack);
        }
}
