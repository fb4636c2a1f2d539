#include "app/Labels.h"

#include <algorithm>

#include "app/WindowRecord.h"

namespace korimo {

namespace {

// Every table of the window has this many slots; a walk never goes past.
constexpr int kSlots = 3001;

std::string Percent(int count, int n) {
  return FormatDecimals(count * 100.0 / n, 0) + "%";
}

// By position the counts the window always used; a pair paired otherwise
// is walked and counted over its k paired patches.
int PairedOr(const PairComparison& c, int byPosition) {
  return c.map.byPosition ? byPosition : c.map.paired;
}

// Values walked up from the smallest while they are at or below T.
int CountUnder(const PairComparison& c, Metric metric, int n, float threshold) {
  const int limit = std::min(n, kSlots);
  int count = 0;
  while (count < limit && NarrowToSingle(c.SortedAt(metric, count)) <= threshold)
    ++count;
  return count;
}

// Values walked down from the Reference's last entry while they are at or
// above T.
int CountOver(const PairComparison& c, Metric metric, int top, float threshold) {
  int count = 0;
  for (int i = std::min(top, kSlots - 1);
       i >= 0 && NarrowToSingle(c.SortedAt(metric, i)) >= threshold; --i)
    ++count;
  return count;
}

// The base of a percentage: the Reference's count for a read of the pair's
// own sample file by position, the sample's for every other update.
int BaseOf(const Comparison& c, Pair pair, bool overSampleCount) {
  const PairComparison& pc = c.PairOf(pair);
  return PairedOr(pc, c.Count(overSampleCount ? SampleOf(pair) : DataSet::Reference));
}

}  // namespace

std::string CountLabel(const Measurement* read) {
  return read == nullptr ? std::string() : std::to_string(read->Count()) + std::string(kPatchUnit);
}

PairFigures FiguresOf(const Comparison& c, Pair pair) {
  const PairComparison& p = c.PairOf(pair);
  const PairComparison::Percentiles& t = p.PercentileFigures();
  return {p.AverageAb(), p.maxAb,     p.Average00(), p.max00,
          t.best10DeAb,  t.pct95DeAb, t.best10De00,  t.pct95De00};
}

FrameTexts FrameTextsOf(const Comparison* averages, const Comparison* percentiles, Pair pair) {
  FrameTexts t;
  if (averages != nullptr) {
    const PairFigures f = FiguresOf(*averages, pair);
    t.de[0] = FormatFixed7(f.avgDeAb);
    t.de[1] = FormatFixed7(f.maxDeAb);
    t.de00[0] = FormatFixed7(f.avgDe00);
    t.de00[1] = FormatFixed7(f.maxDe00);
  }
  if (percentiles != nullptr && percentiles->PairOf(pair).labels == PercentileLabels::Written) {
    const PairFigures f = FiguresOf(*percentiles, pair);
    t.de[2] = FormatFixed7(f.best10DeAb);
    t.de[3] = FormatFixed7(f.pct95DeAb);
    t.de00[2] = FormatFixed7(f.best10De00);
    t.de00[3] = FormatFixed7(f.pct95De00);
  }
  return t;
}

std::array<std::string, 2> CheckBoxCaptions(const Comparison* from) {
  if (from == nullptr)
    return {std::string(kUnderCaption), std::string(kOverCaption)};
  const Metric metric = from->Panel().metric;
  const Thresholds t = from->CurrentThresholds();
  const std::string under = FormatTwoDec(t.Under(metric));
  const std::string over = FormatTwoDec(t.Over(metric));
  if (metric == Metric::DeAb)
    return {"Under ⊿E<" + under, "Over ⊿E> " + over};
  return {"Under ⊿E00<" + under, "Over  ⊿E00>" + over};
}

std::string UnderPercent(const Comparison* from, Pair pair, bool overSampleCount) {
  if (from == nullptr)
    return {};
  const Metric metric = from->Panel().metric;
  const int n = BaseOf(*from, pair, overSampleCount);
  const float threshold = from->CurrentThresholds().Under(metric);
  return Percent(CountUnder(from->PairOf(pair), metric, n, threshold), n);
}

std::string OverPercent(const Comparison* from, Pair pair, bool overSampleCount) {
  if (from == nullptr)
    return {};
  const Metric metric = from->Panel().metric;
  const int n = BaseOf(*from, pair, overSampleCount);
  // The walk starts at the Reference's last entry whatever the base.
  const int top = BaseOf(*from, pair, false) - 1;
  const float threshold = from->CurrentThresholds().Over(metric);
  return Percent(CountOver(from->PairOf(pair), metric, top, threshold), n);
}

}  // namespace korimo
