#include "app/ResultsGrid.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numeric>

#include "color/ColorConvert.h"
#include "core/Common.h"
#include "core/TextFields.h"
#include "core/Utf8.h"

namespace korimo {

namespace {

constexpr std::size_t kNumberWidth = 5;
constexpr std::string_view kFourBlanks = "    ";
constexpr std::string_view kFiveBlanks = "     ";

double SortKeyOf(const ComparisonData& d, int i, int k) {
  if (k >= 2 && k <= 4)
    return d.Lab0[i][k - 2];
  if (k >= 5 && k <= 7)
    return d.Lab1[i][k - 5];
  if (k == 8)
    return d.DeAb[i][0];
  if (k == 9)
    return d.De00[i][0];
  if (k >= 10 && k <= 12)
    return d.Lab2[i][k - 10];
  if (k == 13)
    return d.DeAb[i][1];
  if (k == 14)
    return d.De00[i][1];
  return i;  // 0 and 1: patch order; identifiers are never compared
}

std::string RightAligned(std::string_view padding, const std::string& text) {
  // Numbers and most identifiers are ASCII, one byte a character.
  if (std::all_of(text.begin(), text.end(), [](char c) { return c > 0; })) {
    if (text.size() >= kNumberWidth)
      return text.substr(text.size() - kNumberWidth);
    const std::size_t pad = std::min(padding.size(), kNumberWidth - text.size());
    return std::string(padding.substr(padding.size() - pad)) + text;
  }
  const std::string padded = std::string(padding) + text;
  return std::string(LastChars(padded, kNumberWidth));
}

GridRow RowOf(const ComparisonData& d, int i) {
  GridRow row;
  row[0] = RightAligned(kFourBlanks, std::to_string(i + 1));
  row[1] = RightAligned(kFiveBlanks, d.PatchId[i]);
  for (int k = 0; k < 3; ++k) {
    row[2 + k] = FormatTwoDec(d.Lab0[i][k]);
    row[5 + k] = FormatTwoDec(d.Lab1[i][k]);
  }
  row[8] = FormatTwoDec(d.DeAb[i][0]);
  row[9] = FormatTwoDec(d.De00[i][0]);
  // A File2 patch without lightness has no measurement behind it.
  if (d.Lab2[i][0] > 0) {
    for (int k = 0; k < 3; ++k)
      row[10 + k] = FormatTwoDec(d.Lab2[i][k]);
    row[13] = FormatTwoDec(d.DeAb[i][1]);
    row[14] = FormatTwoDec(d.De00[i][1]);
  }
  return row;
}

// The cell texts follow only the data read, so they are rebuilt only after a
// read; a sort reuses them.
void RefreshCells(EngineState& state, int n) {
  GridContent& grid = state.record.FlexG;
  if (state.gridCellsRevision == state.dataRevision &&
      grid.cells.size() == static_cast<std::size_t>(n))
    return;
  grid.cells.clear();
  grid.cells.reserve(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i)
    grid.cells.push_back(RowOf(state.Data(), i));
  state.gridCellsRevision = state.dataRevision;
}

// Replaces the last character of `text` by `mark`.
void ReplaceLastChar(std::string& text, std::string_view mark) {
  if (text.empty())
    return;
  text.replace(text.size() - LastChars(text, 1).size(), std::string::npos, mark);
}

bool EndsWithMark(const std::string& text) {
  return text.ends_with(kAscendingMark) || text.ends_with(kDescendingMark);
}

}  // namespace

void FillGrid(EngineState& state) {
  const ComparisonData& d = state.Data();
  const int n = ShownPatchCount(d);
  if (n == 0)
    return;
  RefreshCells(state, n);
  const int k = std::abs(state.GridSortKey);
  std::vector<double> keys(static_cast<std::size_t>(n));
  std::vector<std::int16_t> order(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) {
    order[static_cast<std::size_t>(i)] = static_cast<std::int16_t>(i);
    keys[static_cast<std::size_t>(i)] = SortKeyOf(d, i, k);
  }
  // The Reference's count, even when the rows come from File1 or File2.
  SortWithIndex(keys, order, std::min<int>(d.PatchCount[0], n));
  GridContent& grid = state.record.FlexG;
  grid.order.resize(static_cast<std::size_t>(n));
  for (int r = 0; r < n; ++r) {
    const std::size_t from = static_cast<std::size_t>(state.GridSortKey >= 0 ? r : n - 1 - r);
    grid.order[static_cast<std::size_t>(r)] = order[from];
  }
  ++grid.revision;
  FlexG_Scroll(state, state.gridTopRow);
}

void FlexG_MouseDown(EngineState& state, bool onHeadingRow) {
  state.GridHeaderDown = onHeadingRow;
}

bool FlexG_Click(EngineState& state, int column) {
  if (!state.GridHeaderDown)
    return false;
  state.GridHeaderDown = false;
  ApplyHeadingClick(state.GridSortKey, state.record.FlexG_Headings, column);
  FillGrid(state);
  return true;
}

bool FlexG_MouseUp(EngineState& state, MouseButton button) {
  if (button != MouseButton::Right)
    return false;
  state.record.Menu_EditSub_Enabled = state.Loaded(DataSet::File1) || state.Loaded(DataSet::File2);
  state.menuSource = MenuSource::Grid;
  state.menuIndex = Pair::ReferenceFile1;
  return true;
}

void FlexG_Scroll(EngineState& state, int topRow) {
  state.gridTopRow = topRow;
  Raster& strip = state.pictures.PictD;
  const int visible = state.surfaces.gridVisibleRows;
  if (visible <= 0 || strip.Empty())
    return;
  const GridContent& grid = state.record.FlexG;
  const int w = strip.Width();
  const int h = static_cast<int>(std::nearbyint(static_cast<double>(strip.Height()) / visible));
  const int count = std::min(ShownPatchCount(state.Data()), visible);
  for (int g = 0; g < count; ++g) {
    const std::size_t row = static_cast<std::size_t>(topRow - 1 + g);
    if (topRow < 1 || row >= grid.RowCount())
      break;  // the grid shows fewer rows than fit
    // The colours come from the texts shown, not from the stored values.
    const GridRow& cells = grid.Row(row);
    const double L = ParseSingle(cells[2]);
    const double a = ParseSingle(cells[3]);
    const double b = ParseSingle(cells[4]);
    strip.FillRect(0, h * g, w - 1, h * g + h - 1, LabToRgb(L, a, b));
  }
}

void ApplyHeadingClick(std::int16_t& gridSortKey, std::array<std::string, kGridCols>& headings,
                       int column) {
  if (column < 0 || column >= kGridCols)
    return;
  std::string& marked = headings[static_cast<std::size_t>(std::abs(gridSortKey) % kGridCols)];
  if (EndsWithMark(marked))
    ReplaceLastChar(marked, kNoMark);
  if (EndsWithMark(headings[0]))
    ReplaceLastChar(headings[0], kNoMark);
  const int k = column == 0 ? 1 : column;
  if (k == std::abs(gridSortKey)) {
    gridSortKey = static_cast<std::int16_t>(-gridSortKey);
  } else {
    gridSortKey = static_cast<std::int16_t>(k);
  }
  ReplaceLastChar(headings[static_cast<std::size_t>(column)],
                  gridSortKey < 0 ? kDescendingMark : kAscendingMark);
}

std::string GridText(const WindowRecord& r) {
  std::string text;
  const auto appendRow = [&text](const GridRow& row) {
    for (int c = 0; c < kGridCols; ++c) {
      if (c > 0)
        text += '\t';
      text += row[static_cast<std::size_t>(c)];
    }
    text += "\r\n";
  };
  appendRow(r.FlexG_Headings);
  for (std::size_t i = 0; i < r.FlexG.RowCount(); ++i)
    appendRow(r.FlexG.Row(i));
  return text;
}

}  // namespace korimo
