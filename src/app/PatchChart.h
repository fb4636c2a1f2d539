#pragma once

#include "app/Canvas.h"
#include "app/EngineState.h"

namespace korimo {

// The chart refresh after data set `set` was loaded: a Reference load lays
// the chart out anew and redraws every chart whose file is chosen.
void ShowPatchChart(EngineState& state, DataSet set);

// Chart shape from the Reference's row length, else from the numbers in the
// patch identifiers, else the largest divisor of the patch count not above
// its square root.
void ChooseChartShape(EngineState& state);

// Cell size and origins for the chart boxes' drawing area, the cell grid
// centred.
void LayoutChart(EngineState& state);

// Clears and draws the chart that shows `set` (the Reference and File1 on
// chart 0, File2 on chart 1), lower halves in that set's colours.
void DrawChart(EngineState& state, DataSet set);

// Draws one cell: halves, maximum mark, Under and Over marks, selection
// frame, in this order.
void DrawPatchCell(EngineState& state, Pair chart, DataSet lowerSet, int patch);

// Whether a picture shows the clicked patch's selection frame: the window's
// does, a printed one has nothing selected.
enum class CellSelection { Shown, Omitted };

// The drawing of a whole chart and of one cell on any canvas laid out as the
// chart boxes are; reads the state only. DrawChart and DrawPatchCell paint
// the window's pictures with them.
void PaintChart(const EngineState& state, Pair chart, DataSet lowerSet, Canvas& box,
                CellSelection selection);
void PaintPatchCell(const EngineState& state, Pair chart, DataSet lowerSet, int patch, Canvas& box,
                    CellSelection selection);

// The chart a data set is drawn on.
constexpr Pair ChartOf(DataSet set) {
  return set == DataSet::File2 ? Pair::ReferenceFile2 : Pair::ReferenceFile1;
}

}  // namespace korimo
