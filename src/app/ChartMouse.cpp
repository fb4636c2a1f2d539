#include "app/ChartMouse.h"

#include <algorithm>
#include <cmath>

#include "app/PatchChart.h"
#include "core/Common.h"

namespace korimo {

namespace {

// The name of a patch without an identifier.
const std::string kEmptyName = "A1  ";
// The frame a modified press starts with.
constexpr int kStartFrameSide = 2;

void PaintHoverOutline(Raster& box, int x, int y, int cellSize) {
  box.RectOutline(x, y, x + cellSize - 1, y + cellSize - 1, kWhite);
}

void EndDrag(EngineState& state, Pair chart, float x, float y) {
  ChartMouseState& m = state.ui.mouse[Index(chart)];
  m.SelX[1] = static_cast<std::int16_t>(RoundPixel(x));
  m.SelY[1] = static_cast<std::int16_t>(RoundPixel(y));
  m.DragX0 = 0;
  m.DragY0 = 0;
  AreaFrame& frame = state.record.Sh_Box[Index(chart)];
  const int minimum = MinimumFrameSize(state.ui.chart.CellSize);
  if (frame.height < minimum && frame.width < minimum)
    frame.visible = false;
}

void LeftClick(EngineState& state, Pair chart) {
  WindowRecord& r = state.record;
  ChartMouseState& m = state.ui.mouse[Index(chart)];
  r.Lb_FDe[Index(chart)] = r.Lb_PDe[Index(chart)];
  const int old = m.PrevPatch;
  m.PrevPatch = static_cast<std::int16_t>(m.CurPatch + 1);
  if (old >= 1)
    RepaintCell(state, chart, old - 1);
}

// Hover: outlines the cell under the point and shows its values.
void ShowPatchInfo(EngineState& state, Pair chart, float x, float y) {
  ChartMouseState& m = state.ui.mouse[Index(chart)];
  const Comparison& c = state.Current();
  CellHit hit = HitTestCell(state.ui.chart, RoundPixel(x), RoundPixel(y));
  // The empty tail of the last column holds no patch, and a chart whose file
  // is not loaded has nothing to show (its differences would be against
  // zeros): both count as outside every cell.
  DataSet lower = DataSet::Reference;
  if (hit.patch >= c.Count(DataSet::Reference) || !LowerSetOfChart(c, chart, lower))
    hit.patch = -1;
  if (hit.patch == -1) {
    RepaintCell(state, chart, m.CurPatch);
    return;
  }
  if (hit.patch != m.CurPatch)
    RepaintCell(state, chart, m.CurPatch);
  PaintHoverOutline(state.pictures.PictPat[Index(chart)], hit.x, hit.y, state.ui.chart.CellSize);
  state.record.Lb_PDe[Index(chart)] = PatchInfoText(c, chart, hit.patch);
  m.CurPatch = static_cast<std::int16_t>(hit.patch);
}

// Corner identifiers past the last slot a table holds read as empty.
const std::string& IdentifierAt(const Comparison& c, int position) {
  static const std::string kNone;
  constexpr int kSlots = 3001;
  if (position < 0 || position >= kSlots)
    return kNone;
  return c.ShownId(position);
}

}  // namespace

int RoundPixel(double v) {
  if (!std::isfinite(v))
    return 0;
  return static_cast<int>(std::nearbyint(std::clamp(v, -32768.0, 32767.0)));
}

CellHit HitTestCell(const ChartGeometry& g, int x, int y) {
  for (int col = 0; col < g.ChartCols; ++col) {
    for (int row = 0; row < g.ChartRows; ++row) {
      const int cx = g.CellX(col, row);
      const int cy = g.CellY(col, row);
      if (cx <= x && x <= cx + g.CellSize && cy <= y && y <= cy + g.CellSize)
        return {col * g.ChartRows + row, cx, cy};
    }
  }
  return {};
}

void RepaintCell(EngineState& state, Pair chart, int patch) {
  const Comparison& c = state.Current();
  DataSet lower = DataSet::Reference;
  if (!LowerSetOfChart(c, chart, lower))
    return;
  const ChartScene scene{c, state.ui.chart, chart, lower, state.ui.mouse[Index(chart)].PrevPatch};
  PaintPatchCell(scene, patch, state.pictures.PictPat[Index(chart)]);
}

std::string PatchInfoText(const Comparison& c, Pair chart, int p) {
  std::string name = IdentifierAt(c, p);
  if (name.empty())
    name = kEmptyName;
  const auto& ref = c.Lab(DataSet::Reference, p);
  std::string text = "基準 " + name + "  L=" + FormatFixed7(ref[0]) +
                     "  a=" + FormatFixed7(ref[1]) + "  b=" + FormatFixed7(ref[2]) + "    ⊿E  ⊿E00";
  text += "\r\n";
  // Differences against a file that is not loaded would be against black.
  if (!c.Loaded(SampleOf(chart)))
    return text;
  const PairComparison& pair = c.PairOf(chart);
  if (!pair.map.Paired(p))
    return text + "対象 " + name + "  対応なし";
  const auto& met = c.Lab(SampleOf(chart), pair.map.SampleOf(p));
  text += "対象 " + name + "  L=" + FormatFixed7(met[0]) + "  a=" + FormatFixed7(met[1]) +
          "  b=" + FormatFixed7(met[2]) + FormatFixed7(pair.StoredDeAb(p)) +
          FormatFixed7(pair.StoredDe00(p));
  return text;
}

void PictPat_MouseDown(EngineState& state, Pair chart, Modifiers shift, float x, float y) {
  for (ChartMouseState& m : state.ui.mouse) {
    m.DragX0 = 0;
    m.DragY0 = 0;
  }
  if (!shift.Any())
    return;
  ChartMouseState& m = state.ui.mouse[Index(chart)];
  m.DragX0 = m.SelX[0] = static_cast<std::int16_t>(RoundPixel(x));
  m.DragY0 = m.SelY[0] = static_cast<std::int16_t>(RoundPixel(y));
  state.record.Sh_Box[Index(chart)] = {x, y, kStartFrameSide, kStartFrameSide, true};
}

void PictPat_MouseMove(EngineState& state, Pair chart, float x, float y) {
  if (state.Current().Count(DataSet::Reference) == 0)
    return;
  if (state.ui.mouse[Index(chart)].Dragging()) {
    UpdateAreaSelection(state, chart, x, y);
  } else {
    ShowPatchInfo(state, chart, x, y);
  }
}

bool PictPat_MouseUp(EngineState& state, Pair chart, MouseButton button, float x, float y) {
  if (state.ui.mouse[Index(chart)].Dragging()) {
    EndDrag(state, chart, x, y);
    return false;
  }
  bool openMenu = false;
  if (button == MouseButton::Right) {
    state.ui.menuSource = MenuSource::Chart;
    state.ui.menuIndex = chart;
    state.record.Menu_EditSub_Enabled = state.Current().Loaded(SampleOf(chart));
    openMenu = true;
  } else {
    LeftClick(state, chart);
  }
  state.record.Sh_Box[Index(chart)].visible = false;
  return openMenu;
}

bool PictG_MouseUp(EngineState& state, Pair pair, MouseButton button) {
  if (button != MouseButton::Right)
    return false;
  state.record.Menu_EditSub_Enabled = state.Current().Loaded(SampleOf(pair));
  state.ui.menuSource = MenuSource::Histogram;
  state.ui.menuIndex = pair;
  return true;
}

AreaFigures AreaFiguresOf(const Comparison& c, const ChartGeometry& g, Pair chart,
                          const ChartMouseState& m, double x, double y) {
  AreaFigures area;
  const int x0 = m.SelX[0];
  const int y0 = m.SelY[0];
  const int p1 = std::max(HitTestCell(g, x0, y0).patch, 0);
  const int p2 = std::max(HitTestCell(g, RoundPixel(x), RoundPixel(y)).patch, 0);
  const int gLo = std::min(g.ColumnOf(p1), g.ColumnOf(p2));
  const int gHi = std::max(g.ColumnOf(p1), g.ColumnOf(p2));
  const int kLo = std::min(g.RowOf(p1), g.RowOf(p2));
  const int kHi = std::max(g.RowOf(p1), g.RowOf(p2));
  const PairComparison& pair = c.PairOf(chart);
  double sumAb = 0, sum00 = 0;
  for (int col = gLo; col <= gHi; ++col) {
    for (int row = kLo; row <= kHi; ++row) {
      const int p = col * g.ChartRows + row;
      if (p < 0 || p >= c.Count(DataSet::Reference) || !pair.map.Paired(p))
        continue;
      const double ab = pair.StoredDeAb(p);
      const double e00 = pair.StoredDe00(p);
      sumAb += ab;
      sum00 += e00;
      ++area.count;
      area.maxDeAb = std::max(area.maxDeAb, ab);
      area.maxDe00 = std::max(area.maxDe00, e00);
    }
  }
  if (area.count == 0)
    return area;
  area.avgDeAb = sumAb / area.count;
  area.avgDe00 = sum00 / area.count;
  const int rows = g.ChartRows;
  area.corners = IdentifierAt(c, gLo * rows + kLo) + "-" + IdentifierAt(c, gLo * rows + kHi) + ":" +
                 IdentifierAt(c, gHi * rows + kLo) + "-" + IdentifierAt(c, gHi * rows + kHi);
  return area;
}

std::string AreaBoxText(const AreaFigures& a) {
  return a.corners + "  ⊿E=" + FormatTwoDec(a.avgDeAb) + " Max=" + FormatTwoDec(a.maxDeAb) +
         "  ⊿E00=" + FormatTwoDec(a.avgDe00) + " Max=" + FormatTwoDec(a.maxDe00);
}

void UpdateAreaSelection(EngineState& state, Pair chart, float xIn, float yIn) {
  const ChartGeometry& g = state.Chart();
  if (!g.Laid())
    return;
  // Clamp the point to the cell grid.
  double x = xIn;
  double y = yIn;
  x = std::max<double>(x, g.CellX(0, 0));
  x = std::min<double>(x, g.CellX(g.ChartCols - 1, 0) + g.CellSize);
  y = std::max<double>(y, g.CellY(0, 0));
  y = std::min<double>(y, g.CellY(0, g.ChartRows - 1) + g.CellSize);

  const ChartMouseState& m = state.ui.mouse[Index(chart)];
  const int x0 = m.SelX[0];
  const int y0 = m.SelY[0];
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
  AreaFrame& frame = state.record.Sh_Box[Index(chart)];
  frame = {static_cast<double>(left), static_cast<double>(top), static_cast<double>(w),
           static_cast<double>(h), frame.visible};
  const AreaFigures area = AreaFiguresOf(state.Current(), g, chart, m, x, y);
  if (area.count == 0)
    return;
  state.record.Lb_DeBox[Index(chart)] = AreaBoxText(area);
  state.record.areaFigures[Index(chart)] = area;
}

void RefreshOrHideArea(EngineState& state, Pair chart) {
  const ChartMouseState& m = state.ui.mouse[Index(chart)];
  if (m.SelX[1] >= 1 && m.SelY[1] >= 1) {
    UpdateAreaSelection(state, chart, m.SelX[1], m.SelY[1]);
  } else {
    state.record.Sh_Box[Index(chart)].visible = false;
  }
}

int MinimumFrameSize(int cellSize) {
  const int m = static_cast<int>(std::nearbyint(cellSize / 2.0));
  return m < 3 ? 3 : m;
}

}  // namespace korimo
