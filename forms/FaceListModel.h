// SPDX-License-Identifier: MIT
#pragma once

#include <QAbstractListModel>

#include <string>
#include <vector>

// The faces of a drop-down list, each face one row, held as the face file's reading hands them
// over: a face becomes Qt's text only when a row is drawn or chosen, so that a list of a
// million faces costs no more to fill than its reading. A face in a hand-edited file may hold
// line feeds; the list draws each as a visible mark instead of breaking the row, so that one
// face never looks like several. Its text, which the text field and the clipboard take, keeps
// them.
class FaceListModel : public QAbstractListModel {
    Q_OBJECT

public:
    using QAbstractListModel::QAbstractListModel;

    // ⏎: the Japanese Gothic face the windows are drawn in has it (␊ it has not).
    static constexpr char16_t kLineFeedMark = u'\u23CE';

    // Adds the faces after the last row.
    void append(std::vector<std::u16string> faces);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    bool removeRows(int row, int count, const QModelIndex &parent = QModelIndex()) override;

private:
    std::vector<std::u16string> faces_;
};
