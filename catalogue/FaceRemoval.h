// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// Taking one face out of the face file without ever losing another.
//
// The deletion window lists the file as it was when the window opened; by the time the user
// deletes, the file may have grown. So a line goes only if the file still holds, at the chosen
// number, the bytes that were listed there, and every other line stays exactly as stored.

// The chosen number names a listed line when it is one of the whole numbers 1 to the count.
bool namesListedLine(double chosen, qsizetype listedCount);

// The file content without the chosen line, or unchanged.
QByteArray withoutListedLine(QByteArrayView content, double chosen,
                             const QList<QByteArray> &listed);

// Rewrites the file so: the new content goes to a temporary file beside it, to the disk, and
// then in place of the old in one rename, so the file is always either the old or the new.
// An absent file stays absent. Returns false, and the reason, when the file stays as it was.
bool removeListedFace(const QString &path, double chosen, const QList<QByteArray> &listed,
                      QString *reason);
