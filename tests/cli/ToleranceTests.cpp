#include "cli/Tolerance.h"

#include <gtest/gtest.h>

#include <tuple>

namespace korimo::testing {
namespace {

TEST(ParseTolerance, MetricStatisticAndPlainDecimalLimit) {
  const std::tuple<const char*, VerifyMetric, VerifyStat, double> good[] = {
      {"de00:avg<=2.5", VerifyMetric::De00, VerifyStat::Avg, 2.5},
      {"de:max<=5", VerifyMetric::De, VerifyStat::Max, 5},
      {"de:best10<=.5", VerifyMetric::De, VerifyStat::Best10, 0.5},
      {"de00:pct95<=3.", VerifyMetric::De00, VerifyStat::Pct95, 3},
      {"de00:avg<=0", VerifyMetric::De00, VerifyStat::Avg, 0}};
  for (const auto& [text, metric, stat, limit] : good) {
    std::string error;
    const auto t = ParseTolerance(text, error);
    ASSERT_TRUE(t) << text << ": " << error;
    EXPECT_EQ((std::tuple{t->metric, t->stat, t->limit}), (std::tuple{metric, stat, limit}));
  }
  // Each bad input changes one part of a good one; the message names that part.
  const std::pair<const char*, const char*> bad[] = {
      {"dE00:avg<=2.5", "invalid metric 'dE00'"},   {"de2000:avg<=2.5", "invalid metric 'de2000'"},
      {":avg<=2.5", "invalid metric ''"},           {"de00:mean<=2.5", "invalid statistic 'mean'"},
      {"dl:avg<=2.5", "invalid metric 'dl'"},       {"dch:max<=2.5", "invalid metric 'dch'"},
      {"de00:<=2.5", "invalid statistic ''"},       {"de00:avg<2.5", "METRIC:STAT<=LIMIT"},
      {"de00:avg>=2.5", "METRIC:STAT<=LIMIT"},      {"de00avg<=2.5", "METRIC:STAT<=LIMIT"},
      {"de00:avg<=-1", "invalid limit '-1'"},       {"de00:avg<=", "invalid limit ''"},
      {"de00:avg<=2,5", "invalid limit '2,5'"},     {"de00:avg<=1e1", "invalid limit '1e1'"},
      {"de00:avg<=1.2.3", "invalid limit '1.2.3'"}, {"de00:avg<= 2", "invalid limit ' 2'"},
      {"de00:avg<=inf", "invalid limit 'inf'"},     {"de00:avg<=2.5x", "invalid limit '2.5x'"}};
  for (const auto& [text, message] : bad) {
    std::string error;
    EXPECT_FALSE(ParseTolerance(text, error)) << text;
    EXPECT_NE(error.find(message), std::string::npos) << text << ": " << error;
  }
}

}  // namespace
}  // namespace korimo::testing
