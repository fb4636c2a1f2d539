#include "app/PatchChart.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>

#include "color/ColorConvert.h"
#include "core/Common.h"

namespace korimo {

namespace {

constexpr int kOverLineWidth = 5;
// The line across the empty lower half of a Reference patch without a partner.
constexpr std::uint32_t kUnpairedLine = kBlack;

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// The exponent after the last 'e' or 'E' of `rest`, when a signed run of
// digits ends the text there; else 0. Saturated, since only its size
// against the digit count of an identifier matters.
std::int64_t ExponentOf(std::string_view rest) {
  constexpr std::int64_t kSaturated = 1'000'000'000;
  const std::size_t e = rest.find_last_of("eE");
  if (e == std::string_view::npos)
    return 0;
  std::string_view digits = rest.substr(e + 1);
  const bool negative = !digits.empty() && digits.front() == '-';
  if (!digits.empty() && (digits.front() == '-' || digits.front() == '+'))
    digits.remove_prefix(1);
  if (digits.empty() || !std::all_of(digits.begin(), digits.end(), IsDigit))
    return 0;
  std::int64_t value = 0;
  for (char c : digits)
    value = std::min(kSaturated, value * 10 + (c - '0'));
  return negative ? -value : value;
}

// The largest ParseInteger of the identifier's text from any digit to its
// end, in time linear in its length. Parsing the text from every digit would
// take time quadratic in the length. A number that ParseInteger takes has at
// most three runs of digits (whole part, fraction, exponent), so only the
// last three runs can start one. Within a run, a start further left gives a
// value at least as large, so the largest in range is at the leftmost start
// whose whole part, shifted by the exponent e, has at most 5 digits: 5 - e
// digits from the run's end may still exceed 32767, 4 - e never do, and a
// leading zero repeats the value of the digit after it.
int LargestNumberIn(std::string_view id) {
  std::size_t end = id.size();
  while (end > 0 && (id[end - 1] == ' ' || id[end - 1] == '\t'))
    --end;
  int m = 0;
  std::size_t runEnd = end;
  for (int run = 0; run < 3; ++run) {
    while (runEnd > 0 && !IsDigit(id[runEnd - 1]))
      --runEnd;
    if (runEnd == 0)
      break;
    std::size_t runStart = runEnd;
    while (runStart > 0 && IsDigit(id[runStart - 1]))
      --runStart;
    const std::int64_t e = ExponentOf(id.substr(runEnd, end - runEnd));
    const auto length = static_cast<std::int64_t>(runEnd - runStart);
    for (const std::int64_t digits : {5 - e, 4 - e}) {
      if (digits < 1)
        continue;
      const auto from = runEnd - static_cast<std::size_t>(std::min(digits, length));
      m = std::max(m, static_cast<int>(ParseInteger(id.substr(from))));
    }
    runEnd = runStart;
  }
  return m;
}

// Largest number found in the identifiers before the first one holding
// "GS0"; 0 when the identifiers give none.
int LargestIdentifierNumber(const Comparison& c, int n, bool& stoppedAtGs0) {
  int m = 0;
  stoppedAtGs0 = false;
  for (int i = 0; i < n; ++i) {
    const std::string& id = c.PatchId(i);
    if (id.find("GS0") != std::string::npos) {
      stoppedAtGs0 = true;
      return m;
    }
    m = std::max(m, LargestNumberIn(id));
  }
  return m;
}

void SetShape(ChartGeometry& g, int rows, int cols) {
  g.ChartRows = static_cast<std::int16_t>(rows);
  g.ChartCols = static_cast<std::int16_t>(cols);
}

int ColumnsFor(int n, int rows) {
  return n / rows + (n % rows > 0 ? 1 : 0);
}

int RoundedRoot(int n) {
  return static_cast<int>(std::nearbyint(std::sqrt(static_cast<double>(n))));
}

void FallbackShape(ChartGeometry& g, int n, int m) {
  int c = m == 0 ? RoundedRoot(n) : m;
  for (;;) {
    if (c >= 1 && n % c == 0) {
      SetShape(g, c, n / c);
      return;
    }
    --c;
    if (c >= n || c < 1) {
      // Only reachable when the count has no divisor below the start; the
      // square-root shape with a partly filled last column serves then.
      const int rows = std::max(RoundedRoot(n), 1);
      SetShape(g, rows, ColumnsFor(n, rows));
      return;
    }
  }
}

// Every patch compared so far? Before anything is compared, cells show
// their colours only.
bool Compared(const Comparison& c, Pair chart) {
  return chart != Pair::ReferenceFile1 || c.Loaded(DataSet::File1) || c.Loaded(DataSet::File2);
}

void DrawMarks(const ChartScene& scene, const Thresholds& t, Canvas& box, int patch, int X, int Y,
               int s) {
  const Comparison& c = scene.c;
  const Pair chart = scene.chart;
  const int h = s / 2;
  const Metric metric = c.Panel().metric;
  const float v = c.PairOf(chart).Stored(metric, patch);
  const float maximum = c.Max(metric, chart);
  if (v == maximum && maximum != 0) {
    box.Line(X + s - 1, Y, X, Y + s - 1, kBlue);
    box.Line(X, Y, X + s - 1, Y + s - 1, kBlue);
    box.RectOutline(X, Y, X + s - 1, Y + s - 1, kRed);
  }
  // Marks need a compared pair that is not identical everywhere; this always
  // asks the ⊿E maximum, whichever metric is shown.
  if (c.MaxDeAb(chart) == 0)
    return;
  if (c.Panel().underMarks && v < t.Under(metric)) {
    double r = std::nearbyint(0.3 * s);
    if (r <= 1)
      r = 2;
    box.Circle(X + h, Y + h, r, kWhite);
    box.FillRect(X + h - 1, Y + h - 1, X + h + 1, Y + h + 1, kBlack);
  }
  if (c.Panel().overMarks && v > t.Over(metric)) {
    box.SetLineWidth(kOverLineWidth);
    box.Circle(X + h, Y + h, static_cast<float>(0.1 * s), kBlack);
    box.SetLineWidth(1);
    box.FillRect(X + h - 1, Y + h - 1, X + h + 1, Y + h + 1, kWhite);
  }
}

void ShapeFromFile(const Comparison& c, ChartGeometry& g, int n) {
  const int rowLength = c.RowLength(DataSet::Reference);
  if (rowLength >= 1) {
    SetShape(g, rowLength, std::max(ColumnsFor(n, rowLength), 1));
    return;
  }
  SetShape(g, 0, 0);
  int m = 0;
  if (!c.PatchId(0).empty()) {
    bool stoppedAtGs0 = false;
    m = LargestIdentifierNumber(c, n, stoppedAtGs0);
    if (!stoppedAtGs0 && m > 0) {
      SetShape(g, m, ColumnsFor(n, m));
      return;
    }
  }
  FallbackShape(g, n, m);
}

void PaintCell(const ChartScene& scene, const Thresholds& t, int patch, Canvas& box) {
  const ChartGeometry& g = scene.g;
  const Comparison& c = scene.c;
  if (!g.Laid() || patch < 0 || patch > c.ShownPatchCount() - 1 || box.Blank())
    return;
  const int X = g.CellX(g.ColumnOf(patch), g.RowOf(patch));
  const int Y = g.CellY(g.ColumnOf(patch), g.RowOf(patch));
  const int s = g.CellSize;
  const int h = s / 2;
  const auto& upper = c.Lab(DataSet::Reference, patch);
  box.FillRect(X, Y, X + s - 1, Y + h, LabToRgb(upper[0], upper[1], upper[2]));
  // The lower half shows the sample patch this Reference patch meets.
  const PairMap& map = c.PairOf(scene.chart).map;
  const bool ofPair = scene.lowerSet == SampleOf(scene.chart);
  const bool paired = !ofPair || map.Paired(patch);
  // Drawn second, the lower half owns the shared middle row.
  if (paired) {
    const auto& lower = c.Lab(scene.lowerSet, ofPair ? map.SampleOf(patch) : patch);
    box.FillRect(X, Y + h, X + s - 1, Y + s - 1, LabToRgb(lower[0], lower[1], lower[2]));
  } else {
    // Nothing to compare with: an empty half, crossed out thinly.
    box.FillRect(X, Y + h, X + s - 1, Y + s - 1, box.Background());
    box.Line(X, Y + s - 1, X + s - 1, Y + h, kUnpairedLine);
  }
  if (!Compared(c, scene.chart))
    return;
  if (paired)
    DrawMarks(scene, t, box, patch, X, Y, s);
  if (scene.selection == CellSelection::Shown && scene.selected - 1 == patch) {
    box.RectOutline(X, Y, X + s - 1, Y + s - 1, kBlue);
    box.RectOutline(X + 1, Y + 1, X + s - 2, Y + s - 2, kWhite);
  }
}

}  // namespace

void ChooseChartShape(const Comparison& c, const Surfaces& surfaces, ChartGeometry& g) {
  const int n = c.ShownPatchCount();
  ShapeFromFile(c, g, n);
  // Plain numbered identifiers (1 ... 1617) or a row length taller than the
  // box ask for more cells than the box has pixels, and every cell would be
  // 0 pixels: the chart would stay blank. The square-root shape shows it.
  if (g.ChartRows > surfaces.chartHeight || g.ChartCols > surfaces.chartWidth) {
    const int rows = std::max(RoundedRoot(n), 1);
    SetShape(g, rows, ColumnsFor(n, rows));
  }
}

void LayoutChart(const Surfaces& surfaces, ChartGeometry& g) {
  const int width = surfaces.chartWidth;
  const int height = surfaces.chartHeight;
  if (!g.Laid()) {
    g.CellSize = 0;
    g.Redim(g.ChartCols, g.ChartRows);
    return;
  }
  const int cell = std::min(height / g.ChartRows, width / g.ChartCols);
  g.CellSize = static_cast<std::int16_t>(cell);
  const int offY = (height - g.ChartRows * cell) / 2;
  const int offX = (width - g.ChartCols * cell) / 2;
  g.Redim(g.ChartCols, g.ChartRows);
  for (int row = 0; row < g.ChartRows; ++row) {
    for (int col = 0; col < g.ChartCols; ++col)
      g.SetCell(col, row, col * cell + offX, row * cell + offY);
  }
}

void PaintChart(const ChartScene& scene, Canvas& box) {
  const Thresholds t = scene.c.CurrentThresholds();
  const int cells = scene.g.ChartCols * scene.g.ChartRows;
  for (int p = 0; p < cells; ++p)
    PaintCell(scene, t, p, box);
}

void PaintPatchCell(const ChartScene& scene, int patch, Canvas& box) {
  PaintCell(scene, scene.c.CurrentThresholds(), patch, box);
}

bool LowerSetOfChart(const Comparison& c, Pair chart, DataSet& lower) {
  if (chart == Pair::ReferenceFile2) {
    lower = DataSet::File2;
    return c.Loaded(DataSet::File2);
  }
  lower = c.Loaded(DataSet::File1) ? DataSet::File1 : DataSet::Reference;
  return c.Loaded(lower);
}

}  // namespace korimo
