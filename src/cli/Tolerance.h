#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/Comparison.h"
#include "app/Verification.h"

namespace korimo {

// One --tolerance METRIC:STAT<=LIMIT: a figure of a statistics frame (the
// metrics ⊿E and ⊿E00 of the criteria vocabulary, any of its statistics).
struct Tolerance {
  VerifyMetric metric = VerifyMetric::De00;
  VerifyStat stat = VerifyStat::Avg;
  double limit = 0;
  std::string text;  // as given, for messages
};

// Parses "de00:avg<=2.5"; on failure `error` names the bad part.
std::optional<Tolerance> ParseTolerance(std::string_view text, std::string& error);

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
