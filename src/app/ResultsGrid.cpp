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

double SortKeyOf(const Comparison& c, int i, int k) {
  const auto sampleLab = [&](Pair pair, int component) {
    const PairComparison& p = c.PairOf(pair);
    return static_cast<double>(c.Lab(SampleOf(pair), p.map.SampleOf(i))[component]);
  };
  if (k >= 2 && k <= 4)
    return c.Lab(DataSet::Reference, i)[static_cast<std::size_t>(k - 2)];
  if (k >= 5 && k <= 7)
    return sampleLab(Pair::ReferenceFile1, k - 5);
  if (k == 8)
    return c.PairOf(Pair::ReferenceFile1).StoredDeAb(i);
  if (k == 9)
    return c.PairOf(Pair::ReferenceFile1).StoredDe00(i);
  if (k >= 10 && k <= 12)
    return sampleLab(Pair::ReferenceFile2, k - 10);
  if (k == 13)
    return c.PairOf(Pair::ReferenceFile2).StoredDeAb(i);
  if (k == 14)
    return c.PairOf(Pair::ReferenceFile2).StoredDe00(i);
  return i;  // 0 and 1: patch order; identifiers are never compared
}

std::string RightAligned(std::string_view padding, const std::string& text) {
  // Numbers and most identifiers are ASCII, one byte a character.
  if (std::all_of(text.begin(), text.end(), [](char ch) { return ch > 0; })) {
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
CellValues ValuesOf(const Comparison& c, int i) {
  constexpr double kNone = std::numeric_limits<double>::quiet_NaN();
  CellValues values;
  values.fill(kNone);
  const auto& ref = c.Lab(DataSet::Reference, i);
  values[0] = ref[0];
  values[1] = ref[1];
  values[2] = ref[2];
  for (Pair pair : kAllPairs) {
    const PairComparison& p = c.PairOf(pair);
    if (!p.map.Paired(i))
      continue;
    const std::size_t at = pair == Pair::ReferenceFile1 ? 3 : 8;
    const auto& lab = c.Lab(SampleOf(pair), p.map.SampleOf(i));
    values[at] = lab[0];
    values[at + 1] = lab[1];
    values[at + 2] = lab[2];
    values[at + 3] = p.StoredDeAb(i);
    values[at + 4] = p.StoredDe00(i);
  }
  return values;
}

void WriteRow(GridRow& row, const Comparison& c, int i) {
  const CellValues now = ValuesOf(c, i);
  std::string text;
  text.reserve(96);
  std::array<std::uint16_t, kGridCols> ends{};
  const auto end = [&](std::size_t col) { ends[col] = static_cast<std::uint16_t>(text.size()); };
  text.append(RightAligned(kFourBlanks, std::to_string(i + 1)));
  end(0);
  text.append(RightAligned(kFiveBlanks, c.ShownId(i)));
  end(1);
  constexpr std::size_t kFile2 = 8;  // L2 decides whether File2's cells show
  for (std::size_t v = 0; v < now.size(); ++v) {
    // A File2 patch without lightness has no measurement behind it; a
    // sample patch not met has no value at all.
    if (!(v >= kFile2 && !(now[kFile2] > 0)) && !std::isnan(now[v]))
      AppendTwoDec(text, now[v]);
    end(v + 2);
  }
  row.Assign(std::move(text), ends);
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

void FillGridContent(const ComparisonPtr& from, std::int16_t sortKey, GridContent& grid) {
  const Comparison& c = *from;
  const int n = c.ShownPatchCount();
  if (grid.cellsFrom != from) {
    grid.cells.resize(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i)
      WriteRow(grid.cells[static_cast<std::size_t>(i)], c, i);
    grid.cellsFrom = from;
  }
  const int k = std::abs(sortKey);
  // Sorted by a sample's column, rows without a partner have no key: they
  // follow the others in either direction, in patch order.
  const std::optional<Pair> column = PairOfColumn(k);
  std::vector<double> keys;
  std::vector<std::int16_t> order;
  std::vector<std::int16_t> unpaired;
  keys.reserve(static_cast<std::size_t>(n));
  order.reserve(static_cast<std::size_t>(n));
  const int refCount = c.Count(DataSet::Reference);
  int sorted = std::min(refCount, n);
  for (int i = 0; i < n; ++i) {
    if (column && !c.PairOf(*column).map.Paired(i)) {
      unpaired.push_back(static_cast<std::int16_t>(i));
      sorted -= i < refCount ? 1 : 0;
      continue;
    }
    order.push_back(static_cast<std::int16_t>(i));
    keys.push_back(SortKeyOf(c, i, k));
  }
  // The Reference's count, even when the rows come from File1 or File2.
  SortWithIndex(keys, order, sorted);
  const int m = static_cast<int>(order.size());
  grid.order.resize(static_cast<std::size_t>(n));
  for (int r = 0; r < m; ++r) {
    const std::size_t at = static_cast<std::size_t>(sortKey >= 0 ? r : m - 1 - r);
    grid.order[static_cast<std::size_t>(r)] = order[at];
  }
  std::copy(unpaired.begin(), unpaired.end(), grid.order.begin() + m);
  ++grid.revision;
}

void FillGrid(EngineState& state) {
  if (state.Current().ShownPatchCount() == 0)
    return;
  state.shown.grid = state.comparison;
  state.shown.gridKey = state.inputs.sortKey;
  state.shown.gridPending = true;
  state.shown.swatchesPending = true;
}

void FlexG_MouseDown(EngineState& state, bool onHeadingRow) {
  state.ui.gridHeaderDown = onHeadingRow;
}

bool FlexG_Click(EngineState& state, int column) {
  if (!state.ui.gridHeaderDown)
    return false;
  state.ui.gridHeaderDown = false;
  ApplyHeadingClick(state.inputs.sortKey, state.record.FlexG_Headings, column);
  FillGrid(state);
  return true;
}

bool FlexG_MouseUp(EngineState& state, MouseButton button) {
  if (button != MouseButton::Right)
    return false;
  const Comparison& c = state.Current();
  state.record.Menu_EditSub_Enabled = c.Loaded(DataSet::File1) || c.Loaded(DataSet::File2);
  state.ui.menuSource = MenuSource::Grid;
  state.ui.menuIndex = Pair::ReferenceFile1;
  return true;
}

void FlexG_Scroll(EngineState& state, int topRow) {
  state.ui.gridTopRow = topRow;
  PaintSwatches(state);
}

void PaintSwatches(EngineState& state) {
  Raster& strip = state.pictures.PictD;
  const int visible = state.surfaces.gridVisibleRows;
  const GridContent& grid = state.record.FlexG;
  if (visible <= 0 || strip.Empty() || !grid.cellsFrom)
    return;
  const int topRow = state.ui.gridTopRow;
  const int w = strip.Width();
  const int h = static_cast<int>(std::nearbyint(static_cast<double>(strip.Height()) / visible));
  const int count = std::min(state.Current().ShownPatchCount(), visible);
  for (int g = 0; g < count; ++g) {
    const std::size_t row = static_cast<std::size_t>(topRow - 1 + g);
    if (topRow < 1 || row >= grid.RowCount())
      break;  // the grid shows fewer rows than fit
    // The colour of the Reference values as the row's texts show them.
    const auto& lab = grid.cellsFrom->Lab(DataSet::Reference, grid.order[row]);
    strip.FillRect(0, h * g, w - 1, h * g + h - 1,
                   LabToRgb(TwoDecimalsAsSingle(lab[0]), TwoDecimalsAsSingle(lab[1]),
                            TwoDecimalsAsSingle(lab[2])));
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
