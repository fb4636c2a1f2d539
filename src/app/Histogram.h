#pragma once

#include <array>

#include "app/Canvas.h"
#include "app/EngineState.h"

namespace korimo {

// Recounts the ten bins of `pair` in the selected metric into HistCount and
// HistValue, writes the axis captions and draws the bars.
void DrawHistogram(EngineState& state, Pair pair);

// A release on a histogram; true when the Edit menu is to be shown (the
// right button), its items enabled while the pair's file is loaded.
// The pair's histogram as last counted, on any canvas of the histogram's
// size: the bars, the half-scale line and the axis captions (which the
// window shows in its own labels). Reads the state only.
void PaintHistogram(const EngineState& state, Pair pair, Canvas& picture);

// Captions' height in pixels, and the room a picture needs around the bars
// for them.
inline constexpr double kHistogramCaptionSize = 10;
inline constexpr int kHistogramCaptionLeft = 30;
inline constexpr int kHistogramCaptionBottom = 14;

bool PictG_MouseUp(EngineState& state, Pair pair, MouseButton button);

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
