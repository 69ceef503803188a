// SPDX-License-Identifier: MIT
#include "text/CodePage932.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <optional>

namespace CodePage932 {

namespace {

// Qt's converter for this name is ICU's, which maps the Windows way (5C is a backslash, 81 60
// the full-width tilde), as glibc's "CP932" does and its "SHIFT_JIS" does not.
constexpr const char *kName = "windows-31j";

// Six characters of the Japanese standard that Linux input methods and converters give under
// the standard's own Unicode names, where Windows, whose bytes the face file holds, has other
// ones. They are written as Windows writes its own, and read back in the Windows form.
struct WindowsName {
    char16_t typed;
    char16_t windows;
};
constexpr WindowsName kWindowsNames[] = {
    {u'\u301C', u'\uFF5E'}, // 〜 wave dash: ～
    {u'\u2016', u'\u2225'}, // ‖ double vertical line: ∥
    {u'\u2212', u'\uFF0D'}, // − minus sign: －
    {u'\u00A2', u'\uFFE0'}, // ¢ cent sign: ￠
    {u'\u00A3', u'\uFFE1'}, // £ pound sign: ￡
    {u'\u00AC', u'\uFFE2'}, // ¬ not sign: ￢
};

QString withWindowsNames(QString text)
{
    for (QChar &c : text)
        for (const WindowsName &name : kWindowsNames)
            if (c == name.typed)
                c = name.windows;
    return text;
}

constexpr QChar kReplacement(0xFFFD);

// A converter's error flag stays set once raised, whatever resetState() says, so every
// question about one character gets a converter of its own. Converters are never moved:
// ICU keeps a pointer into the one it was made for.
QStringDecoder freshDecoder()
{
    return QStringDecoder(kName, QStringConverter::Flag::Stateless);
}
QStringEncoder freshEncoder()
{
    return QStringEncoder(kName, QStringConverter::Flag::Stateless);
}

// ICU's table turns three control characters round (byte 1A is U+001C, 1C is U+007F and 7F
// is U+001A) where Windows maps every byte below 80 to the same code point. None of the three
// bytes can stand inside a two-byte character, so they are put right after converting.
char16_t windowsControl(char16_t fromIcu)
{
    switch (fromIcu) {
    case 0x1A:
        return 0x7F;
    case 0x1C:
        return 0x1A;
    case 0x7F:
        return 0x1C;
    default:
        return fromIcu;
    }
}

char icuControlByte(char fromIcu)
{
    switch (fromIcu) {
    case 0x7F:
        return 0x1A;
    case 0x1A:
        return 0x1C;
    case 0x1C:
        return 0x7F;
    default:
        return fromIcu;
    }
}

bool isLeadByte(uchar b)
{
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}
bool isTrailByte(uchar b)
{
    return b >= 0x40 && b <= 0xFC && b != 0x7F;
}

// The slow path for a line that the converter found fault with: one character at a time,
// so that each bad byte becomes exactly one U+FFFD and good characters around it survive.
QString decodeCarefully(QByteArrayView bytes)
{
    QString text;
    text.reserve(bytes.size());
    qsizetype i = 0;
    while (i < bytes.size()) {
        const uchar b = uchar(bytes[i]);
        const qsizetype width =
            (isLeadByte(b) && i + 1 < bytes.size() && isTrailByte(uchar(bytes[i + 1]))) ? 2 : 1;
        if (b < 0x80) {
            text.append(QChar(b));
            ++i;
            continue;
        }
        const bool loneLead = width == 1 && isLeadByte(b);
        QStringDecoder decoder = freshDecoder();
        const QString decoded = loneLead ? QString() : decoder.decode(bytes.sliced(i, width));
        if (loneLead || decoder.hasError() || decoded.isEmpty())
            text.append(QString(width, kReplacement));
        else
            text.append(decoded);
        i += width;
    }
    return text;
}

} // namespace

QString decode(QByteArrayView bytes)
{
    // Nearly every line is valid; one converter serves them all until one is not.
    static std::optional<QStringDecoder> decoder;
    if (!decoder)
        decoder.emplace(kName, QStringConverter::Flag::Stateless);
    QString text = decoder->decode(bytes);
    if (!decoder->hasError()) {
        for (QChar &c : text)
            c = QChar(windowsControl(c.unicode()));
        return text;
    }
    decoder.reset();
    return decodeCarefully(bytes);
}

namespace {

// Encodes as Windows does; false when a character has no code page 932 form.
bool encodeExactly(const QString &text, QByteArray &bytes)
{
    QStringEncoder encoder = freshEncoder();
    bytes = encoder.encode(withWindowsNames(text));
    for (char &b : bytes)
        b = icuControlByte(b);
    return !encoder.hasError();
}

// Whether the text reads back after a write as it was, or in its Windows form.
bool roundTrips(const QString &text)
{
    QByteArray bytes;
    return encodeExactly(text, bytes) && decode(bytes) == withWindowsNames(text);
}

} // namespace

QByteArray encode(const QString &text)
{
    QByteArray bytes;
    encodeExactly(text, bytes);
    return bytes;
}

QString unrepresentable(const QString &text)
{
    if (roundTrips(text))
        return {};
    QString refused;
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype width = (text[i].isHighSurrogate() && i + 1 < text.size()) ? 2 : 1;
        const QString character = text.mid(i, width);
        if (!roundTrips(character) && !refused.contains(character))
            refused += character;
        i += width;
    }
    return refused;
}

} // namespace CodePage932
