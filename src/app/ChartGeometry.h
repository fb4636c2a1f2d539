#pragma once

#include <cstdint>
#include <vector>

namespace korimo {

// Cell layout of the patch charts, shared by both chart boxes: patch p sits
// in column p \ ChartRows, row p mod ChartRows.
struct ChartGeometry {
  // The cell map as a window without a chart has it: 200 x 200 cells, size 0.
  static constexpr int kClearedDim = 200;

  ChartGeometry() { Redim(kClearedDim, kClearedDim); }

  std::int16_t ChartRows = 0;
  std::int16_t ChartCols = 0;
  std::int16_t CellSize = 0;

  // Cell origins for columns 0..cols and rows 0..rows (the last of each spare).
  void Redim(int cols, int rows);
  int CellX(int col, int row) const;  // 0 outside the map, never out of bounds
  int CellY(int col, int row) const;
  void SetCell(int col, int row, int x, int y);

  int ColumnOf(int patch) const { return patch / ChartRows; }
  int RowOf(int patch) const { return patch % ChartRows; }
  bool Laid() const { return ChartRows >= 1 && ChartCols >= 1; }

 private:
  std::size_t Slot(int col, int row) const;
  bool InMap(int col, int row) const;

  int dimCols_ = 0;
  int dimRows_ = 0;
  std::vector<std::int16_t> x_;
  std::vector<std::int16_t> y_;
};

}  // namespace korimo
