#pragma once

#include <QAbstractTableModel>

#include <array>
#include <cstdint>
#include <string>

#include "app/WindowRecord.h"

namespace korimo {

// The results grid's cells as the engine's record holds them: the headings
// and the data rows in display order, read in place. The model keeps only
// what it told its views last, so that it can tell them what changed.
class GridModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  explicit GridModel(QObject* parent = nullptr);

  // `record` must outlive the model, or be replaced first; without one the
  // grid is empty.
  void SetRecord(const WindowRecord* record);

  // Tells the views about new rows or headings in the record.
  void Refresh();

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation,
                      int role = Qt::DisplayRole) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

 private:
  const WindowRecord* record_ = nullptr;
  // The row count the views know; the record may already hold others until
  // the next Refresh().
  int rows_ = 0;
  std::uint64_t revision_ = 0;
  std::array<std::string, kGridCols> headings_;
};

}  // namespace korimo
