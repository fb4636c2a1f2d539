#include "ui/GridModel.h"

#include <QString>

#include <algorithm>
#include <cstddef>
#include <utility>

namespace korimo {

namespace {

QString FromUtf8(const std::string& text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

bool IsColumn(int col) {
  return col >= 0 && col < kGridCols;
}

}  // namespace

GridModel::GridModel(QObject* parent) : QAbstractTableModel(parent) {}

int GridModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int GridModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : kGridCols;
}

QVariant GridModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= static_cast<int>(rows_.size()))
    return QVariant();
  switch (role) {
    case Qt::DisplayRole:
      return FromUtf8(
          rows_[static_cast<std::size_t>(index.row())][static_cast<std::size_t>(index.column())]);
    case Qt::TextAlignmentRole:
      return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    default:
      return QVariant();
  }
}

QVariant GridModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || !IsColumn(section))
    return QAbstractTableModel::headerData(section, orientation, role);
  switch (role) {
    case Qt::DisplayRole:
      return FromUtf8(headings_[static_cast<std::size_t>(section)]);
    case Qt::TextAlignmentRole:
      // "No." stands right-aligned over the right-aligned patch numbers.
      return QVariant::fromValue(section == 0 ? Qt::AlignRight | Qt::AlignVCenter
                                              : Qt::AlignCenter);
    default:
      return QVariant();
  }
}

Qt::ItemFlags GridModel::flags(const QModelIndex& index) const {
  if (!index.isValid())
    return Qt::NoItemFlags;
  return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

void GridModel::SetRowCount(int rows) {
  const int wanted = std::max(rows, 1) - 1;
  const int current = static_cast<int>(rows_.size());
  if (wanted > current) {
    beginInsertRows(QModelIndex(), current, wanted - 1);
    rows_.resize(static_cast<std::size_t>(wanted));
    endInsertRows();
  } else if (wanted < current) {
    beginRemoveRows(QModelIndex(), wanted, current - 1);
    rows_.resize(static_cast<std::size_t>(wanted));
    endRemoveRows();
  }
}

std::string GridModel::Text(int row, int col) const {
  if (!IsColumn(col) || row < 0 || row >= Rows())
    return std::string();
  const auto column = static_cast<std::size_t>(col);
  if (row == 0)
    return headings_[column];
  return rows_[static_cast<std::size_t>(row - 1)][column];
}

void GridModel::SetText(int row, int col, std::string_view text) {
  if (!IsColumn(col) || row < 0 || row >= Rows())
    return;
  const auto column = static_cast<std::size_t>(col);
  if (row == 0) {
    headings_[column] = text;
    emit headerDataChanged(Qt::Horizontal, col, col);
    return;
  }
  rows_[static_cast<std::size_t>(row - 1)][column] = text;
  const QModelIndex changed = index(row - 1, col);
  emit dataChanged(changed, changed, {Qt::DisplayRole});
}

void GridModel::SetDataRows(std::vector<GridRow> rows) {
  beginResetModel();
  rows_ = std::move(rows);
  endResetModel();
}

}  // namespace korimo
