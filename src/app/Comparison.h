#pragma once

#include <array>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "app/Indices.h"
#include "app/Inputs.h"
#include "app/PairingMap.h"
#include "core/Common.h"

namespace korimo {

// What the "Best10%" and "95%" labels of a pair do after a comparison.
enum class PercentileLabels { Kept, Written, Emptied };

// One pair compared: which sample patch each Reference patch meets, their
// differences and the pair's figures. Immutable once made.
struct PairComparison {
  PairMap map;
  // Reference patches whose differences count in the figures: by position
  // the range m of the read that set them, whatever the files hold (a
  // missing patch compares against zeros); else every Reference patch.
  int range = 0;
  int divisor = 0;  // of the averages: m by position, else the k paired patches
  // Per Reference patch, the differences at full precision: over the range,
  // and by position also up to the smaller count of the two files, which a
  // verification walks. 0 where nothing is paired.
  std::vector<double> deAb;
  std::vector<double> de00;
  double sumAb = 0;
  double sum00 = 0;
  double maxAb = 0;
  double max00 = 0;
  // The sorted tables "Best10%", "95%" and the Under/Over percentages read:
  // by position the range's differences, padded with zeros to the
  // Reference's count, whose first `sortedCount` entries are sorted; else
  // the k paired differences, all sorted. Sorted when first asked for: an
  // output of the grid alone needs none of it.
  struct Sorted {
    std::vector<double> ab;
    std::vector<double> e00;
  };
  int sortedCount = 0;
  PercentilePositions positions;
  PercentileLabels labels = PercentileLabels::Kept;
  const Sorted& SortedTables() const;

  // "Best10%" and "95%" as stored: the sorted tables' entries at the
  // percentile positions, selected without sorting, since most outputs
  // need these four numbers and not the tables.
  struct Percentiles {
    float best10DeAb = 0;
    float best10De00 = 0;
    float pct95DeAb = 0;
    float pct95De00 = 0;
  };
  const Percentiles& PercentileFigures() const;

  // The 32-bit difference views read: 0 past the range, as a table cleared
  // before every comparison holds it.
  float StoredDeAb(int patch) const;
  float StoredDe00(int patch) const;
  float Stored(Metric metric, int patch) const {
    return metric == Metric::DeAb ? StoredDeAb(patch) : StoredDe00(patch);
  }
  // An entry of a sorted table; 0 past its end.
  double SortedAt(Metric metric, int k) const;

  double AverageAb() const { return sumAb / divisor; }
  double Average00() const { return sum00 / divisor; }

 private:
  struct LazySorted {
    std::once_flag once;
    Sorted tables;
    std::once_flag percentilesOnce;
    Percentiles percentiles;
  };
  // The tables before sorting.
  Sorted Unsorted() const;
  std::shared_ptr<LazySorted> sorted_ = std::make_shared<LazySorted>();
};

// Compares one pair of files (null: none read) in `mode` over the `range`
// of the read that set the figures.
PairComparison ComparePair(const Measurement* reference, const Measurement* sample,
                           PairingMode mode, int range);

// The four thresholds of the threshold panel.
struct Thresholds {
  float underDeAb = 0;
  float overDeAb = 0;
  float underDe00 = 0;
  float overDe00 = 0;
  float Under(Metric metric) const { return metric == Metric::DeAb ? underDeAb : underDe00; }
  float Over(Metric metric) const { return metric == Metric::DeAb ? overDeAb : overDe00; }
};

// The rounded-up scale a metric's larger maximum is measured against.
float ThresholdScale(float largerMaximum);

// The comparison of the inputs as they stand: the files as last read, each
// pair as the read that set the figures compared it, and the stored
// figures. Immutable; every view of the window and every writer is a
// function of it. A pair is computed when first asked for, once.
class Comparison {
 public:
  // Pairs whose files, mode and range equal a pair of `previous` share its
  // work.
  static std::shared_ptr<const Comparison> Compute(const Inputs& inputs,
                                                   const Comparison* previous = nullptr);

  // The files as last read.
  const Measurement* Set(DataSet set) const { return sets_[Index(set)].get(); }
  int Count(DataSet set) const;
  bool Loaded(DataSet set) const { return Count(set) >= 1; }
  bool Complete(Pair pair) const { return Loaded(DataSet::Reference) && Loaded(SampleOf(pair)); }
  // The count of the first set that has patches (Reference, File1, File2).
  int ShownPatchCount() const;
  const std::array<float, 3>& Lab(DataSet set, int patch) const;
  int RowLength(DataSet set) const;

  const PanelSettings& Panel() const { return panel_; }
  PairingMode Mode() const { return mode_; }
  bool Compared() const { return basis_.has_value(); }
  // The last read stored nothing: the stored averages and maxima read 0.
  bool FiguresReset() const { return figuresReset_; }

  // The identifier shown for patch i: by position that of the last file
  // read that covers it; when some pair is paired otherwise, the rows are
  // the Reference's patches and show its own.
  const std::string& ShownId(int patch) const;
  // The identifier of the last file read that covers patch i since the
  // Reference was read (the chart's shape reads these).
  const std::string& PatchId(int patch) const { return LayeredId(idLayers_, patch); }
  // Whether no pair is paired other than by position.
  bool ByPositionOnly() const;

  // Each pair as the read that set the figures compared it.
  const PairComparison& PairOf(Pair pair) const;
  // Both files of the pair had patches at that read.
  bool CompleteAtBasis(Pair pair) const;

  // The stored 32-bit figures: averages and maxima of pairs complete at the
  // last read that stored patches, 0 otherwise and after a read that stored
  // nothing; "Best10%" and "95%" of every pair.
  float AvgDeAb(Pair pair) const;
  float AvgDe00(Pair pair) const;
  float MaxDeAb(Pair pair) const;
  float MaxDe00(Pair pair) const;
  float Max(Metric metric, Pair pair) const {
    return metric == Metric::DeAb ? MaxDeAb(pair) : MaxDe00(pair);
  }
  float Best10DeAb(Pair pair) const;
  float Best10De00(Pair pair) const;
  float Pct95DeAb(Pair pair) const;
  float Pct95De00(Pair pair) const;

  // The same files and pairs: what depends on the data alone (the
  // verification) holds for both.
  bool SameData(const Comparison& other) const {
    return sets_ == other.sets_ && pairs_ == other.pairs_;
  }

  // From the maxima as they stood when the thresholds were last taken.
  Thresholds CurrentThresholds() const;

 private:
  struct PairSlot;
  Comparison() = default;

  MeasurementSets sets_;
  std::vector<MeasurementPtr> idLayers_;
  std::array<std::optional<std::int16_t>, 3> rowLength_;
  PanelSettings panel_;
  PairingMode mode_ = PairingMode::Position;
  std::optional<CompareBasis> basis_;
  bool figuresReset_ = false;
  bool thresholdsTaken_ = false;
  bool thresholdsReset_ = false;
  std::array<std::shared_ptr<PairSlot>, 2> pairs_;
  mutable std::once_flag byPositionOnce_;
  mutable bool byPositionOnly_ = true;
};

using ComparisonPtr = std::shared_ptr<const Comparison>;

}  // namespace korimo
