#include "app/ChartGeometry.h"

#include <algorithm>

namespace korimo {

void ChartGeometry::Redim(int cols, int rows) {
  dimCols_ = std::max(cols, 0);
  dimRows_ = std::max(rows, 0);
  // An all-zero map takes no memory until a cell is set: a window that
  // never lays out a chart would otherwise fill 80 kB per table.
  x_.clear();
  y_.clear();
}

bool ChartGeometry::InMap(int col, int row) const {
  return col >= 0 && row >= 0 && col <= dimCols_ && row <= dimRows_;
}

std::size_t ChartGeometry::Slot(int col, int row) const {
  return static_cast<std::size_t>(col) * static_cast<std::size_t>(dimRows_ + 1) +
         static_cast<std::size_t>(row);
}

int ChartGeometry::CellX(int col, int row) const {
  return InMap(col, row) && !x_.empty() ? x_[Slot(col, row)] : 0;
}

int ChartGeometry::CellY(int col, int row) const {
  return InMap(col, row) && !y_.empty() ? y_[Slot(col, row)] : 0;
}

void ChartGeometry::SetCell(int col, int row, int x, int y) {
  if (!InMap(col, row))
    return;
  if (x_.empty()) {
    const auto size =
        static_cast<std::size_t>(dimCols_ + 1) * static_cast<std::size_t>(dimRows_ + 1);
    x_.assign(size, 0);
    y_.assign(size, 0);
  }
  x_[Slot(col, row)] = static_cast<std::int16_t>(x);
  y_[Slot(col, row)] = static_cast<std::int16_t>(y);
}

}  // namespace korimo
