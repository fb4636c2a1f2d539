#include "app/Comparison.h"

#include <algorithm>
#include <cmath>

#include "app/PanelSettings.h"
#include "color/ColorDifference.h"

namespace korimo {

namespace {

// The Under threshold never exceeds this, whatever the scale.
constexpr double kUnderScaleCap = 10;

constexpr std::array<float, 3> kZeroLab{};

int CountOf(const Measurement* m) {
  return m == nullptr ? 0 : m->Count();
}

// A patch's colour; a patch past the file's end is black, as a table
// emptied before every read holds it.
const std::array<float, 3>& ColourAt(const Measurement* m, int patch) {
  if (m == nullptr || patch < 0 || patch >= m->Count())
    return kZeroLab;
  return m->lab[static_cast<std::size_t>(patch)];
}

}  // namespace

float PairComparison::StoredDeAb(int patch) const {
  if (patch < 0 || patch >= range || !map.Paired(patch))
    return 0;
  return NarrowToSingle(deAb[static_cast<std::size_t>(patch)]);
}

float PairComparison::StoredDe00(int patch) const {
  if (patch < 0 || patch >= range || !map.Paired(patch))
    return 0;
  return NarrowToSingle(de00[static_cast<std::size_t>(patch)]);
}

double PairComparison::SortedAt(Metric metric, int k) const {
  const Sorted& t = SortedTables();
  const std::vector<double>& table = metric == Metric::DeAb ? t.ab : t.e00;
  return k >= 0 && static_cast<std::size_t>(k) < table.size() ? table[static_cast<std::size_t>(k)]
                                                              : 0;
}

PairComparison::Sorted PairComparison::Unsorted() const {
  Sorted t;
  const bool byPosition = map.byPosition;
  const std::size_t size = byPosition ? static_cast<std::size_t>(std::max(range, sortedCount)) : 0;
  t.ab.assign(size, 0.0);
  t.e00.assign(size, 0.0);
  for (int i = 0; i < range; ++i) {
    if (!map.Paired(i))
      continue;
    const auto at = static_cast<std::size_t>(i);
    if (byPosition) {
      t.ab[at] = deAb[at];
      t.e00[at] = de00[at];
    } else {
      t.ab.push_back(deAb[at]);
      t.e00.push_back(de00[at]);
    }
  }
  return t;
}

const PairComparison::Sorted& PairComparison::SortedTables() const {
  std::call_once(sorted_->once, [this, &t = sorted_->tables] {
    t = Unsorted();
    const auto sorted = static_cast<std::ptrdiff_t>(std::max(sortedCount, 0));
    std::sort(t.ab.begin(), t.ab.begin() + sorted);
    std::sort(t.e00.begin(), t.e00.begin() + sorted);
  });
  return sorted_->tables;
}

namespace {

// What entries k10 and k95 of the table hold once its first `count` entries
// are sorted: a selection puts the same values there.
std::pair<double, double> Select(std::vector<double>& table, int count, int k10, int k95) {
  const auto at = [&table](int k) {
    return static_cast<std::size_t>(k) < table.size() ? table[static_cast<std::size_t>(k)] : 0.0;
  };
  const auto sorted = table.begin() + std::max(count, 0);
  if (k95 < count)
    std::nth_element(table.begin(), table.begin() + k95, sorted);
  const double high = at(k95);
  // Below k95 the selection left the smaller values.
  const auto lowEnd = k10 < k95 && k95 < count ? table.begin() + k95 : sorted;
  if (k10 < count)
    std::nth_element(table.begin(), table.begin() + k10, lowEnd);
  return {at(k10), high};
}

}  // namespace

const PairComparison::Percentiles& PairComparison::PercentileFigures() const {
  std::call_once(sorted_->percentilesOnce, [this, &p = sorted_->percentiles] {
    Sorted t = Unsorted();
    const auto [best10Ab, pct95Ab] = Select(t.ab, sortedCount, positions.k10, positions.k95);
    const auto [best1000, pct9500] = Select(t.e00, sortedCount, positions.k10, positions.k95);
    p.best10DeAb = NarrowToSingle(best10Ab);
    p.pct95DeAb = NarrowToSingle(pct95Ab);
    p.best10De00 = NarrowToSingle(best1000);
    p.pct95De00 = NarrowToSingle(pct9500);
  });
  return sorted_->percentiles;
}

PairComparison ComparePair(const Measurement* reference, const Measurement* sample,
                           PairingMode mode, int range) {
  PairComparison c;
  c.map = BuildPairMap(reference, sample, mode);
  const int nRef = CountOf(reference);
  const int nSample = CountOf(sample);
  const bool byPosition = c.map.byPosition;
  c.range = byPosition ? range : nRef;
  // A verification walks the patches both files hold.
  const int walked =
      byPosition && c.map.complete ? std::max(c.range, std::min(nRef, nSample)) : c.range;
  c.deAb.assign(static_cast<std::size_t>(walked), 0.0);
  c.de00.assign(static_cast<std::size_t>(walked), 0.0);
  RunningStat ab;
  RunningStat e00;
  for (int i = 0; i < walked; ++i) {
    if (!c.map.Paired(i))
      continue;
    const auto& r = ColourAt(reference, i);
    const auto& s = ColourAt(sample, c.map.SampleOf(i));
    const double dAb = Cie76(r[0], r[1], r[2], s[0], s[1], s[2]);
    const double d00 = Ciede2000(r[0], r[1], r[2], s[0], s[1], s[2]);
    const auto at = static_cast<std::size_t>(i);
    c.deAb[at] = dAb;
    c.de00[at] = d00;
    if (i < c.range) {
      ab.Add(dAb);
      e00.Add(d00);
    }
  }
  c.sumAb = ab.sum;
  c.sum00 = e00.sum;
  c.maxAb = ab.max;
  c.max00 = e00.max;
  c.divisor = byPosition ? c.range : c.map.paired;
  // By position over the Reference's count of sorted differences, labels
  // written from 15 patches on and otherwise kept; paired, over the k paired
  // differences, labels written from k = 15 on and otherwise emptied.
  c.sortedCount = byPosition ? nRef : c.map.paired;
  PercentilePositions pos = PercentilePositionsFor(c.sortedCount);
  if (!byPosition) {
    pos.k10 = std::clamp(pos.k10, 0, std::max(c.sortedCount - 1, 0));
    pos.k95 = std::clamp(pos.k95, 0, std::max(c.sortedCount - 1, 0));
  }
  c.positions = pos;
  if (byPosition)
    c.labels = pos.Shown() && nRef >= 1 && nSample >= 1 ? PercentileLabels::Written
                                                        : PercentileLabels::Kept;
  else
    c.labels =
        c.sortedCount >= kPercentileMinimum ? PercentileLabels::Written : PercentileLabels::Emptied;
  return c;
}

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

// One pair's comparison, made when first asked for and shared by the
// comparisons whose pair has the same files, mode and range.
struct Comparison::PairSlot {
  const Measurement* reference = nullptr;
  const Measurement* sample = nullptr;
  MeasurementSets keep;  // the files stay while the slot does
  PairingMode mode = PairingMode::Position;
  int range = 0;
  std::once_flag once;
  PairComparison value;

  bool Same(const Measurement* r, const Measurement* s, PairingMode m, int n) const {
    return reference == r && sample == s && mode == m && range == n;
  }
};

std::shared_ptr<const Comparison> Comparison::Compute(const Inputs& inputs,
                                                      const Comparison* previous) {
  std::shared_ptr<Comparison> c(new Comparison());
  c->sets_ = inputs.sets;
  c->idLayers_ = inputs.history.idLayers;
  c->rowLength_ = inputs.history.rowLength;
  c->panel_ = inputs.panel;
  c->mode_ = inputs.mode;
  c->basis_ = inputs.history.basis;
  c->figuresReset_ = inputs.history.figuresReset;
  c->thresholdsTaken_ = inputs.history.thresholdsTaken;
  c->thresholdsReset_ = inputs.history.thresholdsReset;
  if (!c->basis_)
    return c;
  const CompareBasis& b = *c->basis_;
  for (Pair pair : kAllPairs) {
    const Measurement* ref = b.sets[0].get();
    const Measurement* sample = b.sets[Index(SampleOf(pair))].get();
    std::shared_ptr<PairSlot>& slot = c->pairs_[Index(pair)];
    if (previous != nullptr) {
      for (const auto& known : previous->pairs_) {
        if (known && known->Same(ref, sample, b.mode, b.count))
          slot = known;
      }
    }
    if (!slot && pair == Pair::ReferenceFile2 && c->pairs_[0]->Same(ref, sample, b.mode, b.count))
      slot = c->pairs_[0];
    if (!slot) {
      slot = std::make_shared<PairSlot>();
      slot->reference = ref;
      slot->sample = sample;
      slot->keep = b.sets;
      slot->mode = b.mode;
      slot->range = b.count;
    }
  }
  return c;
}

int Comparison::Count(DataSet set) const {
  return CountOf(Set(set));
}

int Comparison::ShownPatchCount() const {
  for (DataSet set : kAllSets) {
    if (Count(set) >= 1)
      return Count(set);
  }
  return 0;
}

const std::array<float, 3>& Comparison::Lab(DataSet set, int patch) const {
  return ColourAt(Set(set), patch);
}

int Comparison::RowLength(DataSet set) const {
  return rowLength_[Index(set)].value_or(0);
}

bool Comparison::ByPositionOnly() const {
  std::call_once(byPositionOnce_, [this] {
    byPositionOnly_ = !basis_ || std::all_of(kAllPairs.begin(), kAllPairs.end(),
                                             [this](Pair p) { return PairOf(p).map.byPosition; });
  });
  return byPositionOnly_;
}

const std::string& Comparison::ShownId(int patch) const {
  if (ByPositionOnly())
    return LayeredId(idLayers_, patch);
  static const std::string kNone;
  const Measurement* ref = Set(DataSet::Reference);
  if (ref == nullptr || patch < 0 || static_cast<std::size_t>(patch) >= ref->ids.values.size())
    return kNone;
  return ref->ids.values[static_cast<std::size_t>(patch)];
}

const PairComparison& Comparison::PairOf(Pair pair) const {
  static const PairComparison kNone{};
  const std::shared_ptr<PairSlot>& slot = pairs_[Index(pair)];
  if (!slot)
    return kNone;
  std::call_once(slot->once,
                 [&s = *slot] { s.value = ComparePair(s.reference, s.sample, s.mode, s.range); });
  return slot->value;
}

bool Comparison::CompleteAtBasis(Pair pair) const {
  return basis_ && CountOf(basis_->sets[0].get()) >= 1 &&
         CountOf(basis_->sets[Index(SampleOf(pair))].get()) >= 1;
}

float Comparison::AvgDeAb(Pair pair) const {
  return figuresReset_ || !CompleteAtBasis(pair) ? 0 : NarrowToSingle(PairOf(pair).AverageAb());
}

float Comparison::AvgDe00(Pair pair) const {
  return figuresReset_ || !CompleteAtBasis(pair) ? 0 : NarrowToSingle(PairOf(pair).Average00());
}

float Comparison::MaxDeAb(Pair pair) const {
  return figuresReset_ || !CompleteAtBasis(pair) ? 0 : NarrowToSingle(PairOf(pair).maxAb);
}

float Comparison::MaxDe00(Pair pair) const {
  return figuresReset_ || !CompleteAtBasis(pair) ? 0 : NarrowToSingle(PairOf(pair).max00);
}

float Comparison::Best10DeAb(Pair pair) const {
  return PairOf(pair).PercentileFigures().best10DeAb;
}

float Comparison::Best10De00(Pair pair) const {
  return PairOf(pair).PercentileFigures().best10De00;
}

float Comparison::Pct95DeAb(Pair pair) const {
  return PairOf(pair).PercentileFigures().pct95DeAb;
}

float Comparison::Pct95De00(Pair pair) const {
  return PairOf(pair).PercentileFigures().pct95De00;
}

Thresholds Comparison::CurrentThresholds() const {
  if (!thresholdsTaken_)
    return {};
  const auto maximum = [this](Metric metric) {
    if (thresholdsReset_ || !basis_)
      return 0.0F;
    const auto stored = [&](Pair p) {
      if (!CompleteAtBasis(p))
        return 0.0F;
      const PairComparison& c = PairOf(p);
      return NarrowToSingle(metric == Metric::DeAb ? c.maxAb : c.max00);
    };
    return std::max(stored(Pair::ReferenceFile1), stored(Pair::ReferenceFile2));
  };
  const float scaleAb = ThresholdScale(maximum(Metric::DeAb));
  const float scale00 = ThresholdScale(maximum(Metric::De00));
  const double u = panel_.under;
  const double o = panel_.over;
  Thresholds t;
  t.underDeAb = NarrowToSingle(std::min<double>(scaleAb, kUnderScaleCap) * u / kSliderMax);
  t.overDeAb = NarrowToSingle(scaleAb * o / kSliderMax);
  t.underDe00 = NarrowToSingle(std::min<double>(scale00, kUnderScaleCap) * u / kSliderMax);
  t.overDe00 = NarrowToSingle(scale00 * o / kSliderMax);
  return t;
}

}  // namespace korimo
