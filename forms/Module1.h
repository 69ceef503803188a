// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

// Procedures that several windows share.
namespace Module1 {

// Empties the main window's face list and chosen-face label, and withdraws the face put on the
// clipboard.
void ResetFace();

// Replaces the clipboard's content with the face, also when the face is empty.
void CopyFace(const QString &face);

// Each appends one built-in category at the end of the main window's face list.
void AddWaraiFaces();
void AddNakiFaces();
void AddIkariFaces();
void AddTanoshiiFaces();
void AddSonotaFaces();
void AddMuFaces();

// Appends the face file's lines at the end of the main window's face list. When there is no
// face file yet, offers to register a face; when there is one that cannot be read, says so.
void AddUserFaces();

// Show the registration and the deletion window, creating them when they do not exist.
void ShowEnter();
void ShowDelete();

} // namespace Module1
