#include "app/Histogram.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "app/Raster.h"
#include "app/WindowRecord.h"
#include "core/Common.h"

namespace korimo {

namespace {

constexpr int kBins = 10;
constexpr int kHalfScaleBar = 5;  // the line marking half the scale follows this bar

int BarWidth(int width) {
  return width / kBins;
}

void PaintBars(Canvas& picture, const HistCounts& counts, int tallest) {
  const auto bars = HistogramBars(counts, tallest, picture.Width(), picture.Height());
  for (int k = 0; k < kBins; ++k) {
    const HistogramBar& bar = bars[static_cast<std::size_t>(k)];
    picture.FillRect(bar.x1, bar.y1, bar.x2, bar.y2, kRed);
    picture.RectOutline(bar.x1, bar.y1, bar.x2, bar.y2, kBlack);
    if (k == kHalfScaleBar) {
      const int x = kHalfScaleBar * BarWidth(picture.Width()) - 1;
      picture.Line(x, picture.Height(), x, -1, kBlack);
    }
  }
}

int Tallest(const HistCounts& counts) {
  return *std::max_element(counts.begin(), counts.begin() + kBins);
}

// The axis captions as the labels around the window's picture hold them:
// the tallest count beside the top, "数" beside the bottom, "0" under the
// left edge, the metric in the middle and the scale top under the right edge.
void PaintCaptions(const HistogramView& view, Canvas& picture) {
  const double size = kHistogramCaptionSize;
  const double below = picture.Height() + size + 1;
  const std::string& gy = view.gy;
  const std::size_t cut = gy.find('\r');
  if (cut != 0 && cut != std::string::npos)
    picture.Text(-3, size, gy.substr(0, cut), TextAnchor::End, size);
  picture.Text(-3, picture.Height(), "数", TextAnchor::End, size);
  const std::string& gx = view.gx;
  const std::size_t space = gx.find(' ');
  const std::size_t number = gx.find_last_of(' ');
  if (space == std::string::npos)
    return;
  picture.Text(0, below, "0", TextAnchor::Middle, size);
  picture.Text(picture.Width() / 2.0, below, gx.substr(0, space), TextAnchor::Middle, size);
  if (number + 1 < gx.size())
    picture.Text(picture.Width(), below, gx.substr(number + 1), TextAnchor::End, size);
}

}  // namespace

std::array<HistogramBar, 10> HistogramBars(const HistCounts& counts, int tallest, int width,
                                           int height) {
  const int bw = BarWidth(width);
  std::array<HistogramBar, 10> bars;
  for (int k = 0; k < kBins; ++k) {
    int h = 0;
    // With every value in bin 10 there is no tallest bar to scale to.
    if (tallest > 0) {
      const std::int32_t product = counts[static_cast<std::size_t>(k)] * height;
      h = static_cast<int>(std::nearbyint(static_cast<double>(product) / tallest));
    }
    if (h == 0)
      h = 1;
    bars[static_cast<std::size_t>(k)] = {k * bw - 1, height, k * bw - 1 + bw, height - h};
  }
  return bars;
}

HistogramView HistogramOf(const Comparison& c, Pair pair) {
  HistogramView view;
  const int n = c.ShownPatchCount();
  if (n == 0)
    return view;
  view.counted = true;
  const Metric metric = c.Panel().metric;
  const bool deAb = metric == Metric::DeAb;
  view.gy = kCountAxisEmpty;
  view.gx = deAb ? "⊿E      " : "⊿E00    ";
  // A whole number, but of any size: extreme readings give huge maxima.
  const double top = std::floor(c.Max(metric, pair) - 0.001) + 1;
  const float w = NarrowToSingle(top / kBins);
  if (w == 0)
    return view;
  view.edges[0] = w;
  for (int k = 1; k < kBins; ++k)
    view.edges[static_cast<std::size_t>(k)] = view.edges[static_cast<std::size_t>(k - 1)] + w;
  const PairComparison& p = c.PairOf(pair);
  for (int i = 0; i < n; ++i) {
    if (!p.map.Paired(i))
      continue;
    const double q = static_cast<double>(p.Stored(metric, i)) / static_cast<double>(w);
    // The scale top covers the maximum, so q stays below 11; the clamp keeps
    // a stale maximum from ever indexing past the table.
    const int k = q >= 0 ? static_cast<int>(std::min<double>(std::floor(q), kBins)) : 0;
    ++view.counts[static_cast<std::size_t>(k)];
  }
  view.gy = std::to_string(Tallest(view.counts)) + std::string(kCountAxisEmpty);
  view.gx = (deAb ? "⊿E     " : "⊿E00   ") + FormatDecimals(top, 0);
  return view;
}

void PaintHistogram(const HistogramView& view, Canvas& picture) {
  // No bars while nothing was counted or every difference is 0.
  if (view.HasBars())
    PaintBars(picture, view.counts, Tallest(view.counts));
  PaintCaptions(view, picture);
}

}  // namespace korimo
