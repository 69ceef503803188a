// SPDX-License-Identifier: MIT
#include "catalogue/BuiltinFaces.h"

#include <array>

// The built-in faces, in the order users know them. Every character counts: full-width and
// half-width forms differ, leading blanks belong to the face, and "\\" is one ASCII backslash.

namespace Catalogue {

namespace {

// Laughing (笑い系)
constexpr std::array<std::u16string_view, 37> kWaraiFacesTable{
    u"(^o^)",            // 1
    u"(^O^)",            // 2
    u"(^^)",             // 3
    u"(^_^)",            // 4
    u"(^｡^)",            // 5
    u"(^_-)",            // 6
    u"(^_-)-☆",          // 7
    u"(^o^)/",           // 8
    u"(^o^)/~~~~~",      // 9
    u"ヾ(^-^)ゞ",        // 10
    u"p(^^)q",           // 11
    u"(^.^)",            // 12
    u"(^.^;",            // 13
    u"(^｡^;)",           // 14
    u"(^<>^;)",          // 15
    u"(^◇^;)",           // 16
    u" ＼(^^＼)",        // 17
    u"(／^^)／",         // 18
    u"ﾟﾟﾟﾟﾟ-y(^｡^)｡o0○", // 19
    u"(^*^)",            // 20
    u" (⌒o⌒)",           // 21
    u"(*^-^*)",          // 22
    u"(^O^)y",           // 23
    u"＼(^_^ )",         // 24
    u"\\(^_^ )",         // 25
    u"(^^)V",            // 26
    u")^o^(",            // 27
    u"ﾍ(^.^)/",          // 28
    u"Y(^^)",            // 29
    u"(^.^)/~~~",        // 30
    u"＼(^o^)／",        // 31
    u"＼(^O^)／",        // 32
    u"＼^o^／",          // 33
    u"ｏ(^-^)ｏ",        // 34
    u"(#^_^#)",          // 35
    u"(*^,^*)",          // 36
    u"（＾ｖ＾）",       // 37
};

// Crying (泣き系)
constexpr std::array<std::u16string_view, 18> kNakiFacesTable{
    u"(>_<)",         // 1
    u"(>｡<)y-ﾟﾟﾟ",    // 2
    u"(>.<)y-~~~",    // 3
    u"(×｡×）y-~~~",   // 4
    u"(ｰｰ;)",         // 5
    u"(-_-;)",        // 6
    u"(v_v)",         // 7
    u"(;_;)",         // 8
    u"(>_<)ヽ",       // 9
    u"(>_<)ゞ",       // 10
    u"(T_T)",         // 11
    u"m(T T)m",       // 12
    u"m(-_-)m",       // 13
    u"(→｡←)",         // 14
    u"(-_-;)",        // 15
    u"( ; _ ; )/~~~", // 16
    u"(ToT)",         // 17
    u"(T.T ) ( T.T)", // 18
};

// Angry (怒り系)
constexpr std::array<std::u16string_view, 9> kIkariFacesTable{
    u"(｀_´ﾒ)",       // 1
    u"(-_-X)",        // 2
    u"(･_･;!",        // 3
    u"(-_-X)",        // 4
    u"(~_~ﾒ)／~~~~~", // 5
    u"(-_-ﾒ)",        // 6
    u"(`_')",         // 7
    u"(--ﾒ)",         // 8
    u"(-.-ﾒ)y-~~~",   // 9
};

// Surprised (驚き系)
constexpr std::array<std::u16string_view, 18> kTanoshiiFacesTable{
    u"(･･?)",   // 1
    u"(*_*)",   // 2
    u"(･｡･)",   // 3
    u"(･･?",    // 4
    u"(ﾟ.ﾟ)",   // 5
    u"('O';",   // 6
    u"(''?",    // 7
    u"(?_?)",   // 8
    u"(o｡o;)",  // 9
    u"(◎-◎)",   // 10
    u"(-_-;)",  // 11
    u"(=_=;)",  // 12
    u"(@-@;)",  // 13
    u"^^;",     // 14
    u"(ﾟ〇ﾟ;)", // 15
    u"(+_+)",   // 16
    u"(@_@,",   // 17
    u"(@_@)",   // 18
};

// Other (その他系)
constexpr std::array<std::u16string_view, 28> kSonotaFacesTable{
    u"(笑)",                 // 1
    u"(爆)",                 // 2
    u"(怒)",                 // 3
    u"(楽)",                 // 4
    u"(喜)",                 // 5
    u"^O^ アーン",           // 6
    u"（×｡×）y-~~~",         // 7
    u"(・)(・)",             // 8
    u"( * )( * )",           // 9
    u"(▼▼)",                 // 10
    u"（・・　）（　・・）", // 11
    u"<ﾟ)))彡",              // 12
    u">ﾟ)))彡",              // 13
    u"((((((^_^;)",          // 14
    u"(-.-)凸",              // 15
    u"(-_-)zzz",             // 16
    u"(-_-)zzz'''",          // 17
    u"( ﾟoﾟ)",               // 18
    u"凸(｀､´ﾒ）",           // 19
    u".｡o○",                 // 20
    u"~>ﾟ)～～～",           // 21
    u"φ(．．)",              // 22
    u":)",                   // 23
    u":-#",                  // 24
    u":-(",                  // 25
    u":-)",                  // 26
    u":->",                  // 27
    u":-p",                  // 28
};

// Expressionless (無表情系)
constexpr std::array<std::u16string_view, 15> kMuFacesTable{
    u"(-_-)/~~~~",  // 1
    u"(-｡-)",       // 2
    u"(-,-)",       // 3
    u"(-_-)zzz･･･", // 4
    u"(-_-)zzz",    // 5
    u"(-｡-)y-ﾟﾟﾟ",  // 6
    u"(-.-)y-~~~",  // 7
    u"( -_-)",      // 8
    u"(･_･)",       // 9
    u"(･o･)",       // 10
    u"(-_-)",       // 11
    u"(-.-)",       // 12
    u"(--)",        // 13
    u"(･｡･)",       // 14
    u"(/--)/",      // 15
};

} // namespace

// A category's label says what its button says, with a colon, except for the surprised one,
// whose label has 形 where its button has 系: users know it that way.
const Category kWarai{u"Warai", u"笑い系", u"笑い系：", kWaraiFacesTable};
const Category kNaki{u"Naki", u"泣き系", u"泣き系：", kNakiFacesTable};
const Category kIkari{u"Ikari", u"怒り系", u"怒り系：", kIkariFacesTable};
const Category kTanoshii{u"Tanoshii", u"驚き系", u"驚き形：", kTanoshiiFacesTable};
const Category kMu{u"Mu", u"無表情系", u"無表情系：", kMuFacesTable};
const Category kSonota{u"Sonota", u"その他系", u"その他系：", kSonotaFacesTable};

const std::array<const Category *, 6> kCategories{&kWarai,    &kNaki, &kIkari,
                                                  &kTanoshii, &kMu,   &kSonota};

} // namespace Catalogue
