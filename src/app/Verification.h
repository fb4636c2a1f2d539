#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "app/Criteria.h"
#include "app/Indices.h"

namespace korimo {

class Comparison;

// One Reference patch and what it was compared with.
struct PatchDifference {
  int sample = -1;  // -1: unpaired, the values below mean nothing
  double de = 0;    // ⊿E
  double de00 = 0;  // ⊿E00
  double dl = 0;    // ΔL*, signed
  double dc = 0;    // ΔC*ab, signed
  double dh = 0;    // ΔH*ab
  double dch = 0;   // ΔCh
  bool Paired() const { return sample >= 0; }
};

// Per Reference patch of a complete pair, in double: the pair's map in the
// ID and device modes, and by position only where both files hold the
// patch, so nothing meets the zeros of a missing patch. Empty for a pair
// that is not complete.
std::vector<PatchDifference> PatchDifferences(const Comparison& c, Pair pair);

// A metric's value for one paired patch: components as absolute values.
double MetricValue(const PatchDifference& patch, VerifyMetric metric);

// Why a criterion was not evaluated.
enum class Unevaluable {
  None,
  NoDeviceValues,  // the Reference has no CMYK values
  NotFound,        // some of the role's recipes are not in the Reference
  Unpaired,        // some of the role's patches have no sample patch
  NoPatches,       // the role has no patch at all
};

struct CriterionResult {
  Criterion criterion;
  int patches = 0;              // patches evaluated (k)
  std::optional<double> value;  // the statistic; nullopt when not evaluated
  bool pass = false;            // the value as shown ("0.00") is at most the limit
  Unevaluable why = Unevaluable::None;
  int lacking = 0;   // recipes not found, or patches not paired
  int roleSize = 0;  // recipes of the role (patches for `all`)
};

struct PairVerdict {
  Pair pair = Pair::ReferenceFile1;
  bool pass = false;
  std::vector<CriterionResult> criteria;
  // The set expects M1 data and a file of the pair declares another condition.
  bool otherCondition = false;
};

struct SetVerdict {
  std::string name;
  bool pass = false;    // every complete pair passed; false without one
  bool noPair = false;  // there was no complete pair to evaluate
  std::vector<PairVerdict> pairs;
};

// Per pair, its patch differences: what every set of one run is evaluated on.
using VerificationInput = std::array<std::vector<PatchDifference>, 2>;
VerificationInput VerificationInputs(const Comparison& c);

SetVerdict Verify(const Comparison& c, const VerificationInput& input, const CriteriaSet& set);

// The figure over sorted values, with the statistics' positions taken on the
// role's own count k and kept within 0 … k - 1.
double RoleStatistic(std::vector<double> values, VerifyStat stat);

// The criterion's reason, or empty when it was evaluated.
std::string ReasonText(const CriterionResult& result, Language language);
std::string NoPairText(Language language);

}  // namespace korimo
