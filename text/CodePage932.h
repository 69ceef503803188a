// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// Text as the face file holds it: Windows code page 932 (Shift_JIS as Windows maps it).
namespace CodePage932 {

// Decodes one line. Bytes that are not valid code page 932 each become U+FFFD.
QString decode(QByteArrayView bytes);

// Encodes text that holds only representable characters (see unrepresentable()). The six
// characters that Linux input methods name otherwise than Windows (〜 ‖ − ¢ £ ¬) are written as
// Windows writes ～ ∥ － ￠ ￡ ￢, and read back as those.
QByteArray encode(const QString &text);

// The characters of the text that code page 932 cannot hold, each once, in order of first
// appearance; empty when the whole text survives a write and a read unchanged, but for those
// six taking their Windows form.
QString unrepresentable(const QString &text);

} // namespace CodePage932
