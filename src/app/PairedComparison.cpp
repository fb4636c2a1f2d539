#include "app/PairedComparison.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "app/ChartMouse.h"
#include "app/Histogram.h"
#include "app/LoadDriver.h"
#include "app/PatchChart.h"
#include "app/ResultsGrid.h"
#include "app/ThresholdPanel.h"
#include "color/ColorDifference.h"
#include "core/Common.h"

namespace korimo {

namespace {

// Sums and maxima of both metrics, gathered while the patches are compared.
struct MetricStats {
  RunningStat deAb;
  RunningStat de00;
};
using PairStats = std::array<MetricStats, kPairs>;

// The colours pair p meets at Reference patch i: the Reference's, then the
// sample patch's. An unpaired patch meets itself: its difference is 0 and
// nobody reads it.
struct MetColours {
  const std::array<double, 3>& ref;
  const std::array<double, 3>& other;
};
MetColours ColoursAt(const ComparisonData& d, int p, const PairMap& map, int i) {
  const auto& ref = d.Lab0[static_cast<std::size_t>(i)];
  return {ref, map.Paired(i) ? d.Lab(p + 1)[static_cast<std::size_t>(map.SampleOf(i))] : ref};
}

// The colours of the `range` Reference patches a pair walks, then those of
// the sample patches they meet.
std::vector<double> PairColours(const ComparisonData& d, int p, const PairMap& map, int range) {
  std::vector<double> colours(static_cast<std::size_t>(6 * range));
  double* ref = colours.data();
  double* other = colours.data() + 3 * range;
  for (int i = 0; i < range; ++i) {
    const MetColours met = ColoursAt(d, p, map, i);
    std::memcpy(ref + 3 * i, met.ref.data(), 3 * sizeof(double));
    std::memcpy(other + 3 * i, met.other.data(), 3 * sizeof(double));
  }
  return colours;
}

// Whether `colours` are, bit for bit, those pair p meets now; compared in
// place, since most reads leave one of the pairs as it was.
bool SameColours(const std::vector<double>& colours, const ComparisonData& d, int p,
                 const PairMap& map, int range) {
  if (colours.size() != static_cast<std::size_t>(6 * range))
    return false;
  const double* ref = colours.data();
  const double* other = colours.data() + 3 * range;
  for (int i = 0; i < range; ++i) {
    const MetColours met = ColoursAt(d, p, map, i);
    if (std::memcmp(ref + 3 * i, met.ref.data(), 3 * sizeof(double)) != 0 ||
        std::memcmp(other + 3 * i, met.other.data(), 3 * sizeof(double)) != 0)
      return false;
  }
  return true;
}

// Pair p's differences over its range, computed anew only when its colours
// differ from those of every pair's last computation.
const EngineState::PairDifferences& DifferencesOf(EngineState& state, int p, int range) {
  const ComparisonData& d = state.Data();
  const PairMap& map = state.maps[static_cast<std::size_t>(p)];
  std::shared_ptr<const EngineState::PairDifferences>& own =
      state.differences[static_cast<std::size_t>(p)];
  for (const auto& known : state.differences) {
    if (known && SameColours(known->colours, d, p, map, range)) {
      own = known;
      return *own;
    }
  }
  auto computed = std::make_shared<EngineState::PairDifferences>();
  computed->colours = PairColours(d, p, map, range);
  computed->deAb.resize(static_cast<std::size_t>(range));
  computed->de00.resize(static_cast<std::size_t>(range));
  const std::size_t sample = static_cast<std::size_t>(3 * range);
  for (std::size_t i = 0; i < static_cast<std::size_t>(range); ++i) {
    const double* ref = &computed->colours[3 * i];
    const double* other = &computed->colours[sample + 3 * i];
    computed->deAb[i] = Cie76(ref[0], ref[1], ref[2], other[0], other[1], other[2]);
    computed->de00[i] = Ciede2000(ref[0], ref[1], ref[2], other[0], other[1], other[2]);
  }
  own = std::move(computed);
  return *own;
}

// Reference patches a pair walks: by position the range of the last read,
// whatever the other sets hold (a missing file compares against zeros and
// stays hidden); otherwise every Reference patch.
int RangeOf(const EngineState& state, const PairMap& map, int readCount) {
  return map.byPosition ? readCount : state.Count(DataSet::Reference);
}

PairStats Compare(EngineState& state, int readCount) {
  ComparisonData& d = state.Data();
  d.DeAb.clear();
  d.De00.clear();
  d.SortDeAb1.clear();
  d.SortDeAb2.clear();
  d.SortDe001.clear();
  d.SortDe002.clear();
  PairStats stats{};
  for (int p = 0; p < kPairs; ++p) {
    const PairMap& map = state.maps[static_cast<std::size_t>(p)];
    const int range = RangeOf(state, map, readCount);
    const EngineState::PairDifferences& diff = DifferencesOf(state, p, range);
    // By position the sorted tables keep patch order; paired patches fill
    // them from the start.
    int sorted = 0;
    for (int i = 0; i < range; ++i) {
      if (!map.Paired(i))
        continue;
      const double dAb = diff.deAb[static_cast<std::size_t>(i)];
      const double d00 = diff.de00[static_cast<std::size_t>(i)];
      stats[p].deAb.Add(dAb);
      stats[p].de00.Add(d00);
      d.DeAb[i][p] = NarrowToSingle(dAb);
      d.De00[i][p] = NarrowToSingle(d00);
      const int slot = map.byPosition ? i : sorted++;
      d.SortedDeAb(p)[slot] = dAb;
      d.SortedDe00(p)[slot] = d00;
    }
  }
  return stats;
}

// Average and maximum of complete pairs: by position over the m patches
// just compared, otherwise over the k paired ones.
void ShowAveragesAndMaxima(EngineState& state, const PairStats& stats, int readCount) {
  ComparisonData& d = state.Data();
  WindowRecord& r = state.record;
  for (Pair pair : kAllPairs) {
    if (!state.Complete(pair))
      continue;
    const std::size_t p = Index(pair);
    const PairMap& map = state.maps[p];
    const int m = map.byPosition ? readCount : map.paired;
    const RunningStat& ab = stats[p].deAb;
    const RunningStat& e00 = stats[p].de00;
    r.Lb_De[2 * p] = FormatFixed7(ab.Average(m));
    r.Lb_De[2 * p + 1] = FormatFixed7(ab.max);
    r.Lb_De2K[2 * p] = FormatFixed7(e00.Average(m));
    r.Lb_De2K[2 * p + 1] = FormatFixed7(e00.max);
    d.AvgDeAb[p] = NarrowToSingle(ab.Average(m));
    d.AvgDe00[p] = NarrowToSingle(e00.Average(m));
    d.MaxDeAb[p] = NarrowToSingle(ab.max);
    d.MaxDe00[p] = NarrowToSingle(e00.max);
  }
}

// By position: over the Reference's count of sorted differences, labels
// written from 15 patches on and otherwise kept. Paired: over the k paired
// differences, labels written from k = 15 on and otherwise emptied.
void ShowPercentiles(EngineState& state) {
  ComparisonData& d = state.Data();
  const int n = d.PatchCount[0];
  WindowRecord& r = state.record;
  for (Pair pair : kAllPairs) {
    const int p = static_cast<int>(Index(pair));
    const PairMap& map = state.maps[Index(pair)];
    const int count = map.SortedCount(n);
    const auto sorted = static_cast<std::size_t>(std::max(count, 0));
    SortAscending(d.SortedDeAb(p).First(sorted), count);
    SortAscending(d.SortedDe00(p).First(sorted), count);
    PercentilePositions pos = PercentilePositionsFor(count);
    if (!map.byPosition) {
      pos.k10 = std::clamp(pos.k10, 0, std::max(count - 1, 0));
      pos.k95 = std::clamp(pos.k95, 0, std::max(count - 1, 0));
    }
    d.Best10DeAb[p] = NarrowToSingle(d.SortedDeAb(p)[pos.k10]);
    d.Best10De00[p] = NarrowToSingle(d.SortedDe00(p)[pos.k10]);
    d.Pct95DeAb[p] = NarrowToSingle(d.SortedDeAb(p)[pos.k95]);
    d.Pct95De00[p] = NarrowToSingle(d.SortedDe00(p)[pos.k95]);
    const bool shown = map.byPosition ? pos.Shown() && n >= 1 && state.Loaded(SampleOf(pair))
                                      : count >= kPercentileMinimum;
    const bool emptied = !map.byPosition && !shown;
    if (shown) {
      r.Lb_BestDe[p] = FormatFixed7(d.Best10DeAb[p]);
      r.Lb_Best2K[p] = FormatFixed7(d.Best10De00[p]);
      r.Lb_WorsDe[p] = FormatFixed7(d.Pct95DeAb[p]);
      r.Lb_Wors2K[p] = FormatFixed7(d.Pct95De00[p]);
    } else if (emptied) {
      r.Lb_BestDe[p].clear();
      r.Lb_Best2K[p].clear();
      r.Lb_WorsDe[p].clear();
      r.Lb_Wors2K[p].clear();
    }
  }
}

// The texts, figures and pictures position mode showed, and back.
template <typename Kept, typename Shown>
void Exchange(Kept& kept, Shown& shown, bool keep) {
  const auto one = [keep](auto& k, auto& v) {
    if (keep)
      k = v;
    else
      v = k;
  };
  one(kept.Lb_De, shown.record.Lb_De);
  one(kept.Lb_De2K, shown.record.Lb_De2K);
  one(kept.Lb_BestDe, shown.record.Lb_BestDe);
  one(kept.Lb_Best2K, shown.record.Lb_Best2K);
  one(kept.Lb_WorsDe, shown.record.Lb_WorsDe);
  one(kept.Lb_Wors2K, shown.record.Lb_Wors2K);
  one(kept.Lb_UPar, shown.record.Lb_UPar);
  one(kept.Lb_OPar, shown.record.Lb_OPar);
  one(kept.Lb_PDe, shown.record.Lb_PDe);
  one(kept.Lb_FDe, shown.record.Lb_FDe);
  one(kept.ChkBest, shown.record.ChkBest);
  one(kept.ChkWorst, shown.record.ChkWorst);
  one(kept.Lb_GX, shown.record.Lb_GX);
  one(kept.Lb_GY, shown.record.Lb_GY);
  one(kept.Lb_DeBox, shown.record.Lb_DeBox);
  one(kept.Sh_Box, shown.record.Sh_Box);
  one(kept.HistCount, shown.HistCount);
  one(kept.HistValue, shown.HistValue);
  ComparisonData& d = shown.Data();
  one(kept.AvgDeAb, d.AvgDeAb);
  one(kept.AvgDe00, d.AvgDe00);
  one(kept.MaxDeAb, d.MaxDeAb);
  one(kept.MaxDe00, d.MaxDe00);
  one(kept.Best10DeAb, d.Best10DeAb);
  one(kept.Best10De00, d.Best10De00);
  one(kept.Pct95DeAb, d.Pct95DeAb);
  one(kept.Pct95De00, d.Pct95De00);
  one(kept.UnderDeAb, d.UnderDeAb);
  one(kept.OverDeAb, d.OverDeAb);
  one(kept.UnderDe00, d.UnderDe00);
  one(kept.OverDe00, d.OverDe00);
}

void KeepPositionFigures(EngineState& state) {
  EngineState::PositionFigures& f = state.positionFigures;
  f.serial = state.lastCompare.serial;
  f.kept = true;
  f.panel = state.panel;
  Exchange(f, state, true);
  f.PictPat = state.pictures.PictPat;
  f.PictG = state.pictures.PictG;
}

void RestorePositionFigures(EngineState& state) {
  EngineState::PositionFigures& f = state.positionFigures;
  Exchange(f, state, false);
  for (std::size_t c = 0; c < 2; ++c) {
    state.pictures.PictPat[c].Restore(f.PictPat[c]);
    state.pictures.PictG[c].Restore(f.PictG[c]);
  }
}

}  // namespace

void RefreshOrHideArea(EngineState& state, Pair chart) {
  const ChartMouseState& m = state.Mouse(chart);
  if (m.SelX[1] >= 1 && m.SelY[1] >= 1) {
    UpdateAreaSelection(state, chart, m.SelX[1], m.SelY[1]);
  } else {
    state.record.Sh_Box[Index(chart)].visible = false;
  }
}

void BuildPairMaps(EngineState& state) {
  for (Pair pair : kAllPairs) {
    const std::size_t p = Index(pair);
    state.maps[p] = BuildPairMap(state.Data(), state.sets, pair, state.pairingMode);
  }
}

void CompareAfterRead(EngineState& state, DataSet set, int count) {
  ComparisonData& d = state.Data();
  d.AvgDeAb = {};
  d.AvgDe00 = {};
  d.MaxDeAb = {};
  d.MaxDe00 = {};
  BuildPairMaps(state);
  const PairStats stats = Compare(state, count);
  ShowAveragesAndMaxima(state, stats, count);
  ShowPercentiles(state);
  // By position the percentages of the pairs `set` belongs to, as the window
  // always did; a paired comparison keeps none from an earlier read.
  UpdateThresholds(state, state.pairingMode == PairingMode::Position ? set : DataSet::Reference);
}

void ChangePairingMode(EngineState& state, PairingMode mode) {
  if (mode == state.pairingMode)
    return;
  if (state.pairingMode == PairingMode::Position)
    KeepPositionFigures(state);
  state.pairingMode = mode;
  // The rows now stand for other patches: cell texts are rebuilt, and what
  // the hover and click showed no longer holds.
  ++state.dataRevision;
  state.record.Lb_PDe = {};
  state.record.Lb_FDe = {};
  const EngineState::LastCompare& last = state.lastCompare;
  if (state.Count(last.set) >= 1)
    CompareAfterRead(state, last.set, last.count);
  else
    BuildPairMaps(state);
  const EngineState::PositionFigures& kept = state.positionFigures;
  const bool restore = mode == PairingMode::Position && kept.kept && kept.serial == last.serial &&
                       kept.panel == state.panel;
  if (restore) {
    // Charts, histograms and areas the load drew between its reads come
    // back as they were; only the grid follows the data alone.
    RestorePositionFigures(state);
  } else if (mode == PairingMode::Position && state.Count(DataSet::Reference) >= 1) {
    // Percentages left by the other mode would stand for other patches:
    // both pairs' are taken again, as a slider change takes them.
    UpdateThresholds(state, DataSet::Reference);
  }
  if (ShownPatchCount(state.Data()) == 0)
    return;
  for (Pair pair : kAllPairs) {
    if (restore || !state.Loaded(SampleOf(pair)))
      continue;
    DrawChart(state, SampleOf(pair));
    DrawHistogram(state, pair);
    RefreshOrHideArea(state, pair);
  }
  FillGrid(state);
  CheckPairing(state);
}

}  // namespace korimo
