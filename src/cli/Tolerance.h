#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/Comparison.h"
#include "app/Verification.h"

namespace korimo {

// The figures of a statistics frame a check can ask for.
enum class Statistic { Average, Maximum, Best10, Pct95 };

// One --tolerance METRIC:STAT<=LIMIT.
struct Tolerance {
  Metric metric = Metric::De00;
  Statistic statistic = Statistic::Average;
  double limit = 0;
  std::string text;  // as given, for messages
};

// Parses "de00:avg<=2.5"; on failure `error` names the bad part.
std::optional<Tolerance> ParseTolerance(std::string_view text, std::string& error);

std::string_view MetricKey(Metric metric);           // "de", "de00"
std::string_view StatisticKey(Statistic statistic);  // "avg", "max", "best10", "pct95"

struct CheckResult {
  Pair pair = Pair::ReferenceFile1;
  Tolerance tolerance;
  std::optional<double> value;  // nullopt: not evaluated
  bool pass = false;
};

struct Verdict {
  // At least one check or criterion evaluated, every check and every set passed.
  bool pass = false;
  std::vector<CheckResult> checks;
  std::vector<SetVerdict> sets;  // --check, in the order given
};

// Every check for every complete pair, ordered by pair, then as given, on
// the stored 32-bit figures widened to doubles; a value equal to the limit
// passes. "Best10%" and "95%" need a Reference of 15 patches, as the window
// shows them only from there on; a check that cannot be evaluated fails.
// When the last read of the run stored nothing, which resets the stored
// averages and maxima, no check is evaluated.
Verdict Evaluate(const Comparison& c, const std::vector<Tolerance>& tolerances);

}  // namespace korimo
