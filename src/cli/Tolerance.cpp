#include "cli/Tolerance.h"

#include <algorithm>
#include <array>
#include <charconv>

#include "app/Criteria.h"

namespace korimo {

namespace {

constexpr std::string_view kAtMost = "<=";

float Figure(const Comparison& c, Pair pair, VerifyMetric metric, VerifyStat stat) {
  const bool deAb = metric == VerifyMetric::De;
  switch (stat) {
    case VerifyStat::Avg:
      return deAb ? c.AvgDeAb(pair) : c.AvgDe00(pair);
    case VerifyStat::Max:
      return deAb ? c.MaxDeAb(pair) : c.MaxDe00(pair);
    case VerifyStat::Best10:
      return deAb ? c.Best10DeAb(pair) : c.Best10De00(pair);
    case VerifyStat::Pct95:
      return deAb ? c.Pct95DeAb(pair) : c.Pct95De00(pair);
  }
  return 0;
}

}  // namespace

std::optional<Tolerance> ParseTolerance(std::string_view text, std::string& error) {
  const std::string quoted = "'" + std::string(text) + "'";
  const auto colon = text.find(':');
  const auto atMost = text.find(kAtMost);
  if (colon == std::string_view::npos || atMost == std::string_view::npos || atMost < colon) {
    error = "invalid --tolerance " + quoted + " (METRIC:STAT<=LIMIT, for example de00:avg<=2.5)";
    return std::nullopt;
  }
  Tolerance t;
  t.text = text;
  const std::string_view metric = text.substr(0, colon);
  const std::string_view statistic = text.substr(colon + 1, atMost - colon - 1);
  const std::string_view limit = text.substr(atMost + kAtMost.size());
  const std::optional<VerifyMetric> m = MetricOfKey(metric);
  if (!m || (*m != VerifyMetric::De && *m != VerifyMetric::De00)) {
    error =
        "invalid metric '" + std::string(metric) + "' in --tolerance " + quoted + " (de or de00)";
    return std::nullopt;
  }
  t.metric = *m;
  const std::optional<VerifyStat> st = StatOfKey(statistic);
  if (!st) {
    error = "invalid statistic '" + std::string(statistic) + "' in --tolerance " + quoted +
            " (avg, max, best10 or pct95)";
    return std::nullopt;
  }
  t.stat = *st;
  bool outOfRange = false;
  const std::optional<double> value = ParsePlainDecimal(limit, &outOfRange);
  if (!value) {
    error = "invalid limit '" + std::string(limit) + "' in --tolerance " + quoted +
            (outOfRange ? " (out of range)" : " (a plain decimal number, 0 or more)");
    return std::nullopt;
  }
  t.limit = *value;
  return t;
}

Verdict Evaluate(const Comparison& c, const std::vector<Tolerance>& tolerances) {
  Verdict verdict;
  bool evaluated = false;
  bool failed = false;
  const bool figuresCurrent = !c.FiguresReset();
  for (Pair pair : kAllPairs) {
    if (!c.Complete(pair))
      continue;
    const bool percentiles = c.PairOf(pair).sortedCount >= kPercentileMinimum;
    for (const Tolerance& t : tolerances) {
      CheckResult check{pair, t, std::nullopt, false};
      const bool needsPercentiles = t.stat == VerifyStat::Best10 || t.stat == VerifyStat::Pct95;
      if (figuresCurrent && (percentiles || !needsPercentiles)) {
        check.value = static_cast<double>(Figure(c, pair, t.metric, t.stat));
        check.pass = *check.value <= t.limit;
        evaluated = true;
      }
      failed = failed || !check.pass;
      verdict.checks.push_back(check);
    }
  }
  verdict.pass = evaluated && !failed;
  return verdict;
}

}  // namespace korimo
