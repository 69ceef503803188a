// SPDX-License-Identifier: MIT
#include "forms/FaceListModel.h"

QVariant FaceListModel::data(const QModelIndex &index, int role) const
{
    QVariant value = QStringListModel::data(index, role);
    // Only what is drawn is marked, and only when drawn: a list of a million faces costs no
    // more to fill.
    if (role == Qt::DisplayRole && value.toString().contains(u'\n'))
        return value.toString().replace(u'\n', kLineFeedMark);
    return value;
}
