#include "app/PatchChart.h"

#include <cmath>
#include <string>

#include "color/ColorConvert.h"
#include "core/Common.h"

namespace korimo {

namespace {

constexpr int kOverLineWidth = 5;
// The line across the empty lower half of a Reference patch without a partner.
constexpr std::uint32_t kUnpairedLine = kBlack;

// Largest number found in the identifiers before the first one holding
// "GS0"; 0 when the identifiers give none.
int LargestIdentifierNumber(const ComparisonData& d, int n, bool& stoppedAtGs0) {
  int m = 0;
  stoppedAtGs0 = false;
  for (int i = 0; i < n; ++i) {
    const std::string& id = d.PatchId[i];
    if (id.find("GS0") != std::string::npos) {
      stoppedAtGs0 = true;
      return m;
    }
    for (std::size_t pos = 0; pos < id.size(); ++pos) {
      if (id[pos] < '0' || id[pos] > '9')
        continue;
      const int candidate = ParseInteger(std::string_view(id).substr(pos));
      if (candidate > m)
        m = candidate;
    }
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
bool Compared(const EngineState& state, Pair chart) {
  return chart != Pair::ReferenceFile1 || state.Loaded(DataSet::File1) ||
         state.Loaded(DataSet::File2);
}

void DrawMarks(EngineState& state, Raster& box, Pair chart, int patch, int X, int Y, int s) {
  const ComparisonData& d = state.Data();
  const std::size_t c = Index(chart);
  const int h = s / 2;
  const bool deAb = state.panel.metric == Metric::DeAb;
  const float v = deAb ? d.DeAb[patch][c] : d.De00[patch][c];
  const float maximum = deAb ? d.MaxDeAb[c] : d.MaxDe00[c];
  if (v == maximum && maximum != 0) {
    box.Line(X + s - 1, Y, X, Y + s - 1, kBlue);
    box.Line(X, Y, X + s - 1, Y + s - 1, kBlue);
    box.RectOutline(X, Y, X + s - 1, Y + s - 1, kRed);
  }
  // Marks need a compared pair that is not identical everywhere; this always
  // asks the ⊿E maximum, whichever metric is shown.
  if (d.MaxDeAb[c] == 0)
    return;
  const float under = deAb ? d.UnderDeAb : d.UnderDe00;
  const float over = deAb ? d.OverDeAb : d.OverDe00;
  if (state.panel.underMarks && v < under) {
    double r = std::nearbyint(0.3 * s);
    if (r <= 1)
      r = 2;
    box.Circle(X + h, Y + h, r, kWhite);
    box.FillRect(X + h - 1, Y + h - 1, X + h + 1, Y + h + 1, kBlack);
  }
  if (state.panel.overMarks && v > over) {
    box.SetLineWidth(kOverLineWidth);
    box.Circle(X + h, Y + h, static_cast<float>(0.1 * s), kBlack);
    box.SetLineWidth(1);
    box.FillRect(X + h - 1, Y + h - 1, X + h + 1, Y + h + 1, kWhite);
  }
}

void ShapeFromFile(EngineState& state, int n) {
  const ComparisonData& d = state.Data();
  ChartGeometry& g = state.chart;
  if (d.RowLength[0] >= 1) {
    const int rows = d.RowLength[0];
    SetShape(g, rows, std::max(ColumnsFor(n, rows), 1));
    return;
  }
  SetShape(g, 0, 0);
  int m = 0;
  if (!d.PatchId[0].empty()) {
    bool stoppedAtGs0 = false;
    m = LargestIdentifierNumber(d, n, stoppedAtGs0);
    if (!stoppedAtGs0 && m > 0) {
      SetShape(g, m, ColumnsFor(n, m));
      return;
    }
  }
  FallbackShape(g, n, m);
}

}  // namespace

void ChooseChartShape(EngineState& state) {
  const int n = ShownPatchCount(state.Data());
  ShapeFromFile(state, n);
  // Plain numbered identifiers (1 ... 1617) or a row length taller than the
  // box ask for more cells than the box has pixels, and every cell would be
  // 0 pixels: the chart would stay blank. The square-root shape shows it.
  ChartGeometry& g = state.chart;
  if (g.ChartRows > state.surfaces.chartHeight || g.ChartCols > state.surfaces.chartWidth) {
    const int rows = std::max(RoundedRoot(n), 1);
    SetShape(g, rows, ColumnsFor(n, rows));
  }
}

void LayoutChart(EngineState& state) {
  ChartGeometry& g = state.chart;
  const int width = state.surfaces.chartWidth;
  const int height = state.surfaces.chartHeight;
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

void ShowPatchChart(EngineState& state, DataSet set) {
  if (set != DataSet::Reference) {
    DrawChart(state, set);
    return;
  }
  ChooseChartShape(state);
  LayoutChart(state);
  DrawChart(state, DataSet::Reference);
  for (DataSet sample : {DataSet::File1, DataSet::File2}) {
    if (state.record.Chosen(sample))
      DrawChart(state, sample);
  }
}

void DrawChart(EngineState& state, DataSet set) {
  const Pair chart = ChartOf(set);
  Raster& box = state.ChartPicture(chart);
  if (box.Empty())
    return;
  box.Clear();
  const ChartGeometry& g = state.chart;
  const int cells = g.ChartCols * g.ChartRows;
  for (int p = 0; p < cells; ++p)
    DrawPatchCell(state, chart, set, p);
}

void DrawPatchCell(EngineState& state, Pair chart, DataSet lowerSet, int patch) {
  const ChartGeometry& g = state.chart;
  const ComparisonData& d = state.Data();
  Raster& box = state.ChartPicture(chart);
  if (!g.Laid() || patch < 0 || patch > ShownPatchCount(d) - 1 || box.Empty())
    return;
  const int X = g.CellX(g.ColumnOf(patch), g.RowOf(patch));
  const int Y = g.CellY(g.ColumnOf(patch), g.RowOf(patch));
  const int s = g.CellSize;
  const int h = s / 2;
  const auto& upper = d.Lab0[patch];
  box.FillRect(X, Y, X + s - 1, Y + h, LabToRgb(upper[0], upper[1], upper[2]));
  // The lower half shows the sample patch this Reference patch meets.
  const PairMap& map = state.Map(chart);
  const bool ofPair = lowerSet == SampleOf(chart);
  const bool paired = !ofPair || map.Paired(patch);
  // Drawn second, the lower half owns the shared middle row.
  if (paired) {
    const auto& lower =
        d.Lab(static_cast<int>(Index(lowerSet)))[ofPair ? map.SampleOf(patch) : patch];
    box.FillRect(X, Y + h, X + s - 1, Y + s - 1, LabToRgb(lower[0], lower[1], lower[2]));
  } else {
    // Nothing to compare with: an empty half, crossed out thinly.
    box.FillRect(X, Y + h, X + s - 1, Y + s - 1, box.Background());
    box.Line(X, Y + s - 1, X + s - 1, Y + h, kUnpairedLine);
  }
  if (!Compared(state, chart))
    return;
  if (paired)
    DrawMarks(state, box, chart, patch, X, Y, s);
  if (state.Mouse(chart).PrevPatch - 1 == patch) {
    box.RectOutline(X, Y, X + s - 1, Y + s - 1, kBlue);
    box.RectOutline(X + 1, Y + 1, X + s - 2, Y + s - 2, kWhite);
  }
}

}  // namespace korimo
