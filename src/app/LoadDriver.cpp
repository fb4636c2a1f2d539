#include "app/LoadDriver.h"

#include "app/ChartMouse.h"
#include "app/Histogram.h"
#include "app/PatchChart.h"
#include "app/ResultsGrid.h"
#include "app/ThresholdPanel.h"
#include "app/VerificationRecord.h"
#include "color/ColorDifference.h"
#include "core/Common.h"

#include <cstring>
#include <memory>
#include <vector>

namespace korimo {

namespace {

// Sums and maxima of both metrics, gathered while the patches are compared.
struct MetricStats {
  RunningStat deAb;
  RunningStat de00;
};
using PairStats = std::array<MetricStats, kPairs>;

// The hover and click information of the charts that show `set`, and one
// area box, go back to their defaults before the read.
void ClearPatchInfo(WindowRecord& r, DataSet set) {
  for (Pair c : kAllPairs) {
    if (set == DataSet::Reference || c == PairOf(set)) {
      r.Lb_FDe[Index(c)].clear();
      r.Lb_PDe[Index(c)].clear();
    }
  }
  const Pair box = set == DataSet::File1 ? Pair::ReferenceFile1 : Pair::ReferenceFile2;
  r.Lb_DeBox[Index(box)] = kAreaHint;
}

std::vector<double> PairColours(const ComparisonData& d, int p, int n) {
  std::vector<double> colours;
  colours.reserve(static_cast<std::size_t>(6 * n));
  for (const LabTable* table : {&d.Lab0, &d.Lab(p + 1)}) {
    for (int i = 0; i < n; ++i)
      colours.insert(colours.end(), (*table)[i].begin(), (*table)[i].end());
  }
  return colours;
}

bool SameBits(const std::vector<double>& a, const std::vector<double>& b) {
  return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(double)) == 0;
}

// Pair p's differences over the first n patches, computed anew only when its
// colours differ from those of every pair's last computation.
const EngineState::PairDifferences& DifferencesOf(EngineState& state, int p, int n) {
  std::vector<double> colours = PairColours(state.Data(), p, n);
  std::shared_ptr<const EngineState::PairDifferences>& own =
      state.differences[static_cast<std::size_t>(p)];
  for (const auto& known : state.differences) {
    if (known && SameBits(known->colours, colours)) {
      own = known;
      return *own;
    }
  }
  auto computed = std::make_shared<EngineState::PairDifferences>();
  computed->colours = std::move(colours);
  computed->deAb.resize(static_cast<std::size_t>(n));
  computed->de00.resize(static_cast<std::size_t>(n));
  const std::size_t sample = static_cast<std::size_t>(3 * n);
  for (std::size_t i = 0; i < static_cast<std::size_t>(n); ++i) {
    const double* ref = &computed->colours[3 * i];
    const double* other = &computed->colours[sample + 3 * i];
    computed->deAb[i] = Cie76(ref[0], ref[1], ref[2], other[0], other[1], other[2]);
    computed->de00[i] = Ciede2000(ref[0], ref[1], ref[2], other[0], other[1], other[2]);
  }
  own = std::move(computed);
  return *own;
}

PairStats Compare(EngineState& state, int n) {
  ComparisonData& d = state.Data();
  d.DeAb = {};
  d.De00 = {};
  d.SortDeAb1 = {};
  d.SortDeAb2 = {};
  d.SortDe001 = {};
  d.SortDe002 = {};
  PairStats stats{};
  // Both pairs for every patch of the file just read, whatever the other
  // sets hold: a pair whose file is missing compares against zeros and
  // stays hidden.
  for (int p = 0; p < kPairs; ++p) {
    const EngineState::PairDifferences& diff = DifferencesOf(state, p, n);
    for (int i = 0; i < n; ++i) {
      const double dAb = diff.deAb[static_cast<std::size_t>(i)];
      const double d00 = diff.de00[static_cast<std::size_t>(i)];
      stats[p].deAb.Add(dAb);
      stats[p].de00.Add(d00);
      d.DeAb[i][p] = NarrowToSingle(dAb);
      d.De00[i][p] = NarrowToSingle(d00);
      d.SortedDeAb(p)[i] = dAb;
      d.SortedDe00(p)[i] = d00;
    }
  }
  return stats;
}

// Average and maximum over the m patches just compared, for complete pairs.
void ShowAveragesAndMaxima(EngineState& state, const PairStats& stats, int m) {
  ComparisonData& d = state.Data();
  WindowRecord& r = state.record;
  for (Pair pair : kAllPairs) {
    if (!state.Complete(pair))
      continue;
    const std::size_t p = Index(pair);
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

// "Best10%" and "95%" over the Reference's count of sorted differences.
void ShowPercentiles(EngineState& state) {
  ComparisonData& d = state.Data();
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
  WindowRecord& r = state.record;
  for (Pair pair : kAllPairs) {
    if (!state.Loaded(SampleOf(pair)))
      continue;
    const std::size_t p = Index(pair);
    r.Lb_BestDe[p] = FormatFixed7(d.Best10DeAb[p]);
    r.Lb_Best2K[p] = FormatFixed7(d.Best10De00[p]);
    r.Lb_WorsDe[p] = FormatFixed7(d.Pct95DeAb[p]);
    r.Lb_Wors2K[p] = FormatFixed7(d.Pct95De00[p]);
  }
}

// A stored area is recomputed on the new data; no area hides the frame.
void RefreshOrHideArea(EngineState& state, Pair chart) {
  const ChartMouseState& m = state.Mouse(chart);
  if (m.SelX[1] >= 1 && m.SelY[1] >= 1) {
    UpdateAreaSelection(state, chart, m.SelX[1], m.SelY[1]);
  } else {
    state.record.Sh_Box[Index(chart)].visible = false;
  }
}

// Reads a sample file again because the load just changed its figures;
// false stops the driver (the views keep what they showed).
bool RereadSample(EngineState& state, DataSet sample, const EngineHooks& hooks) {
  if (ReadAndCompare(state, sample, state.record.Path(sample), hooks) == 0)
    return false;
  ShowPatchChart(state, sample);
  DrawHistogram(state, PairOf(sample));
  RefreshOrHideArea(state, PairOf(sample));
  return true;
}

}  // namespace

int ReadAndCompare(EngineState& state, DataSet set, const std::string& path,
                   const EngineHooks& hooks) {
  ComparisonData& d = state.Data();
  d.AvgDeAb = {};
  d.AvgDe00 = {};
  d.MaxDeAb = {};
  d.MaxDe00 = {};
  ClearPatchInfo(state.record, set);

  const int s = static_cast<int>(Index(set));
  const ReadResult read = ReadMeasurementFile(path, s, d, [&hooks](std::string_view message) {
    if (hooks.showMessage)
      hooks.showMessage(message);
  });
  ++state.dataRevision;
  if (hooks.fileRead)
    hooks.fileRead({set, path, read});
  const int n = read.patches;
  d.PatchCount[Index(set)] = static_cast<std::int16_t>(n);
  state.record.Lb_NoP[Index(set)] = std::to_string(n) + std::string(kPatchUnit);
  if (n == 0)
    return 0;

  const PairStats stats = Compare(state, n);
  ShowAveragesAndMaxima(state, stats, n);
  ShowPercentiles(state);
  UpdateThresholds(state, set);
  return n;
}

namespace {

// The load itself; it stops at the first read that yields no patches.
void LoadAndRefresh(EngineState& state, DataSet set, const EngineHooks& hooks) {
  if (ReadAndCompare(state, set, state.record.Path(set), hooks) == 0)
    return;
  if (set == DataSet::Reference) {
    RefreshOrHideArea(state, Pair::ReferenceFile1);
    if (state.record.Chosen(DataSet::File2) && !RereadSample(state, DataSet::File2, hooks))
      return;
    ShowPatchChart(state, DataSet::Reference);
    DrawHistogram(state, Pair::ReferenceFile1);
  } else {
    ShowPatchChart(state, set);
    DrawHistogram(state, PairOf(set));
    RefreshOrHideArea(state, PairOf(set));
    const DataSet other = set == DataSet::File1 ? DataSet::File2 : DataSet::File1;
    if (state.record.Chosen(other) && !RereadSample(state, other, hooks))
      return;
  }
  FillGrid(state);
}

}  // namespace

void CheckPairing(EngineState& state) {
  for (Pair pair : kAllPairs) {
    const std::size_t p = Index(pair);
    state.pairing[p] = CheckPair(state.Data(), pair);
    state.record.Lb_Pairing[p] = PairingWarning(state.Data(), pair, state.pairing[p]);
    state.record.Lb_PairingTip[p] = PairingDetails(state.Data(), pair, state.pairing[p]);
  }
}

void LoadDataSet(EngineState& state, DataSet set, const EngineHooks& hooks) {
  LoadAndRefresh(state, set, hooks);
  CheckPairing(state);
  UpdateVerification(state);
}

}  // namespace korimo
