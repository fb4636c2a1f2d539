#pragma once

#include <optional>
#include <string>

#include "app/FormState.h"
#include "app/FormView.h"

namespace korimo {

struct CellHit {
  int patch = -1;  // -1: no cell contains the point
  int x = 0;       // origin of the cell hit
  int y = 0;
};

// First cell (columns, then rows) whose closed square holds the point; a
// point on a shared border belongs to the lower column, then the lower row.
CellHit HitTestCell(const ChartGeometry& chart, int x, int y);

// The data set shown in the lower halves of chart c, or -1 when that chart
// has nothing to repaint.
int LowerSetOfChart(const ComparisonData& data, int chart);

// The two-line text of Lb_PDe for patch p on chart c.
std::string PatchInfoText(const ComparisonData& data, int chart, int patch);

// Identifier at a grid position, empty past the identifier list.
std::string IdentifierAt(const ComparisonData& data, int position);

// Area drag update: moves the frame Sh_Box(c) and writes the area statistics
// into Lb_DeBox(c). Also run by the load driver to refresh a stored area.
void UpdateAreaSelection(FormState& state, FormView& view, int chart, float x, float y);

// Smallest frame side that survives the release of a drag.
int MinimumFrameSize(int cellSize);

// Round to nearest, ties to even: how pointer coordinates become pixels.
int RoundPixel(double v);

}  // namespace korimo
