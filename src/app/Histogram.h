#pragma once

#include <array>

#include "app/FormState.h"
#include "app/FormView.h"

namespace korimo {

// What a histogram redraw found; the view paints from it.
struct HistogramOutcome {
  bool counted = false;   // false: no data set loaded, nothing else changed
  bool drawBars = false;  // false when the scale top is 0 (all patches equal)
  double top = 0;         // scale top, a whole number
  int maxCount = 0;       // tallest of bins 0..9 (bin 10 is never drawn)
};

// Recounts the bins of `pair` into state.HistCount / HistValue and writes the
// axis captions Lb_GY / Lb_GX, for the metric selected in the view.
HistogramOutcome CountHistogram(FormState& state, FormView& view, int pair);

// One bar as the corners of its filled box: (x1, y1) bottom-left on the
// bottom edge, (x2, y2) top-right.
struct HistogramBar {
  int x1 = 0;
  int y1 = 0;
  int x2 = 0;
  int y2 = 0;
};

// Bars of bins 0..9 in a drawing area of scaleWidth x scaleHeight pixels.
// Every bin shows at least a one-pixel bar; when every value fell into bin
// 10 (maxCount 0) all bars are one pixel high.
std::array<HistogramBar, 10> HistogramBars(const HistCounts& counts, int maxCount,
                                           double scaleWidth, double scaleHeight);

// x of the half-scale line drawn after bar 5.
int HistogramHalfLineX(double scaleWidth);

}  // namespace korimo
