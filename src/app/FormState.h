#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "core/ComparisonData.h"

namespace korimo {

// Cell layout of the patch charts, shared by both chart boxes.
struct ChartGeometry {
  std::int16_t ChartRows = 0;
  std::int16_t ChartCols = 0;
  std::int16_t CellSize = 0;

  // Cell origins for columns 0..cols and rows 0..rows (the last of each spare).
  void Redim(int cols, int rows);
  int CellX(int g, int k) const;  // 0 outside the map, never out of bounds
  int CellY(int g, int k) const;
  void SetCell(int g, int k, int x, int y);

 private:
  int dimCols_ = 0;
  int dimRows_ = 0;
  std::vector<std::int16_t> x_;
  std::vector<std::int16_t> y_;
};

using HistCounts = std::array<std::int32_t, 11>;
using HistValues = std::array<float, 11>;

// Everything the window owns for its whole life besides its controls.
struct FormState {
  FormState();

  std::unique_ptr<ComparisonData> data;
  ChartGeometry chart;

  // Hover, selection and area drags, per chart (index 2 is never used).
  std::array<std::int16_t, 3> CurPatch{};
  std::array<std::int16_t, 3> PrevPatch{};  // selected patch + 1, 0 = none
  std::array<std::int16_t, 3> DragX0{};
  std::array<std::int16_t, 3> DragY0{};
  std::array<std::array<std::int16_t, 3>, 3> SelX{};  // [chart][0 start, 1 release]
  std::array<std::array<std::int16_t, 3>, 3> SelY{};

  // Results grid.
  std::int16_t GridSortKey = 0;  // |key| = column code, negative = descending
  bool GridHeaderDown = false;
  std::int16_t GridVisibleRows = 0;

  // Pop-up menu source: 1 chart, 2 histogram, 3 grid.
  std::int16_t MenuSource = 0;
  std::int16_t MenuIndex = 0;

  // Histogram bins per pair (index 2 is never used).
  std::array<HistCounts, 3> HistCount{};
  std::array<HistValues, 3> HistValue{};
};

}  // namespace korimo
