// SPDX-License-Identifier: MIT
#include "forms/FaceListModel.h"

#include "platform/QtText.h"

void FaceListModel::append(std::vector<std::u16string> faces)
{
    if (faces.empty())
        return;
    const int first = int(faces_.size());
    beginInsertRows(QModelIndex(), first, first + int(faces.size()) - 1);
    if (faces_.empty())
        faces_ = std::move(faces);
    else
        faces_.insert(faces_.end(), std::make_move_iterator(faces.begin()),
                      std::make_move_iterator(faces.end()));
    endInsertRows();
}

int FaceListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(faces_.size());
}

QVariant FaceListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= int(faces_.size()) ||
        (role != Qt::DisplayRole && role != Qt::EditRole))
        return {};
    QString face = toQString(faces_[std::size_t(index.row())]);
    // Only what is drawn is marked.
    if (role == Qt::DisplayRole)
        face.replace(u'\n', QChar(kLineFeedMark));
    return face;
}

bool FaceListModel::removeRows(int row, int count, const QModelIndex &parent)
{
    if (parent.isValid() || row < 0 || count <= 0 || row + count > int(faces_.size()))
        return false;
    beginRemoveRows(QModelIndex(), row, row + count - 1);
    faces_.erase(faces_.begin() + row, faces_.begin() + row + count);
    endRemoveRows();
    return true;
}
