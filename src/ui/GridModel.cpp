#include "ui/GridModel.h"

#include <QString>

#include <cstddef>

namespace korimo {

namespace {

QString FromUtf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

GridModel::GridModel(QObject* parent) : QAbstractTableModel(parent) {}

void GridModel::SetRecord(const WindowRecord* record) {
  beginResetModel();
  record_ = record;
  rows_ = record != nullptr ? static_cast<int>(record->FlexG.RowCount()) : 0;
  revision_ = record != nullptr ? record->FlexG.revision : 0;
  if (record != nullptr)
    headings_ = record->FlexG_Headings;
  else
    headings_ = {};
  endResetModel();
}

void GridModel::Refresh() {
  if (record_ == nullptr)
    return;
  if (record_->FlexG.revision != revision_) {
    beginResetModel();
    rows_ = static_cast<int>(record_->FlexG.RowCount());
    revision_ = record_->FlexG.revision;
    endResetModel();
  }
  if (record_->FlexG_Headings != headings_) {
    headings_ = record_->FlexG_Headings;
    emit headerDataChanged(Qt::Horizontal, 0, kGridCols - 1);
  }
}

int GridModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : rows_;
}

int GridModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : kGridCols;
}

QVariant GridModel::data(const QModelIndex& index, int role) const {
  if (record_ == nullptr || !index.isValid())
    return QVariant();
  const auto row = static_cast<std::size_t>(index.row());
  if (row >= record_->FlexG.RowCount())
    return QVariant();
  switch (role) {
    case Qt::DisplayRole:
      return FromUtf8(record_->FlexG.Row(row)[static_cast<std::size_t>(index.column())]);
    case Qt::TextAlignmentRole:
      return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    default:
      return QVariant();
  }
}

QVariant GridModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || section < 0 || section >= kGridCols)
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

}  // namespace korimo
