#pragma once

#include <string>

#include "app/EngineState.h"

namespace korimo {

// The mouse on a chart: hover information, click selection, area drags with
// Shift, Ctrl or Alt, and the right-click menu. Positions are chart pixels,
// single precision as the pointer reports them.

struct CellHit {
  int patch = -1;  // -1: no cell contains the point
  int x = 0;       // origin of the cell hit
  int y = 0;
};

// First cell (columns, then rows) whose closed square holds the point; a
// point on a shared border belongs to the lower column, then the lower row.
CellHit HitTestCell(const ChartGeometry& chart, int x, int y);

void PictPat_MouseDown(EngineState& state, Pair chart, Modifiers shift, float x, float y);
void PictPat_MouseMove(EngineState& state, Pair chart, float x, float y);
// True when the Edit menu is to be shown (a right click without a drag).
bool PictPat_MouseUp(EngineState& state, Pair chart, MouseButton button, float x, float y);

// A release on a histogram; true when the Edit menu is to be shown (the
// right button), its items enabled while the pair's file is loaded.
bool PictG_MouseUp(EngineState& state, Pair pair, MouseButton button);

// Area drag update: moves the frame over the chart and writes the area
// statistics. The load driver also runs it to refresh a stored area.
void UpdateAreaSelection(EngineState& state, Pair chart, float x, float y);

// A stored area is recomputed on the current data; no area hides the frame.
void RefreshOrHideArea(EngineState& state, Pair chart);

// The two-line text of the hover label for a Reference patch and the sample
// patch it meets.
std::string PatchInfoText(const Comparison& c, Pair chart, int patch);

// The figures of an area and the box text that shows them.
AreaFigures AreaFiguresOf(const Comparison& c, const ChartGeometry& g, Pair chart,
                          const ChartMouseState& mouse, double x, double y);
std::string AreaBoxText(const AreaFigures& area);

// Smallest frame side that survives the release of a drag.
int MinimumFrameSize(int cellSize);

// Round to nearest, ties to even: how pointer coordinates become pixels.
int RoundPixel(double v);

// Repaints one cell of a chart's picture with what it shows now.
void RepaintCell(EngineState& state, Pair chart, int patch);

}  // namespace korimo
