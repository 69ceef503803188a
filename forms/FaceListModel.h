// SPDX-License-Identifier: MIT
#pragma once

#include <QStringListModel>

// The faces of a drop-down list, each face one row. A face in a hand-edited file may hold line
// feeds; the list draws each as a visible mark instead of breaking the row, so that one face
// never looks like several. Its text, which the text field and the clipboard take, keeps them.
class FaceListModel : public QStringListModel {
    Q_OBJECT

public:
    using QStringListModel::QStringListModel;

    // ⏎: the Japanese Gothic face the windows are drawn in has it (␊ it has not).
    static constexpr char16_t kLineFeedMark = u'\u23CE';

    QVariant data(const QModelIndex &index, int role) const override;
};
