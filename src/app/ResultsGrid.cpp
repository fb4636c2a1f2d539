#include "app/ResultsGrid.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <numeric>
#include <optional>

#include "color/ColorConvert.h"
#include "core/Common.h"
#include "core/TextFields.h"
#include "core/Utf8.h"

namespace korimo {

namespace {

constexpr std::size_t kNumberWidth = 5;
constexpr std::string_view kFourBlanks = "    ";
constexpr std::string_view kFiveBlanks = "     ";

// The pair whose sample a sort column shows, if any.
std::optional<Pair> PairOfColumn(int k) {
  if (k >= 5 && k <= 9)
    return Pair::ReferenceFile1;
  if (k >= 10 && k <= 14)
    return Pair::ReferenceFile2;
  return std::nullopt;
}

double SortKeyOf(const EngineState& state, int i, int k) {
  const ComparisonData& d = state.Data();
  if (k >= 2 && k <= 4)
    return d.Lab0[i][k - 2];
  if (k >= 5 && k <= 7)
    return d.Lab1[state.Map(Pair::ReferenceFile1).SampleOf(i)][k - 5];
  if (k == 8)
    return d.DeAb[i][0];
  if (k == 9)
    return d.De00[i][0];
  if (k >= 10 && k <= 12)
    return d.Lab2[state.Map(Pair::ReferenceFile2).SampleOf(i)][k - 10];
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

// The values a row's number cells are written from, in column order from
// L0; a sample patch the Reference patch does not meet gives empty cells.
CellValues ValuesOf(const EngineState& state, int i) {
  const ComparisonData& d = state.Data();
  constexpr double kNone = std::numeric_limits<double>::quiet_NaN();
  CellValues values;
  values.fill(kNone);
  values[0] = d.Lab0[i][0];
  values[1] = d.Lab0[i][1];
  values[2] = d.Lab0[i][2];
  for (Pair pair : kAllPairs) {
    const PairMap& map = state.Map(pair);
    if (!map.Paired(i))
      continue;
    const std::size_t at = pair == Pair::ReferenceFile1 ? 3 : 8;
    const auto& lab = d.Lab(static_cast<int>(Index(SampleOf(pair))))[map.SampleOf(i)];
    const std::size_t p = Index(pair);
    values[at] = lab[0];
    values[at + 1] = lab[1];
    values[at + 2] = lab[2];
    values[at + 3] = d.DeAb[i][p];
    values[at + 4] = d.De00[i][p];
  }
  return values;
}

bool SameBits(double a, double b) {
  return std::memcmp(&a, &b, sizeof a) == 0;
}

// Writes the cells of patch i whose value differs from `before`, bit for bit;
// without `before`, all of them.
void WriteRow(GridRow& row, const EngineState& state, int i, const CellValues& now,
              const CellValues* before) {
  std::string text;
  text.reserve(96);
  std::array<std::uint16_t, kGridCols> ends{};
  const auto end = [&](std::size_t c) { ends[c] = static_cast<std::uint16_t>(text.size()); };
  text.append(before == nullptr ? RightAligned(kFourBlanks, std::to_string(i + 1)) : row[0]);
  end(0);
  text.append(RightAligned(kFiveBlanks, ShownId(state.Data(), state.pairingMode, i)));
  end(1);
  constexpr std::size_t kFile2 = 8;  // L2 decides whether File2's cells show
  const bool file2Changed = before == nullptr || !SameBits(now[kFile2], (*before)[kFile2]);
  for (std::size_t v = 0; v < now.size(); ++v) {
    const bool changed =
        before == nullptr || !SameBits(now[v], (*before)[v]) || (v >= kFile2 && file2Changed);
    // A File2 patch without lightness has no measurement behind it; a
    // sample patch not met has no value at all.
    if (!changed)
      text.append(row[v + 2]);
    else if (!(v >= kFile2 && !(now[kFile2] > 0)) && !std::isnan(now[v]))
      text.append(FormatTwoDec(now[v]));
    end(v + 2);
  }
  row.Assign(std::move(text), ends);
}

// The cell texts follow only the data read, so they are rebuilt only after a
// read, and then only where a value changed; a sort reuses them.
void RefreshCells(EngineState& state, int n) {
  GridContent& grid = state.record.FlexG;
  if (state.gridCellsRevision == state.dataRevision &&
      grid.cells.size() == static_cast<std::size_t>(n))
    return;
  const std::size_t rows = static_cast<std::size_t>(n);
  // Only rows whose remembered values match their texts can be kept.
  const std::size_t kept = std::min({grid.cells.size(), state.gridCellValues.size(), rows});
  grid.cells.resize(rows);
  state.gridCellValues.resize(rows);
  for (std::size_t i = 0; i < rows; ++i) {
    const CellValues now = ValuesOf(state, static_cast<int>(i));
    WriteRow(grid.cells[i], state, static_cast<int>(i), now,
             i < kept ? &state.gridCellValues[i] : nullptr);
    state.gridCellValues[i] = now;
  }
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
  // Sorted by a sample's column, rows without a partner have no key: they
  // follow the others in either direction, in patch order.
  const std::optional<Pair> column = PairOfColumn(k);
  std::vector<double> keys;
  std::vector<std::int16_t> order;
  std::vector<std::int16_t> unpaired;
  keys.reserve(static_cast<std::size_t>(n));
  order.reserve(static_cast<std::size_t>(n));
  int sorted = std::min<int>(d.PatchCount[0], n);
  for (int i = 0; i < n; ++i) {
    if (column && !state.Map(*column).Paired(i)) {
      unpaired.push_back(static_cast<std::int16_t>(i));
      sorted -= i < d.PatchCount[0] ? 1 : 0;
      continue;
    }
    order.push_back(static_cast<std::int16_t>(i));
    keys.push_back(SortKeyOf(state, i, k));
  }
  // The Reference's count, even when the rows come from File1 or File2.
  SortWithIndex(keys, order, sorted);
  const int m = static_cast<int>(order.size());
  GridContent& grid = state.record.FlexG;
  grid.order.resize(static_cast<std::size_t>(n));
  for (int r = 0; r < m; ++r) {
    const std::size_t from = static_cast<std::size_t>(state.GridSortKey >= 0 ? r : m - 1 - r);
    grid.order[static_cast<std::size_t>(r)] = order[from];
  }
  std::copy(unpaired.begin(), unpaired.end(), grid.order.begin() + m);
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
  const auto appendRow = [&text](const auto& row) {
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
