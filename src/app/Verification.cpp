#include "app/Verification.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <numeric>

#include "app/Comparison.h"
#include "color/DifferenceComponents.h"
#include "core/Common.h"

namespace korimo {

namespace {

// The value as "0.00" shows it: a criterion judges what the user reads.
double AsShown(double value) {
  const std::string text = FormatTwoDec(value);
  double shown = 0;
  std::from_chars(text.data(), text.data() + text.size(), shown);
  return shown;
}

bool DeclaresOtherThanM1(const Measurement* set) {
  return set != nullptr && set->condition != Condition::Unknown && set->condition != Condition::M1;
}

CriterionResult Evaluate(const Comparison& c, const std::vector<PatchDifference>& patches,
                         const Criterion& criterion) {
  CriterionResult result{criterion, 0, std::nullopt, false, Unevaluable::None, 0, 0};
  const int n = static_cast<int>(patches.size());
  static const DeviceValues kNoDevice;
  const Measurement* ref = c.Set(DataSet::Reference);
  RolePatches role = FindRolePatches(criterion.role, ref != nullptr ? ref->device : kNoDevice, n);
  if (criterion.role == Role::All) {
    std::erase_if(role.patches,
                  [&](int i) { return !patches[static_cast<std::size_t>(i)].Paired(); });
    result.roleSize = static_cast<int>(role.patches.size());
  } else {
    result.roleSize = static_cast<int>(DefinitionOf(criterion.role).recipes.size());
    if (!role.deviceValues) {
      result.why = Unevaluable::NoDeviceValues;
      return result;
    }
    if (role.missing > 0) {
      result.why = Unevaluable::NotFound;
      result.lacking = role.missing;
      return result;
    }
    result.lacking =
        static_cast<int>(std::count_if(role.patches.begin(), role.patches.end(), [&](int i) {
          return !patches[static_cast<std::size_t>(i)].Paired();
        }));
    if (result.lacking > 0) {
      result.why = Unevaluable::Unpaired;
      return result;
    }
  }
  if (role.patches.empty()) {
    result.why = Unevaluable::NoPatches;
    return result;
  }
  std::vector<double> values;
  values.reserve(role.patches.size());
  for (const int i : role.patches)
    values.push_back(MetricValue(patches[static_cast<std::size_t>(i)], criterion.metric));
  result.patches = static_cast<int>(values.size());
  result.value = RoleStatistic(std::move(values), criterion.stat);
  result.pass = std::isfinite(*result.value) && AsShown(*result.value) <= criterion.limit;
  return result;
}

}  // namespace

std::vector<PatchDifference> PatchDifferences(const Comparison& c, Pair pair) {
  if (!c.Complete(pair))
    return {};
  const PairComparison& compared = c.PairOf(pair);
  const int nRef = c.Count(DataSet::Reference);
  const int common = std::min(nRef, c.Count(SampleOf(pair)));
  std::vector<PatchDifference> patches(static_cast<std::size_t>(nRef));
  for (int i = 0; i < nRef; ++i) {
    const bool met = compared.map.byPosition ? i < common : compared.map.Paired(i);
    if (!met)
      continue;
    const int j = compared.map.SampleOf(i);
    const auto& r = c.Lab(DataSet::Reference, i);
    const auto& s = c.Lab(SampleOf(pair), j);
    const DifferenceComponents parts = Components(r[0], r[1], r[2], s[0], s[1], s[2]);
    const auto at = static_cast<std::size_t>(i);
    patches[at] = {j,        compared.deAb[at], compared.de00[at], parts.dL,
                   parts.dC, parts.dH,          parts.dCh};
  }
  return patches;
}

double MetricValue(const PatchDifference& patch, VerifyMetric metric) {
  switch (metric) {
    case VerifyMetric::De:
      return patch.de;
    case VerifyMetric::De00:
      return patch.de00;
    case VerifyMetric::Dl:
      return std::fabs(patch.dl);
    case VerifyMetric::Dc:
      return std::fabs(patch.dc);
    case VerifyMetric::Dh:
      return patch.dh;
    case VerifyMetric::Dch:
      return patch.dch;
  }
  return 0;
}

double RoleStatistic(std::vector<double> values, VerifyStat stat) {
  const int k = static_cast<int>(values.size());
  if (k == 0)
    return 0;
  if (stat == VerifyStat::Avg)
    return std::accumulate(values.begin(), values.end(), 0.0) / k;
  std::sort(values.begin(), values.end());
  const PercentilePositions pos = PercentilePositionsFor(k);
  switch (stat) {
    case VerifyStat::Avg:
    case VerifyStat::Max:
      break;
    case VerifyStat::Pct95:
      return values[static_cast<std::size_t>(std::min(pos.k95, k - 1))];
    case VerifyStat::Best10:
      return values[static_cast<std::size_t>(std::min(pos.k10, k - 1))];
  }
  return values.back();
}

VerificationInput VerificationInputs(const Comparison& c) {
  return {PatchDifferences(c, Pair::ReferenceFile1), PatchDifferences(c, Pair::ReferenceFile2)};
}

SetVerdict Verify(const Comparison& c, const VerificationInput& input, const CriteriaSet& set) {
  SetVerdict verdict;
  verdict.name = set.name;
  verdict.pass = true;
  for (Pair pair : kAllPairs) {
    if (!c.Complete(pair))
      continue;
    PairVerdict p;
    p.pair = pair;
    p.pass = true;
    for (const Criterion& criterion : set.criteria) {
      p.criteria.push_back(Evaluate(c, input[Index(pair)], criterion));
      p.pass = p.pass && p.criteria.back().pass;
    }
    p.otherCondition = set.assumesM1 && (DeclaresOtherThanM1(c.Set(DataSet::Reference)) ||
                                         DeclaresOtherThanM1(c.Set(SampleOf(pair))));
    verdict.pass = verdict.pass && p.pass;
    verdict.pairs.push_back(std::move(p));
  }
  verdict.noPair = verdict.pairs.empty();
  verdict.pass = verdict.pass && !verdict.noPair;
  return verdict;
}

std::string ReasonText(const CriterionResult& result, Language language) {
  const bool ja = language == Language::Japanese;
  const std::string lacking = std::to_string(result.lacking);
  const std::string size = std::to_string(result.roleSize);
  switch (result.why) {
    case Unevaluable::None:
      break;
    case Unevaluable::NoDeviceValues:
      return ja ? "基準にCMYK値がありません" : "the Reference has no CMYK values";
    case Unevaluable::NotFound:
      return ja ? "基準にないパッチがあります（" + lacking + "/" + size + "）"
                : lacking + " of the role's " + size + " patches are not in the Reference";
    case Unevaluable::Unpaired:
      return ja ? "比較相手のないパッチがあります（" + lacking + "/" + size + "）"
                : lacking + " of the role's " + size + " patches have no sample patch";
    case Unevaluable::NoPatches:
      return ja ? "比較したパッチがありません" : "no patch of the role was compared";
  }
  return {};
}

std::string NoPairText(Language language) {
  return language == Language::Japanese ? "比較するペアがありません" : "no pair to compare";
}

}  // namespace korimo
