#include "app/Histogram.h"

#include "core/Common.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace korimo {

namespace {

constexpr int kBins = 10;
const std::string kCountAxis = "数";

int BarWidth(double scaleWidth) {
  return static_cast<int>(std::nearbyint(scaleWidth)) / kBins;
}

}  // namespace

HistogramOutcome CountHistogram(FormState& state, FormView& view, int pair) {
  HistogramOutcome out;
  HistCounts& count = state.HistCount[pair];
  HistValues& edge = state.HistValue[pair];
  count.fill(0);
  edge.fill(0);
  const ComparisonData& d = *state.data;
  const int n = ShownPatchCount(d);
  if (n == 0)
    return out;
  out.counted = true;

  const bool deAb = view.MetricIsDeAb();
  view.SetCaption(Ctl::Lb_GY, pair, "\r\n\r\n" + kCountAxis);
  view.SetCaption(Ctl::Lb_GX, pair, deAb ? "⊿E      " : "⊿E00    ");
  const float max = deAb ? d.MaxDeAb[pair] : d.MaxDe00[pair];
  // A whole number, but of any size: extreme readings give huge maxima.
  out.top = std::floor(max - 0.001) + 1;
  const float w = NarrowToSingle(out.top / kBins);
  if (w == 0)
    return out;

  edge[0] = w;
  for (int k = 1; k < kBins; ++k)
    edge[k] = edge[k - 1] + w;
  for (int i = 0; i < n; ++i) {
    const float v = deAb ? d.DeAb[i][pair] : d.De00[i][pair];
    const double q = static_cast<double>(v) / static_cast<double>(w);
    // The scale top covers the maximum, so q stays below 11; the clamp keeps
    // a stale maximum from ever indexing past the table.
    const int k = q >= 0 ? static_cast<int>(std::min<double>(std::floor(q), kBins)) : 0;
    ++count[k];
  }
  out.maxCount = *std::max_element(count.begin(), count.begin() + kBins);
  out.drawBars = true;
  view.SetCaption(Ctl::Lb_GY, pair, std::to_string(out.maxCount) + "\r\n\r\n" + kCountAxis);
  view.SetCaption(Ctl::Lb_GX, pair, (deAb ? "⊿E     " : "⊿E00   ") + FormatDecimals(out.top, 0));
  return out;
}

std::array<HistogramBar, 10> HistogramBars(const HistCounts& counts, int maxCount,
                                           double scaleWidth, double scaleHeight) {
  const int bw = BarWidth(scaleWidth);
  const int H = static_cast<int>(std::nearbyint(scaleHeight));
  std::array<HistogramBar, 10> bars;
  for (int k = 0; k < kBins; ++k) {
    int h = 0;
    if (maxCount > 0) {
      const std::int32_t product = counts[k] * H;
      h = static_cast<int>(std::nearbyint(static_cast<double>(product) / maxCount));
    }
    if (h == 0)
      h = 1;
    bars[k] = {k * bw - 1, H, k * bw - 1 + bw, H - h};
  }
  return bars;
}

int HistogramHalfLineX(double scaleWidth) {
  return 5 * BarWidth(scaleWidth) - 1;
}

}  // namespace korimo
