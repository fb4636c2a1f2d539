#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "app/Canvas.h"
#include "app/Comparison.h"

namespace korimo {

using HistCounts = std::array<std::int32_t, 11>;
using HistValues = std::array<float, 11>;

// A pair's histogram in the metric of the comparison's panel: the counts of
// bins 0..10, their upper edges, and the axis captions the window's labels
// around the picture show.
struct HistogramView {
  bool counted = false;  // false: nothing loaded; the captions stay as they were
  HistCounts counts{};
  HistValues edges{};
  std::string gx;  // metric and scale top
  std::string gy;  // tallest count, then "数" two lines below
  bool HasBars() const { return edges[0] != 0; }
};
HistogramView HistogramOf(const Comparison& c, Pair pair);

// The bars, the half-scale line and the captions (which the window shows in
// its own labels) on any canvas of the histogram's size, cleared first by
// the caller.
void PaintHistogram(const HistogramView& view, Canvas& picture);

// Captions' height in pixels, and the room a picture needs around the bars
// for them.
inline constexpr double kHistogramCaptionSize = 10;
inline constexpr int kHistogramCaptionLeft = 30;
inline constexpr int kHistogramCaptionBottom = 14;

// One bar as the corners of its filled box: (x1, y1) on the bottom edge,
// (x2, y2) the top-right corner.
struct HistogramBar {
  int x1 = 0;
  int y1 = 0;
  int x2 = 0;
  int y2 = 0;
};

// Bars of bins 0..9 in a picture of width x height pixels. Every bin shows
// at least a one-pixel bar; when every value fell into bin 10 (tallest count
// 0) all bars are one pixel high.
std::array<HistogramBar, 10> HistogramBars(const HistCounts& counts, int tallest, int width,
                                           int height);

}  // namespace korimo
