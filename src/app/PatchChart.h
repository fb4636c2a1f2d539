#pragma once

#include "app/Canvas.h"
#include "app/ChartGeometry.h"
#include "app/Comparison.h"
#include "app/Surfaces.h"

namespace korimo {

// Chart shape from the Reference's row length, else from the numbers in the
// patch identifiers, else the largest divisor of the patch count not above
// its square root; a shape the box cannot hold falls back to the square root.
void ChooseChartShape(const Comparison& c, const Surfaces& surfaces, ChartGeometry& g);

// Cell size and origins for the chart boxes' drawing area, the cell grid
// centred.
void LayoutChart(const Surfaces& surfaces, ChartGeometry& g);

// Whether a picture shows the clicked patch's selection frame: the window's
// does, a printed one has nothing selected.
enum class CellSelection { Shown, Omitted };

// What one chart is drawn with: the comparison, the layout, the data set
// whose colours fill the lower halves, and the selected patch + 1 (0: none).
struct ChartScene {
  const Comparison& c;
  const ChartGeometry& g;
  Pair chart;
  DataSet lowerSet;
  int selected = 0;
  CellSelection selection = CellSelection::Shown;
};

// Every cell of a chart, and one cell: halves, maximum mark, Under and Over
// marks, selection frame, in this order, on any canvas laid out as the
// chart boxes are.
void PaintChart(const ChartScene& scene, Canvas& box);
void PaintPatchCell(const ChartScene& scene, int patch, Canvas& box);

// The chart a data set is drawn on.
constexpr Pair ChartOf(DataSet set) {
  return set == DataSet::File2 ? Pair::ReferenceFile2 : Pair::ReferenceFile1;
}

// The data set shown in the lower halves of a chart; false when the chart
// has nothing to repaint.
bool LowerSetOfChart(const Comparison& c, Pair chart, DataSet& lower);

}  // namespace korimo
