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

// Hover: outlines the cell under the point and shows its values.
void ShowPatchInfo(EngineState& state, Pair chart, float x, float y);

// Area drag update: moves the frame over the chart and writes the area
// statistics. The load driver also runs it to refresh a stored area.
void UpdateAreaSelection(EngineState& state, Pair chart, float x, float y);

// The data set shown in the lower halves of a chart; false when the chart
// has nothing to repaint.
bool LowerSetOfChart(const EngineState& state, Pair chart, DataSet& lower);

// The two-line text of the hover label for a Reference patch and the sample
// patch it meets.
std::string PatchInfoText(const EngineState& state, Pair chart, int patch);

// Identifier at a grid position, empty past the identifier list.
std::string IdentifierAt(const EngineState& state, int position);

// Smallest frame side that survives the release of a drag.
int MinimumFrameSize(int cellSize);

// Round to nearest, ties to even: how pointer coordinates become pixels.
int RoundPixel(double v);

}  // namespace korimo
