#include "app/LoadDriver.h"

#include "app/ChartCells.h"
#include "app/ChartLayout.h"
#include "color/ColorDifference.h"
#include "core/Common.h"
#include "core/MeasurementReader.h"

namespace korimo {

void LoadDriver::ClearPatchInfo(int set) {
  for (int c = 0; c < kPairs; ++c) {
    if (set == 0 || c == set - 1) {
      view_.SetCaption(Ctl::Lb_FDe, c, "");
      view_.SetCaption(Ctl::Lb_PDe, c, "");
    }
  }
  const int box = set == 1 ? 0 : 1;
  view_.SetCaption(Ctl::Lb_DeBox, box, kAreaHint);
}

int LoadDriver::ReadAndCompare(int set, const std::string& path) {
  ComparisonData& d = *state_.data;
  d.AvgDeAb = {};
  d.AvgDe00 = {};
  d.MaxDeAb = {};
  d.MaxDe00 = {};
  ClearPatchInfo(set);

  const int n = ReadMeasurementFile(
      path, set, d, [this](std::string_view message) { platform_.ShowMessage(message); });
  d.PatchCount[set] = static_cast<std::int16_t>(n);
  view_.SetCaption(Ctl::Lb_NoP, set, std::to_string(n) + std::string(kPatchUnit));
  if (n == 0)
    return 0;

  d.DeAb = {};
  d.De00 = {};
  d.SortDeAb1 = {};
  d.SortDeAb2 = {};
  d.SortDe001 = {};
  d.SortDe002 = {};
  PairStats stats{};
  for (int i = 0; i < n; ++i) {
    const auto& ref = d.Lab0[i];
    for (int p = 0; p < kPairs; ++p) {
      const auto& other = d.Lab(p + 1)[i];
      const double dAb = Cie76(ref[0], ref[1], ref[2], other[0], other[1], other[2]);
      const double d00 = Ciede2000(ref[0], ref[1], ref[2], other[0], other[1], other[2]);
      stats[p].deAb.Add(dAb);
      stats[p].de00.Add(d00);
      d.DeAb[i][p] = NarrowToSingle(dAb);
      d.De00[i][p] = NarrowToSingle(d00);
      d.SortedDeAb(p)[i] = dAb;
      d.SortedDe00(p)[i] = d00;
    }
  }
  ShowAveragesAndMaxima(stats, n);
  ShowPercentiles();
  thresholds_.UpdateThresholds(set);
  return n;
}

void LoadDriver::ShowAveragesAndMaxima(const PairStats& stats, int m) {
  ComparisonData& d = *state_.data;
  for (int p = 0; p < kPairs; ++p) {
    if (!d.IsPairComplete(p))
      continue;
    const RunningStat& ab = stats[p].deAb;
    const RunningStat& e00 = stats[p].de00;
    view_.SetCaption(Ctl::Lb_De, 2 * p, FormatFixed7(ab.Average(m)));
    view_.SetCaption(Ctl::Lb_De, 2 * p + 1, FormatFixed7(ab.max));
    view_.SetCaption(Ctl::Lb_De2K, 2 * p, FormatFixed7(e00.Average(m)));
    view_.SetCaption(Ctl::Lb_De2K, 2 * p + 1, FormatFixed7(e00.max));
    d.AvgDeAb[p] = NarrowToSingle(ab.Average(m));
    d.AvgDe00[p] = NarrowToSingle(e00.Average(m));
    d.MaxDeAb[p] = NarrowToSingle(ab.max);
    d.MaxDe00[p] = NarrowToSingle(e00.max);
  }
}

void LoadDriver::ShowPercentiles() {
  ComparisonData& d = *state_.data;
  const int n = d.PatchCount[0];
  for (int p = 0; p < kPairs; ++p) {
    SortAscending(d.SortedDeAb(p), n);
    SortAscending(d.SortedDe00(p), n);
  }
  const PercentilePositions pos = PercentilePositionsFor(n);
  for (int p = 0; p < kPairs; ++p) {
    d.Best10DeAb[p] = NarrowToSingle(d.SortedDeAb(p)[pos.k10]);
    d.Best10De00[p] = NarrowToSingle(d.SortedDe00(p)[pos.k10]);
    d.Pct95DeAb[p] = NarrowToSingle(d.SortedDeAb(p)[pos.k95]);
    d.Pct95De00[p] = NarrowToSingle(d.SortedDe00(p)[pos.k95]);
  }
  if (!pos.Shown() || n < 1)
    return;
  for (int p = 0; p < kPairs; ++p) {
    if (d.PatchCount[p + 1] < 1)
      continue;
    view_.SetCaption(Ctl::Lb_BestDe, p, FormatFixed7(d.Best10DeAb[p]));
    view_.SetCaption(Ctl::Lb_Best2K, p, FormatFixed7(d.Best10De00[p]));
    view_.SetCaption(Ctl::Lb_WorsDe, p, FormatFixed7(d.Pct95DeAb[p]));
    view_.SetCaption(Ctl::Lb_Wors2K, p, FormatFixed7(d.Pct95De00[p]));
  }
}

void LoadDriver::RefreshOrHideArea(int chart) {
  const int x = state_.SelX[chart][1];
  const int y = state_.SelY[chart][1];
  if (x >= 1 && y >= 1) {
    UpdateAreaSelection(state_, view_, chart, static_cast<float>(x), static_cast<float>(y));
  } else {
    view_.SetAreaBoxVisible(chart, false);
  }
}

// Re-reads a sample file whose figures the load just changed; false stops the
// driver (the views keep what they showed).
bool LoadDriver::ReloadAndRedraw(int set) {
  if (ReadAndCompare(set, PathOf(set)) == 0)
    return false;
  ShowPatchChart(state_, view_, set);
  view_.DrawHistogram(set - 1);
  RefreshOrHideArea(set - 1);
  return true;
}

void LoadDriver::LoadDataSet(int set) {
  if (ReadAndCompare(set, PathOf(set)) == 0)
    return;
  if (set == 0) {
    RefreshOrHideArea(0);
    if (!PathOf(2).empty() && !ReloadAndRedraw(2))
      return;
    ShowPatchChart(state_, view_, 0);
    view_.DrawHistogram(0);
  } else {
    ShowPatchChart(state_, view_, set);
    view_.DrawHistogram(set - 1);
    RefreshOrHideArea(set - 1);
    const int other = set == 1 ? 2 : 1;
    if (!PathOf(other).empty() && !ReloadAndRedraw(other))
      return;
  }
  view_.FillGrid();
}

}  // namespace korimo
