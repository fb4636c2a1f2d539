#include "app/ThresholdPanel.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "app/Histogram.h"
#include "app/PatchChart.h"
#include "core/Common.h"

namespace korimo {

namespace {

// The Under threshold never exceeds this, whatever the scale.
constexpr double kUnderScaleCap = 10;

std::string Percent(int count, int n) {
  return FormatDecimals(count * 100.0 / n, 0) + "%";
}

const SortedTable& SortedOf(const EngineState& state, Pair pair) {
  const ComparisonData& d = state.Data();
  const int p = static_cast<int>(Index(pair));
  return state.panel.metric == Metric::DeAb ? d.SortedDeAb(p) : d.SortedDe00(p);
}

// Values walked up from the smallest while they are at or below T.
int CountUnder(const SortedTable& sorted, int n, float threshold) {
  const int limit = std::min(n, kSlots);
  int count = 0;
  while (count < limit && NarrowToSingle(sorted[count]) <= threshold)
    ++count;
  return count;
}

// Values walked down from the Reference's last entry while they are at or
// above T.
int CountOver(const SortedTable& sorted, int top, float threshold) {
  int count = 0;
  for (int i = std::min(top, kSlots - 1); i >= 0 && NarrowToSingle(sorted[i]) >= threshold; --i)
    ++count;
  return count;
}

using Labels = std::array<std::string, 2>;

// A pair compared by its map holds its k paired differences first in the
// sorted tables: they are walked and counted over k alone. By position the
// counts the window always used serve.
int PairedOr(const EngineState& state, Pair pair, int byPosition) {
  const PairMap& map = state.Map(pair);
  return map.byPosition ? byPosition : map.paired;
}

void ShowOne(EngineState& state, Labels& labels, Pair pair, int count) {
  const int n = PairedOr(state, pair, state.Count(DataSet::Reference));
  labels[Index(pair)] = Percent(count, n);
}

void ShowBoth(EngineState& state, Labels& labels, int countPair0, int countPair1) {
  const int counts[] = {countPair0, countPair1};
  for (Pair pair : kAllPairs) {
    const int n = PairedOr(state, pair, state.Count(SampleOf(pair)));
    if (n > 0)
      labels[Index(pair)] = Percent(counts[Index(pair)], n);
  }
}

// Redraws the charts, and with `histograms` the histograms, of the pairs
// whose file is loaded. A file whose read failed keeps its path on show but
// has no colours: its chart keeps the picture of the last good load, as
// after the failed load itself, instead of turning to zeros.
void RedrawComparedViews(EngineState& state, bool histograms) {
  for (Pair pair : kAllPairs) {
    if (!state.Loaded(SampleOf(pair)))
      continue;
    DrawChart(state, SampleOf(pair));
    if (histograms)
      DrawHistogram(state, pair);
  }
}

void Refresh(EngineState& state) {
  UpdateThresholds(state, DataSet::Reference);
  RedrawComparedViews(state, true);
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

void ShowUnderPercent(EngineState& state, Pair pair, float threshold) {
  if (state.Count(DataSet::Reference) == 0)
    return;
  state.record.Lb_UPar[Index(pair)].clear();
  const int n = PairedOr(state, pair, state.Count(DataSet::Reference));
  ShowOne(state, state.record.Lb_UPar, pair, CountUnder(SortedOf(state, pair), n, threshold));
}

void ShowOverPercent(EngineState& state, Pair pair, float threshold) {
  if (state.Count(DataSet::Reference) == 0)
    return;
  state.record.Lb_OPar[Index(pair)].clear();
  const int top = PairedOr(state, pair, state.Count(DataSet::Reference)) - 1;
  ShowOne(state, state.record.Lb_OPar, pair, CountOver(SortedOf(state, pair), top, threshold));
}

void ShowUnderPercents(EngineState& state, float threshold) {
  if (state.Count(DataSet::Reference) == 0)
    return;
  const auto under = [&](Pair pair) {
    return CountUnder(SortedOf(state, pair), PairedOr(state, pair, state.Count(SampleOf(pair))),
                      threshold);
  };
  ShowBoth(state, state.record.Lb_UPar, under(Pair::ReferenceFile1), under(Pair::ReferenceFile2));
}

void ShowOverPercents(EngineState& state, float threshold) {
  if (state.Count(DataSet::Reference) == 0)
    return;
  const auto over = [&](Pair pair) {
    const int top = PairedOr(state, pair, state.Count(DataSet::Reference)) - 1;
    return CountOver(SortedOf(state, pair), top, threshold);
  };
  ShowBoth(state, state.record.Lb_OPar, over(Pair::ReferenceFile1), over(Pair::ReferenceFile2));
}

void UpdateThresholds(EngineState& state, DataSet changed) {
  ComparisonData& d = state.Data();
  const float scaleAb = ThresholdScale(std::max(d.MaxDeAb[0], d.MaxDeAb[1]));
  const float scale00 = ThresholdScale(std::max(d.MaxDe00[0], d.MaxDe00[1]));
  const double u = state.panel.under;
  const double o = state.panel.over;
  d.UnderDeAb = NarrowToSingle(std::min<double>(scaleAb, kUnderScaleCap) * u / kSliderMax);
  d.OverDeAb = NarrowToSingle(scaleAb * o / kSliderMax);
  d.UnderDe00 = NarrowToSingle(std::min<double>(scale00, kUnderScaleCap) * u / kSliderMax);
  d.OverDe00 = NarrowToSingle(scale00 * o / kSliderMax);

  const bool deAb = state.panel.metric == Metric::DeAb;
  const float under = deAb ? d.UnderDeAb : d.UnderDe00;
  const float over = deAb ? d.OverDeAb : d.OverDe00;
  if (changed == DataSet::Reference) {
    ShowOverPercents(state, over);
    ShowUnderPercents(state, under);
  } else {
    ShowOverPercent(state, PairOf(changed), over);
    ShowUnderPercent(state, PairOf(changed), under);
  }
  WindowRecord& r = state.record;
  if (deAb) {
    r.ChkBest = "Under ⊿E<" + FormatTwoDec(under);
    r.ChkWorst = "Over ⊿E> " + FormatTwoDec(over);
  } else {
    r.ChkBest = "Under ⊿E00<" + FormatTwoDec(under);
    r.ChkWorst = "Over  ⊿E00>" + FormatTwoDec(over);
  }
}

void Opt_de_Click(EngineState& state, Metric metric) {
  state.panel.metric = metric;
  Refresh(state);
}

void SldBest_Change(EngineState& state, int position) {
  const int clamped = std::clamp(position, 0, kSliderMax);
  if (clamped == state.panel.under)
    return;
  state.panel.under = clamped;
  Refresh(state);
}

void SldWorst_Change(EngineState& state, int position) {
  const int clamped = std::clamp(position, 0, kSliderMax);
  if (clamped == state.panel.over)
    return;
  state.panel.over = clamped;
  Refresh(state);
}

void ChkBest_Click(EngineState& state, bool checked) {
  state.panel.underMarks = checked;
  RedrawComparedViews(state, false);
  if (!checked)
    state.record.Lb_UPar = {};
}

void ChkWorst_Click(EngineState& state, bool checked) {
  state.panel.overMarks = checked;
  RedrawComparedViews(state, false);
  if (!checked)
    state.record.Lb_OPar = {};
}

}  // namespace korimo
