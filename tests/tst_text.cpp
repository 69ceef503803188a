// SPDX-License-Identifier: MIT
// Text as the face file holds it: code page 932 measured against the C library's own converter.
#include "text/CodePage932.h"

#include <QTest>

#include <iconv.h>

#include <optional>

using namespace Qt::StringLiterals;

namespace {

// One of glibc's converters, and the bytes it makes of a whole input; nothing when it refuses.
class GlibcConverter {
public:
    GlibcConverter(const char *to, const char *from) : cd_(::iconv_open(to, from)) {}
    ~GlibcConverter()
    {
        if (valid())
            ::iconv_close(cd_);
    }
    GlibcConverter(const GlibcConverter &) = delete;
    GlibcConverter &operator=(const GlibcConverter &) = delete;

    bool valid() const { return cd_ != iconv_t(-1); }

    std::optional<QByteArray> convert(QByteArray input) const
    {
        ::iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        char output[32];
        char *in = input.data();
        size_t inLeft = size_t(input.size());
        char *out = output;
        size_t outLeft = sizeof output;
        if (::iconv(cd_, &in, &inLeft, &out, &outLeft) == size_t(-1) || inLeft != 0)
            return std::nullopt;
        return QByteArray(output, out - output);
    }

private:
    iconv_t cd_;
};

QString character(char32_t c)
{
    if (QChar::requiresSurrogates(c))
        return QString(QChar(QChar::highSurrogate(c))) + QChar(QChar::lowSurrogate(c));
    return QString(QChar(char16_t(c)));
}

QString codePointName(char32_t c)
{
    return u"U+%1"_s.arg(uint(c), 4, 16, QChar(u'0')).toUpper();
}

} // namespace

class TextTest : public QObject {
    Q_OBJECT

private slots:
    // A Linux input method types these where Windows has their look-alikes; the bytes are the
    // ones Windows writes for its own, so they read back in the Windows form.
    void inputMethodCharactersTakeTheirWindowsForm_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("readBack");
        QTest::newRow("wave dash") << u"(^o^)〜"_s << QByteArray("(^o^)\x81\x60") << u"(^o^)～"_s;
        QTest::newRow("double vertical line") << u"‖"_s << QByteArray("\x81\x61") << u"∥"_s;
        QTest::newRow("minus sign") << u"−"_s << QByteArray("\x81\x7C") << u"－"_s;
        QTest::newRow("cent sign") << u"¢"_s << QByteArray("\x81\x91") << u"￠"_s;
        QTest::newRow("pound sign") << u"£"_s << QByteArray("\x81\x92") << u"￡"_s;
        QTest::newRow("not sign") << u"¬"_s << QByteArray("\x81\xCA") << u"￢"_s;
        QTest::newRow("beside their Windows forms")
            << u"〜～−－"_s << QByteArray("\x81\x60\x81\x60\x81\x7C\x81\x7C") << u"～～－－"_s;
    }

    void inputMethodCharactersTakeTheirWindowsForm()
    {
        QFETCH(QString, typed);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, readBack);
        QCOMPARE(CodePage932::unrepresentable(typed), QString());
        QCOMPARE(CodePage932::encode(typed), bytes);
        QCOMPARE(CodePage932::decode(bytes), readBack);
    }

    // glibc's CP932 is the other well-kept converter on every Linux system. Both must agree on
    // every byte pair read and every character written; where glibc writes a character that
    // reads back as another, it is refused here, but for the six above.
    void agreesWithGlibcEverywhere()
    {
        const GlibcConverter glibcDecoder("UTF-16LE", "CP932");
        const GlibcConverter glibcEncoder("CP932", "UTF-32LE");
        QVERIFY(glibcDecoder.valid() && glibcEncoder.valid());
        const auto glibcDecode = [&](const QByteArray &bytes) -> std::optional<QString> {
            const std::optional<QByteArray> utf16 = glibcDecoder.convert(bytes);
            if (!utf16)
                return std::nullopt;
            return QString(reinterpret_cast<const QChar *>(utf16->constData()), utf16->size() / 2);
        };
        const QString windowsForms = u"〜‖−¢£¬"_s;

        QStringList disagreements;
        QList<QByteArray> sequences;
        for (int b = 0; b < 0x100; ++b)
            sequences.append(QByteArray(1, char(b)));
        for (int pair = 0; pair < 0x10000; ++pair)
            sequences.append(QByteArray(1, char(pair >> 8)) + char(pair & 0xFF));
        for (const QByteArray &bytes : sequences) {
            const std::optional<QString> glibc = glibcDecode(bytes);
            const QString ours = CodePage932::decode(bytes);
            if (glibc ? ours != *glibc : !ours.contains(QChar(0xFFFD)))
                disagreements << u"read %1: %2"_s.arg(QString::fromLatin1(bytes.toHex(' ')), ours);
        }

        for (char32_t c = 0; c <= 0x10FFFF; ++c) {
            if (c >= 0xD800 && c <= 0xDFFF)
                continue;
            const QString text = character(c);
            const QByteArray utf32(reinterpret_cast<const char *>(&c), 4);
            const std::optional<QByteArray> glibc = glibcEncoder.convert(utf32);
            const bool readsBackAsTyped = glibc && glibcDecode(*glibc) == text;
            const bool accepted = CodePage932::unrepresentable(text).isEmpty();
            const bool expected = readsBackAsTyped || (glibc && windowsForms.contains(text));
            if (accepted != expected || (accepted && CodePage932::encode(text) != *glibc))
                disagreements << u"write %1: glibc %2, here %3"_s.arg(
                    codePointName(c), glibc ? QString::fromLatin1(glibc->toHex(' ')) : u"refused"_s,
                    accepted ? QString::fromLatin1(CodePage932::encode(text).toHex(' '))
                             : u"refused"_s);
        }
        QCOMPARE(disagreements, QStringList());
    }
};

QTEST_GUILESS_MAIN(TextTest)
#include "tst_text.moc"
