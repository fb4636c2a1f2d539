#include "app/ChartLayout.h"

#include <cmath>
#include <string>

#include "color/ColorConvert.h"
#include "core/Common.h"

namespace korimo {

namespace {

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

void SetShape(FormState& state, int rows, int cols) {
  state.chart.ChartRows = static_cast<std::int16_t>(rows);
  state.chart.ChartCols = static_cast<std::int16_t>(cols);
}

int ColumnsFor(int n, int rows) {
  return n / rows + (n % rows > 0 ? 1 : 0);
}

void FallbackShape(FormState& state, int n, int m) {
  const int rootRows = static_cast<int>(std::nearbyint(std::sqrt(static_cast<double>(n))));
  int c = m == 0 ? rootRows : m;
  for (;;) {
    if (c >= 1 && n % c == 0) {
      SetShape(state, c, n / c);
      return;
    }
    --c;
    if (c >= n || c < 1) {
      // Only reachable when the count has no divisor below the start; the
      // square-root shape with a partly filled last column serves then.
      const int rows = rootRows < 1 ? 1 : rootRows;
      SetShape(state, rows, ColumnsFor(n, rows));
      return;
    }
  }
}

}  // namespace

void ChooseChartShape(FormState& state) {
  const ComparisonData& d = *state.data;
  const int n = ShownPatchCount(d);
  if (d.RowLength[0] >= 1) {
    const int rows = d.RowLength[0];
    const int cols = ColumnsFor(n, rows);
    SetShape(state, rows, cols < 1 ? 1 : cols);
    return;
  }
  SetShape(state, 0, 0);
  int m = 0;
  if (!d.PatchId[0].empty()) {
    bool stoppedAtGs0 = false;
    m = LargestIdentifierNumber(d, n, stoppedAtGs0);
    if (!stoppedAtGs0 && m > 0) {
      SetShape(state, m, ColumnsFor(n, m));
      return;
    }
  }
  FallbackShape(state, n, m);
}

void LayoutChart(FormState& state, int width, int height) {
  ChartGeometry& g = state.chart;
  if (g.ChartRows < 1 || g.ChartCols < 1) {
    g.CellSize = 0;
    g.Redim(g.ChartCols, g.ChartRows);
    return;
  }
  int cell = height / g.ChartRows;
  if (width / g.ChartCols < cell)
    cell = width / g.ChartCols;
  g.CellSize = static_cast<std::int16_t>(cell);
  const int offY = (height - g.ChartRows * cell) / 2;
  const int offX = (width - g.ChartCols * cell) / 2;
  g.Redim(g.ChartCols, g.ChartRows);
  for (int k = 0; k < g.ChartRows; ++k) {
    for (int col = 0; col < g.ChartCols; ++col)
      g.SetCell(col, k, col * cell + offX, k * cell + offY);
  }
}

void ShowPatchChart(FormState& state, FormView& view, int set) {
  if (set != 0) {
    view.DrawChart(set);
    return;
  }
  ChooseChartShape(state);
  LayoutChart(state, view.ChartAreaWidth(), view.ChartAreaHeight());
  view.DrawChart(0);
  if (!view.Caption(Ctl::Lb_File, 1).empty())
    view.DrawChart(1);
  if (!view.Caption(Ctl::Lb_File, 2).empty())
    view.DrawChart(2);
}

PatchCellPlan PlanPatchCell(const FormState& state, const FormView& view, int chart, int lowerSet,
                            int patch) {
  PatchCellPlan plan;
  const ChartGeometry& g = state.chart;
  const ComparisonData& d = *state.data;
  if (g.ChartCols == 0 || g.ChartRows == 0 || patch < 0 || patch > ShownPatchCount(d) - 1) {
    return plan;
  }
  const int col = patch / g.ChartRows;
  const int row = patch % g.ChartRows;
  plan.draw = true;
  plan.x = g.CellX(col, row);
  plan.y = g.CellY(col, row);
  plan.size = g.CellSize;
  plan.half = g.CellSize / 2;
  const auto& upper = d.Lab0[patch];
  const auto& lower = d.Lab(lowerSet)[patch];
  plan.upperColor = LabToRgb(upper[0], upper[1], upper[2]);
  plan.lowerColor = LabToRgb(lower[0], lower[1], lower[2]);
  // Before anything is compared the cell shows its colours only.
  if (chart == 0 && d.PatchCount[1] == 0 && d.PatchCount[2] == 0)
    return plan;
  plan.selectionFrame = state.PrevPatch[chart] - 1 == patch;

  const bool deAb = view.MetricIsDeAb();
  const float v = deAb ? d.DeAb[patch][chart] : d.De00[patch][chart];
  const float maximum = deAb ? d.MaxDeAb[chart] : d.MaxDe00[chart];
  plan.maxMark = v == maximum && maximum != 0;
  // Marks need a compared pair that is not identical everywhere; this always
  // asks the dE*ab maximum, whichever metric is shown.
  if (d.MaxDeAb[chart] != 0) {
    const float under = deAb ? d.UnderDeAb : d.UnderDe00;
    const float over = deAb ? d.OverDeAb : d.OverDe00;
    if (view.UnderMarksOn() && v < under) {
      plan.underMark = true;
      double r = std::nearbyint(0.3 * plan.size);
      if (r <= 1)
        r = 2;
      plan.underRadius = r;
    }
    if (view.OverMarksOn() && v > over) {
      plan.overMark = true;
      plan.overRadius = static_cast<float>(0.1 * plan.size);
    }
  }
  return plan;
}

}  // namespace korimo
