#pragma once

#include "app/EngineState.h"
#include "app/Platform.h"

namespace korimo {

// The Edit pop-up menu's two items, "コピー" and "保  存", for whatever opened
// it: a chart, a histogram or the grid.
void Menu_EditSub_Click(const EngineState& state, MenuItem item, Platform& platform);

// The cell area of a chart, from the top-left corner of its first cell, as
// far as the picture reaches; the margin around the cells is not part of it.
Raster ChartCellArea(const EngineState& state, Pair chart);

}  // namespace korimo
