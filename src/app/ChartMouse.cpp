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

void RepaintCell(EngineState& state, Pair chart, int patch) {
  DataSet lower = DataSet::Reference;
  if (LowerSetOfChart(state, chart, lower))
    DrawPatchCell(state, chart, lower, patch);
}

void PaintHoverOutline(Raster& box, int x, int y, int cellSize) {
  box.RectOutline(x, y, x + cellSize - 1, y + cellSize - 1, kWhite);
}

void EndDrag(EngineState& state, Pair chart, float x, float y) {
  ChartMouseState& m = state.Mouse(chart);
  m.SelX[1] = static_cast<std::int16_t>(RoundPixel(x));
  m.SelY[1] = static_cast<std::int16_t>(RoundPixel(y));
  m.DragX0 = 0;
  m.DragY0 = 0;
  AreaFrame& frame = state.record.Sh_Box[Index(chart)];
  const int minimum = MinimumFrameSize(state.chart.CellSize);
  if (frame.height < minimum && frame.width < minimum)
    frame.visible = false;
}

void LeftClick(EngineState& state, Pair chart) {
  WindowRecord& r = state.record;
  ChartMouseState& m = state.Mouse(chart);
  r.Lb_FDe[Index(chart)] = r.Lb_PDe[Index(chart)];
  const int old = m.PrevPatch;
  m.PrevPatch = static_cast<std::int16_t>(m.CurPatch + 1);
  if (old >= 1)
    RepaintCell(state, chart, old - 1);
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

bool LowerSetOfChart(const EngineState& state, Pair chart, DataSet& lower) {
  if (chart == Pair::ReferenceFile2) {
    lower = DataSet::File2;
    return state.Loaded(DataSet::File2);
  }
  lower = state.Loaded(DataSet::File1) ? DataSet::File1 : DataSet::Reference;
  return state.Loaded(lower);
}

std::string IdentifierAt(const EngineState& state, int position) {
  if (position < 0 || position >= kSlots)
    return {};
  return ShownId(state.Data(), state.pairingMode, position);
}

std::string PatchInfoText(const EngineState& state, Pair chart, int p) {
  const ComparisonData& d = state.Data();
  std::string name = IdentifierAt(state, p);
  if (name.empty())
    name = kEmptyName;
  const std::size_t c = Index(chart);
  const LabTable& other = chart == Pair::ReferenceFile1 ? d.Lab1 : d.Lab2;
  std::string text = "基準 " + name + "  L=" + FormatFixed7(d.Lab0[p][0]) +
                     "  a=" + FormatFixed7(d.Lab0[p][1]) + "  b=" + FormatFixed7(d.Lab0[p][2]) +
                     "    ⊿E  ⊿E00";
  text += "\r\n";
  // Differences against a file that is not loaded would be against black.
  if (d.PatchCount[Index(SampleOf(chart))] < 1)
    return text;
  const PairMap& map = state.Map(chart);
  if (!map.Paired(p))
    return text + "対象 " + name + "  対応なし";
  const auto& met = other[map.SampleOf(p)];
  text += "対象 " + name + "  L=" + FormatFixed7(met[0]) + "  a=" + FormatFixed7(met[1]) +
          "  b=" + FormatFixed7(met[2]) + FormatFixed7(d.DeAb[p][c]) + FormatFixed7(d.De00[p][c]);
  return text;
}

void PictPat_MouseDown(EngineState& state, Pair chart, Modifiers shift, float x, float y) {
  for (ChartMouseState& m : state.mouse) {
    m.DragX0 = 0;
    m.DragY0 = 0;
  }
  if (!shift.Any())
    return;
  ChartMouseState& m = state.Mouse(chart);
  m.DragX0 = m.SelX[0] = static_cast<std::int16_t>(RoundPixel(x));
  m.DragY0 = m.SelY[0] = static_cast<std::int16_t>(RoundPixel(y));
  state.record.Sh_Box[Index(chart)] = {x, y, kStartFrameSide, kStartFrameSide, true};
}

void PictPat_MouseMove(EngineState& state, Pair chart, float x, float y) {
  if (state.Count(DataSet::Reference) == 0)
    return;
  if (state.Mouse(chart).Dragging()) {
    UpdateAreaSelection(state, chart, x, y);
  } else {
    ShowPatchInfo(state, chart, x, y);
  }
}

bool PictPat_MouseUp(EngineState& state, Pair chart, MouseButton button, float x, float y) {
  if (state.Mouse(chart).Dragging()) {
    EndDrag(state, chart, x, y);
    return false;
  }
  bool openMenu = false;
  if (button == MouseButton::Right) {
    state.menuSource = MenuSource::Chart;
    state.menuIndex = chart;
    state.record.Menu_EditSub_Enabled = state.Loaded(SampleOf(chart));
    openMenu = true;
  } else {
    LeftClick(state, chart);
  }
  state.record.Sh_Box[Index(chart)].visible = false;
  return openMenu;
}

void ShowPatchInfo(EngineState& state, Pair chart, float x, float y) {
  ChartMouseState& m = state.Mouse(chart);
  CellHit hit = HitTestCell(state.chart, RoundPixel(x), RoundPixel(y));
  // The empty tail of the last column holds no patch, and a chart whose file
  // is not loaded has nothing to show (its differences would be against
  // zeros): both count as outside every cell.
  DataSet lower = DataSet::Reference;
  if (hit.patch >= state.Count(DataSet::Reference) || !LowerSetOfChart(state, chart, lower))
    hit.patch = -1;
  if (hit.patch == -1) {
    RepaintCell(state, chart, m.CurPatch);
    return;
  }
  if (hit.patch != m.CurPatch)
    RepaintCell(state, chart, m.CurPatch);
  PaintHoverOutline(state.ChartPicture(chart), hit.x, hit.y, state.chart.CellSize);
  state.record.Lb_PDe[Index(chart)] = PatchInfoText(state, chart, hit.patch);
  m.CurPatch = static_cast<std::int16_t>(hit.patch);
}

void UpdateAreaSelection(EngineState& state, Pair chart, float xIn, float yIn) {
  const ChartGeometry& g = state.chart;
  const ComparisonData& d = state.Data();
  if (!g.Laid())
    return;
  // Clamp the point to the cell grid.
  double x = xIn;
  double y = yIn;
  x = std::max<double>(x, g.CellX(0, 0));
  x = std::min<double>(x, g.CellX(g.ChartCols - 1, 0) + g.CellSize);
  y = std::max<double>(y, g.CellY(0, 0));
  y = std::min<double>(y, g.CellY(0, g.ChartRows - 1) + g.CellSize);

  const ChartMouseState& m = state.Mouse(chart);
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

  const int p1 = std::max(HitTestCell(g, x0, y0).patch, 0);
  const int p2 = std::max(HitTestCell(g, RoundPixel(x), RoundPixel(y)).patch, 0);
  const int gLo = std::min(g.ColumnOf(p1), g.ColumnOf(p2));
  const int gHi = std::max(g.ColumnOf(p1), g.ColumnOf(p2));
  const int kLo = std::min(g.RowOf(p1), g.RowOf(p2));
  const int kHi = std::max(g.RowOf(p1), g.RowOf(p2));

  const std::size_t c = Index(chart);
  const PairMap& map = state.Map(chart);
  double sumAb = 0, sum00 = 0, maxAb = 0, max00 = 0;
  int count = 0;
  for (int col = gLo; col <= gHi; ++col) {
    for (int row = kLo; row <= kHi; ++row) {
      const int p = col * g.ChartRows + row;
      if (p < 0 || p >= d.PatchCount[0] || !map.Paired(p))
        continue;
      const double ab = d.DeAb[p][c];
      const double e00 = d.De00[p][c];
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
      IdentifierAt(state, gLo * rows + kLo) + "-" + IdentifierAt(state, gLo * rows + kHi) + ":" +
      IdentifierAt(state, gHi * rows + kLo) + "-" + IdentifierAt(state, gHi * rows + kHi);
  state.record.Lb_DeBox[c] =
      corners + "  ⊿E=" + FormatTwoDec(sumAb / count) + " Max=" + FormatTwoDec(maxAb) +
      "  ⊿E00=" + FormatTwoDec(sum00 / count) + " Max=" + FormatTwoDec(max00);
}

int MinimumFrameSize(int cellSize) {
  const int m = static_cast<int>(std::nearbyint(cellSize / 2.0));
  return m < 3 ? 3 : m;
}

}  // namespace korimo
