// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

#include <limits>

// File bytes are lines: CR, or CR LF, ends a line; a lone LF is an ordinary character; the
// end of the data ends the last line, and a line end at the very end starts no further line.
// CR and LF never occur inside a code page 932 character, so bytes split before decoding.

// The lines without their line ends, the first `mostLines` of them.
QList<QByteArrayView> splitLines(QByteArrayView bytes,
                                 qsizetype mostLines = std::numeric_limits<qsizetype>::max());

// The same lines with their line ends as stored (none after an unended last line), so that
// putting them together again gives back the bytes exactly.
QList<QByteArrayView> splitStoredLines(QByteArrayView bytes,
                                       qsizetype mostLines = std::numeric_limits<qsizetype>::max());

// The bytes that add `text` as one more line after a file ending in `fileEnd` (at least its
// last two bytes): a line end first when the file's last line is unended, so that neither line
// runs into the other, then the text and CR LF. The text must hold no CR or LF.
QByteArray lineAfter(QByteArrayView fileEnd, QByteArrayView text);
