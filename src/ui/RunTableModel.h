#pragma once

#include <QAbstractTableModel>

#include <cstddef>
#include <vector>

#include "app/Run.h"

namespace korimo {

// The run's sheets table over the rows the run session holds, read in
// place: a row per sheet, the cells the run view makes of it. Sorting by a
// column reorders the view only. New rows are announced a batch at a time
// and, while the table is sorted, merged into its order.
class RunTableModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  explicit RunTableModel(QObject* parent = nullptr);

  // `rows` and `options` must outlive the model, or be replaced first; null
  // leaves the table empty.
  void SetRows(const SheetRowRefs* rows, const RunOptions* options);
  // The rows from `from` on are new.
  void Append(std::size_t from);
  // Every row may have changed.
  void Reset();

  // The run's index of the sheet a view row shows.
  std::size_t SheetOf(int viewRow) const { return order_[static_cast<std::size_t>(viewRow)]; }

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation,
                      int role = Qt::DisplayRole) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

 private:
  bool Before(std::size_t a, std::size_t b) const;
  void Reorder(const std::vector<std::size_t>& order);

  const SheetRowRefs* rows_ = nullptr;
  const RunOptions* options_ = nullptr;
  std::vector<std::size_t> order_;  // view row -> run index
  int sortColumn_ = -1;             // none: run order
  bool descending_ = false;
};

}  // namespace korimo
