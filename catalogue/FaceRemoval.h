// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QList>

#include <optional>

// Taking one face out of the face file's bytes without ever losing another.
//
// The deletion window lists the file as it was when the window opened; by the time the user
// deletes, the file may have grown or changed. So a line goes only if the file still holds, at
// the chosen number, the bytes that were listed there, and every other face reads back exactly as
// before: each line stays as stored, line end included, except that a line ended by a lone CR
// gets CR LF where the line after the chosen one begins with LF.

// The chosen number names a listed line when it is one of the whole numbers 1 to the count.
bool namesListedLine(double chosen, qsizetype listedCount);

// The content without the chosen line, or nothing when the file no longer holds the listed
// face at that number. The chosen number must name a listed line.
std::optional<QByteArray> withoutListedLine(QByteArrayView content, double chosen,
                                            const QList<QByteArray> &listed);
