#include "cli/Tolerance.h"

#include <algorithm>
#include <array>
#include <charconv>

#include "app/Criteria.h"

namespace korimo {

namespace {

constexpr std::string_view kAtMost = "<=";

constexpr std::array<std::pair<std::string_view, Metric>, 2> kMetrics{
    {{"de", Metric::DeAb}, {"de00", Metric::De00}}};
constexpr std::array<std::pair<std::string_view, Statistic>, 4> kStatistics{
    {{"avg", Statistic::Average},
     {"max", Statistic::Maximum},
     {"best10", Statistic::Best10},
     {"pct95", Statistic::Pct95}}};

template <typename Table, typename Value>
bool Lookup(const Table& table, std::string_view key, Value& out) {
  for (const auto& [name, value] : table) {
    if (name == key) {
      out = value;
      return true;
    }
  }
  return false;
}

float Figure(const Comparison& c, Pair pair, Metric metric, Statistic statistic) {
  const bool deAb = metric == Metric::DeAb;
  switch (statistic) {
    case Statistic::Average:
      return deAb ? c.AvgDeAb(pair) : c.AvgDe00(pair);
    case Statistic::Maximum:
      return deAb ? c.MaxDeAb(pair) : c.MaxDe00(pair);
    case Statistic::Best10:
      return deAb ? c.Best10DeAb(pair) : c.Best10De00(pair);
    case Statistic::Pct95:
      return deAb ? c.Pct95DeAb(pair) : c.Pct95De00(pair);
  }
  return 0;
}

}  // namespace

std::string_view MetricKey(Metric metric) {
  return metric == Metric::DeAb ? "de" : "de00";
}

std::string_view StatisticKey(Statistic statistic) {
  for (const auto& [name, value] : kStatistics) {
    if (value == statistic)
      return name;
  }
  return {};
}

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
  if (!Lookup(kMetrics, metric, t.metric)) {
    error =
        "invalid metric '" + std::string(metric) + "' in --tolerance " + quoted + " (de or de00)";
    return std::nullopt;
  }
  if (!Lookup(kStatistics, statistic, t.statistic)) {
    error = "invalid statistic '" + std::string(statistic) + "' in --tolerance " + quoted +
            " (avg, max, best10 or pct95)";
    return std::nullopt;
  }
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
      const bool needsPercentiles =
          t.statistic == Statistic::Best10 || t.statistic == Statistic::Pct95;
      if (figuresCurrent && (percentiles || !needsPercentiles)) {
        check.value = static_cast<double>(Figure(c, pair, t.metric, t.statistic));
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
