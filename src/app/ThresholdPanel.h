#pragma once

#include <functional>

#include "app/FormState.h"
#include "app/FormView.h"

namespace korimo {

// The Under/Over thresholds: their scale, captions and percentages, and the
// redraws that the metric options, sliders and check boxes trigger.
class ThresholdPanel {
 public:
  ThresholdPanel(FormState& state, FormView& view) : state_(state), view_(view) {}

  // Recomputes all four thresholds and the captions, then the percentages of
  // the pairs data set `set` belongs to (both for the Reference).
  void UpdateThresholds(int set);
  // pair -1 refreshes both pairs.
  void ShowUnderPercent(int pair, float threshold);
  void ShowOverPercent(int pair, float threshold);

  void Opt_de_Click();
  void SldBest_Change() { Opt_de_Click(); }
  void SldWorst_Change() { Opt_de_Click(); }
  void ChkBest_Click();
  void ChkWorst_Click();

 private:
  void ShowPercent(Ctl label, int pair, const std::function<int(const SortedTable&, int)>& count);
  void RedrawComparedCharts();
  const SortedTable& SortedOf(int pair) const;

  FormState& state_;
  FormView& view_;
};

// The rounded-up scale a metric's larger maximum is measured against.
float ThresholdScale(float largerMaximum);

}  // namespace korimo
