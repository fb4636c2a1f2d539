#pragma once

#include <cstdint>

#include "app/FormState.h"
#include "app/FormView.h"

namespace korimo {

// Chart shape from the Reference's row length, else from the numbers in the
// patch identifiers, else the largest divisor of the patch count not above
// its square root.
void ChooseChartShape(FormState& state);

// Cell size and origins for a drawing area of width x height pixels, the cell
// grid centred.
void LayoutChart(FormState& state, int width, int height);

// The chart refresh after data set `set` was loaded: a Reference load lays
// the chart out anew and redraws every chart whose file is chosen.
void ShowPatchChart(FormState& state, FormView& view, int set);

// Chart index drawn for a data set: sets 0 and 1 on chart 0, set 2 on chart 1.
inline int ChartOfSet(int set) {
  return set == 2 ? 1 : 0;
}

// Everything DrawPatchCell paints for one cell, decided without drawing.
struct PatchCellPlan {
  bool draw = false;
  int x = 0;  // cell origin
  int y = 0;
  int size = 0;  // CellSize
  int half = 0;  // size \ 2
  std::uint32_t upperColor = 0;
  std::uint32_t lowerColor = 0;
  bool maxMark = false;
  bool underMark = false;
  double underRadius = 0;
  bool overMark = false;
  double overRadius = 0;  // single precision, not rounded
  bool selectionFrame = false;
};

// `lowerSet` is the data set whose colours fill the lower halves.
PatchCellPlan PlanPatchCell(const FormState& state, const FormView& view, int chart, int lowerSet,
                            int patch);

}  // namespace korimo
