#include "app/ChartCells.h"

#include <algorithm>
#include <cmath>

#include "core/Common.h"

namespace korimo {

namespace {

const std::string kEmptyName = "A1  ";

void SplitPatch(const ChartGeometry& g, int patch, int& col, int& row) {
  col = patch / g.ChartRows;
  row = patch % g.ChartRows;
}

}  // namespace

int RoundPixel(double v) {
  if (!std::isfinite(v))
    return 0;
  const double r = std::nearbyint(std::clamp(v, -32768.0, 32767.0));
  return static_cast<int>(r);
}

CellHit HitTestCell(const ChartGeometry& g, int x, int y) {
  for (int col = 0; col < g.ChartCols; ++col) {
    for (int row = 0; row < g.ChartRows; ++row) {
      const int cx = g.CellX(col, row);
      const int cy = g.CellY(col, row);
      if (cx <= x && x <= cx + g.CellSize && cy <= y && y <= cy + g.CellSize) {
        return {col * g.ChartRows + row, cx, cy};
      }
    }
  }
  return {};
}

int LowerSetOfChart(const ComparisonData& d, int chart) {
  if (chart == 0) {
    if (d.PatchCount[1] >= 1)
      return 1;
    if (d.PatchCount[0] >= 1)
      return 0;
    return -1;
  }
  return d.PatchCount[2] >= 1 ? 2 : -1;
}

std::string IdentifierAt(const ComparisonData& d, int position) {
  if (position < 0 || position >= kSlots)
    return {};
  return d.PatchId[position];
}

std::string PatchInfoText(const ComparisonData& d, int chart, int p) {
  std::string name = IdentifierAt(d, p);
  if (name.empty())
    name = kEmptyName;
  const LabTable& other = chart == 0 ? d.Lab1 : d.Lab2;
  std::string text = "基準 " + name + "  L=" + FormatFixed7(d.Lab0[p][0]) +
                     "  a=" + FormatFixed7(d.Lab0[p][1]) + "  b=" + FormatFixed7(d.Lab0[p][2]) +
                     "    ⊿E  ⊿E00";
  text += "\r\n";
  text += "対象 " + name + "  L=" + FormatFixed7(other[p][0]) + "  a=" + FormatFixed7(other[p][1]) +
          "  b=" + FormatFixed7(other[p][2]) + FormatFixed7(d.DeAb[p][chart]) +
          FormatFixed7(d.De00[p][chart]);
  return text;
}

void UpdateAreaSelection(FormState& state, FormView& view, int chart, float xIn, float yIn) {
  const ChartGeometry& g = state.chart;
  const ComparisonData& d = *state.data;
  if (g.ChartRows < 1 || g.ChartCols < 1)
    return;
  double x = xIn;
  double y = yIn;
  // Clamp the pointer to the cell grid.
  x = std::max<double>(x, g.CellX(0, 0));
  x = std::min<double>(x, g.CellX(g.ChartCols - 1, 0) + g.CellSize);
  y = std::max<double>(y, g.CellY(0, 0));
  y = std::min<double>(y, g.CellY(0, g.ChartRows - 1) + g.CellSize);

  const int x0 = state.SelX[chart][0];
  const int y0 = state.SelY[chart][0];
  int w = RoundPixel(x - x0);
  int h = RoundPixel(y - y0);
  if (w == 0)
    w = 1;
  if (h == 0)
    h = 1;
  int left = x0;
  int top = y0;
  if (w < 0) {
    w = -w;
    left = RoundPixel(x);
  }
  if (h < 0) {
    h = -h;
    top = RoundPixel(y);
  }
  view.MoveAreaBox(chart, left, top, w, h);

  int p1 = HitTestCell(g, x0, y0).patch;
  int p2 = HitTestCell(g, RoundPixel(x), RoundPixel(y)).patch;
  if (p1 < 0)
    p1 = 0;
  if (p2 < 0)
    p2 = 0;
  int g1 = 0, k1 = 0, g2 = 0, k2 = 0;
  SplitPatch(g, p1, g1, k1);
  SplitPatch(g, p2, g2, k2);
  const int gLo = std::min(g1, g2), gHi = std::max(g1, g2);
  const int kLo = std::min(k1, k2), kHi = std::max(k1, k2);

  double sumAb = 0, sum00 = 0, maxAb = 0, max00 = 0;
  int count = 0;
  for (int col = gLo; col <= gHi; ++col) {
    for (int row = kLo; row <= kHi; ++row) {
      const int p = col * g.ChartRows + row;
      if (p < 0 || p >= d.PatchCount[0])
        continue;
      const double ab = d.DeAb[p][chart];
      const double e00 = d.De00[p][chart];
      sumAb += ab;
      sum00 += e00;
      ++count;
      maxAb = std::max(maxAb, ab);
      max00 = std::max(max00, e00);
    }
  }
  if (count == 0)
    return;
  const int rows = g.ChartRows;
  const std::string corners =
      IdentifierAt(d, gLo * rows + kLo) + "-" + IdentifierAt(d, gLo * rows + kHi) + ":" +
      IdentifierAt(d, gHi * rows + kLo) + "-" + IdentifierAt(d, gHi * rows + kHi);
  view.SetCaption(Ctl::Lb_DeBox, chart,
                  corners + "  ⊿E=" + FormatTwoDec(sumAb / count) + " Max=" + FormatTwoDec(maxAb) +
                      "  ⊿E00=" + FormatTwoDec(sum00 / count) + " Max=" + FormatTwoDec(max00));
}

int MinimumFrameSize(int cellSize) {
  const int m = static_cast<int>(std::nearbyint(cellSize / 2.0));
  return m < 3 ? 3 : m;
}

}  // namespace korimo
