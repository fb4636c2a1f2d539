#include "app/Histogram.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "core/Common.h"

namespace korimo {

namespace {

constexpr int kBins = 10;
constexpr int kHalfScaleBar = 5;  // the line marking half the scale follows this bar

int BarWidth(int width) {
  return width / kBins;
}

void Paint(Raster& picture, const HistCounts& counts, int tallest) {
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

void DrawHistogram(EngineState& state, Pair pair) {
  const std::size_t p = Index(pair);
  HistCounts& count = state.HistCount[p];
  HistValues& edge = state.HistValue[p];
  count.fill(0);
  edge.fill(0);
  const ComparisonData& d = state.Data();
  const int n = ShownPatchCount(d);
  if (n == 0)
    return;

  Raster& picture = state.HistogramPicture(pair);
  picture.Clear();
  WindowRecord& r = state.record;
  const bool deAb = state.panel.metric == Metric::DeAb;
  r.Lb_GY[p] = kCountAxisEmpty;
  r.Lb_GX[p] = deAb ? "⊿E      " : "⊿E00    ";
  const float max = deAb ? d.MaxDeAb[p] : d.MaxDe00[p];
  // A whole number, but of any size: extreme readings give huge maxima.
  const double top = std::floor(max - 0.001) + 1;
  const float w = NarrowToSingle(top / kBins);
  if (w == 0)
    return;

  edge[0] = w;
  for (int k = 1; k < kBins; ++k)
    edge[static_cast<std::size_t>(k)] = edge[static_cast<std::size_t>(k - 1)] + w;
  const PairMap& map = state.Map(pair);
  for (int i = 0; i < n; ++i) {
    if (!map.Paired(i))
      continue;
    const float v = deAb ? d.DeAb[i][p] : d.De00[i][p];
    const double q = static_cast<double>(v) / static_cast<double>(w);
    // The scale top covers the maximum, so q stays below 11; the clamp keeps
    // a stale maximum from ever indexing past the table.
    const int k = q >= 0 ? static_cast<int>(std::min<double>(std::floor(q), kBins)) : 0;
    ++count[static_cast<std::size_t>(k)];
  }
  const int tallest = *std::max_element(count.begin(), count.begin() + kBins);
  if (!picture.Empty())
    Paint(picture, count, tallest);
  r.Lb_GY[p] = std::to_string(tallest) + std::string(kCountAxisEmpty);
  r.Lb_GX[p] = (deAb ? "⊿E     " : "⊿E00   ") + FormatDecimals(top, 0);
}

bool PictG_MouseUp(EngineState& state, Pair pair, MouseButton button) {
  if (button != MouseButton::Right)
    return false;
  state.record.Menu_EditSub_Enabled = state.Loaded(SampleOf(pair));
  state.menuSource = MenuSource::Histogram;
  state.menuIndex = pair;
  return true;
}

}  // namespace korimo
