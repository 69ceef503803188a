// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

class QLabel;

// A label whose caption changes (the chosen face) is announced with what it is for, then its
// caption: "選んだ顔：(^o^)", or the purpose alone while the caption is empty.
void announceWithPurpose(QLabel *label, const QString &purpose);
