#pragma once

namespace korimo {

// The sizes of the window's pictures in pixels, which the chart layout, the
// histograms and the swatch strip are computed for. The window measures its
// own; the batch tool, which shows no pictures, lays charts out for the
// design size.
struct Surfaces {
  int chartWidth = 0;  // drawing area of each chart box (PictPat)
  int chartHeight = 0;
  int histogramWidth = 0;  // drawing area of each histogram (PictG)
  int histogramHeight = 0;
  int swatchWidth = 0;  // the swatch strip beside the grid (PictD)
  int swatchHeight = 0;
  int gridVisibleRows = 0;  // grid rows that fit below the heading row
  bool drawn = true;        // false: nothing is painted, only laid out and counted
};

// The design sizes of the chart boxes (7035 twips square, a 2-pixel border)
// and histograms (ten 11-pixel bars, 47 pixels high) at 15 twips a pixel.
inline constexpr int kDesignChartSide = 465;
inline constexpr int kDesignHistogramWidth = 110;
inline constexpr int kDesignHistogramHeight = 47;

// What the batch tool computes for: the design layout, no pictures.
inline constexpr Surfaces kBatchSurfaces{kDesignChartSide,
                                         kDesignChartSide,
                                         kDesignHistogramWidth,
                                         kDesignHistogramHeight,
                                         0,
                                         0,
                                         0,
                                         false};

}  // namespace korimo
