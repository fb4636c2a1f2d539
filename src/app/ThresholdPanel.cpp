#include "app/ThresholdPanel.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "core/Common.h"

namespace korimo {

namespace {

constexpr int kSliderMax = 20;
constexpr double kUnderScaleCap = 10;

std::string Percent(int count, int n) {
  return FormatDecimals(count * 100.0 / n, 0) + "%";
}

}  // namespace

float ThresholdScale(float m) {
  if (m <= 1)
    return 1;
  if (m <= 2)
    return 2;
  if (m <= 4)
    return 4;
  if (m <= 5)
    return 5;
  if (m <= 10)
    return 10;
  if (m <= 20)
    return 20;
  const double r = std::nearbyint(static_cast<double>(m) + 10 - 0.0001);
  return NarrowToSingle(std::trunc(r / 10) * 10);
}

const SortedTable& ThresholdPanel::SortedOf(int pair) const {
  const ComparisonData& d = *state_.data;
  return view_.MetricIsDeAb() ? d.SortedDeAb(pair) : d.SortedDe00(pair);
}

void ThresholdPanel::UpdateThresholds(int set) {
  ComparisonData& d = *state_.data;
  const float scaleAb = ThresholdScale(std::max(d.MaxDeAb[0], d.MaxDeAb[1]));
  const float scale00 = ThresholdScale(std::max(d.MaxDe00[0], d.MaxDe00[1]));
  const double u = view_.UnderPosition();
  const double o = view_.OverPosition();
  d.UnderDeAb = NarrowToSingle(std::min<double>(scaleAb, kUnderScaleCap) * u / kSliderMax);
  d.OverDeAb = NarrowToSingle(scaleAb * o / kSliderMax);
  d.UnderDe00 = NarrowToSingle(std::min<double>(scale00, kUnderScaleCap) * u / kSliderMax);
  d.OverDe00 = NarrowToSingle(scale00 * o / kSliderMax);

  const bool deAb = view_.MetricIsDeAb();
  const float under = deAb ? d.UnderDeAb : d.UnderDe00;
  const float over = deAb ? d.OverDeAb : d.OverDe00;
  const int pair = set - 1;
  ShowOverPercent(pair, over);
  ShowUnderPercent(pair, under);
  if (deAb) {
    view_.SetCaption(Ctl::ChkBest, 0, "Under ⊿E<" + FormatTwoDec(under));
    view_.SetCaption(Ctl::ChkWorst, 0, "Over ⊿E> " + FormatTwoDec(over));
  } else {
    view_.SetCaption(Ctl::ChkBest, 0, "Under ⊿E00<" + FormatTwoDec(under));
    view_.SetCaption(Ctl::ChkWorst, 0, "Over  ⊿E00>" + FormatTwoDec(over));
  }
}

void ThresholdPanel::ShowUnderPercent(int pair, float threshold) {
  ShowPercent(Ctl::Lb_UPar, pair, [&](const SortedTable& sorted, int n) {
    const int limit = std::min(n, kSlots);
    int count = 0;
    while (count < limit && NarrowToSingle(sorted[count]) <= threshold)
      ++count;
    return count;
  });
}

void ThresholdPanel::ShowOverPercent(int pair, float threshold) {
  const int top = state_.data->PatchCount[0] - 1;
  ShowPercent(Ctl::Lb_OPar, pair, [&](const SortedTable& sorted, int /*n*/) {
    int count = 0;
    for (int i = top; i >= 0 && NarrowToSingle(sorted[i]) >= threshold; --i)
      ++count;
    return count;
  });
}

// Both pairs refresh only where their file is loaded, each over its own
// count; a single pair refreshes over the Reference's count.
void ThresholdPanel::ShowPercent(Ctl label, int pair,
                                 const std::function<int(const SortedTable&, int)>& count) {
  const ComparisonData& d = *state_.data;
  if (d.PatchCount[0] == 0)
    return;
  auto show = [&](int p, int n) { view_.SetCaption(label, p, Percent(count(SortedOf(p), n), n)); };
  if (pair < 0) {
    if (d.PatchCount[1] > 0)
      show(0, d.PatchCount[1]);
    if (d.PatchCount[2] > 0)
      show(1, d.PatchCount[2]);
  } else {
    view_.SetCaption(label, pair, "");
    show(pair, d.PatchCount[0]);
  }
}

void ThresholdPanel::RedrawComparedCharts() {
  if (!view_.Caption(Ctl::Lb_File, 1).empty())
    view_.DrawChart(1);
  if (!view_.Caption(Ctl::Lb_File, 2).empty())
    view_.DrawChart(2);
}

void ThresholdPanel::Opt_de_Click() {
  UpdateThresholds(0);
  if (!view_.Caption(Ctl::Lb_File, 1).empty()) {
    view_.DrawChart(1);
    view_.DrawHistogram(0);
  }
  if (!view_.Caption(Ctl::Lb_File, 2).empty()) {
    view_.DrawChart(2);
    view_.DrawHistogram(1);
  }
}

void ThresholdPanel::ChkBest_Click() {
  RedrawComparedCharts();
  if (!view_.UnderMarksOn()) {
    view_.SetCaption(Ctl::Lb_UPar, 0, "");
    view_.SetCaption(Ctl::Lb_UPar, 1, "");
  }
}

void ThresholdPanel::ChkWorst_Click() {
  RedrawComparedCharts();
  if (!view_.OverMarksOn()) {
    view_.SetCaption(Ctl::Lb_OPar, 0, "");
    view_.SetCaption(Ctl::Lb_OPar, 1, "");
  }
}

}  // namespace korimo
