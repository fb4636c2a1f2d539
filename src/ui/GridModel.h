#pragma once

#include <QAbstractTableModel>

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "app/GridRows.h"

namespace korimo {

// Cell texts of the results grid: one heading row and any number of data
// rows, 15 columns. Rows are addressed as the window does: row 0 is the
// heading row, data rows start at 1. Texts read back exactly as written.
class GridModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  explicit GridModel(QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation,
                      int role = Qt::DisplayRole) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

  // Row count including the heading row; below 1 counts as 1. New data rows
  // are empty, rows past the new count are dropped.
  int Rows() const { return static_cast<int>(rows_.size()) + 1; }
  void SetRowCount(int rows);

  // Outside the grid, Text() is empty and SetText() does nothing.
  std::string Text(int row, int col) const;
  void SetText(int row, int col, std::string_view text);

  void SetDataRows(std::vector<GridRow> rows);
  const std::vector<GridRow>& DataRows() const { return rows_; }
  const std::array<std::string, kGridCols>& Headings() const { return headings_; }

 private:
  std::array<std::string, kGridCols> headings_;
  std::vector<GridRow> rows_;
};

}  // namespace korimo
