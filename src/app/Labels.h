#pragma once

#include <array>
#include <string>

#include "app/Comparison.h"
#include "app/Indices.h"

namespace korimo {

// The figures a statistics frame shows for one pair, as numbers: averages
// and maxima at full precision, "Best10%" and "95%" as stored.
struct PairFigures {
  double avgDeAb = 0;
  double maxDeAb = 0;
  double avgDe00 = 0;
  double maxDe00 = 0;
  float best10DeAb = 0;
  float pct95DeAb = 0;
  float best10De00 = 0;
  float pct95De00 = 0;
};
PairFigures FiguresOf(const Comparison& c, Pair pair);

// "24 ﾊﾟｯﾁ": a set's patch count as last read; empty while none was read.
std::string CountLabel(const Measurement* read);

// The texts of one statistics frame: per metric average, maximum,
// "Best10%" and "95%", each as FormatFixed7 writes it; empty where a label
// shows nothing. `averages` and `percentiles` are the comparisons the
// labels were last written from (null: empty).
struct FrameTexts {
  std::array<std::string, 4> de;    // ⊿E: average, maximum, Best10%, 95%
  std::array<std::string, 4> de00;  // ⊿E00
  const std::array<std::string, 4>& Row(Metric metric) const {
    return metric == Metric::DeAb ? de : de00;
  }
};
FrameTexts FrameTextsOf(const Comparison* averages, const Comparison* percentiles, Pair pair);

// "Under ⊿E<0.40" and "Over ⊿E> 3.00" (or the ⊿E00 forms) for the
// thresholds of `from`; "Under" and "Over" without one.
std::array<std::string, 2> CheckBoxCaptions(const Comparison* from);

// "14%": the share of a pair's patches at or below the Under threshold (or
// at or above the Over threshold) of `from`; empty without one.
std::string UnderPercent(const Comparison* from, Pair pair, bool overSampleCount);
std::string OverPercent(const Comparison* from, Pair pair, bool overSampleCount);

}  // namespace korimo
