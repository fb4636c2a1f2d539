#include "cli/Tolerance.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <filesystem>
#include <tuple>

#include "cli/BatchRun.h"
#include "support/TestCharts.h"

namespace korimo::testing {
namespace {

using Args = std::vector<std::string>;
using Json = nlohmann::json;

TEST(ParseTolerance, MetricStatisticAndPlainDecimalLimit) {
  const std::tuple<const char*, Metric, Statistic, double> good[] = {
      {"de00:avg<=2.5", Metric::De00, Statistic::Average, 2.5},
      {"de:max<=5", Metric::DeAb, Statistic::Maximum, 5},
      {"de:best10<=.5", Metric::DeAb, Statistic::Best10, 0.5},
      {"de00:pct95<=3.", Metric::De00, Statistic::Pct95, 3},
      {"de00:avg<=0", Metric::De00, Statistic::Average, 0}};
  for (const auto& [text, metric, statistic, limit] : good) {
    std::string error;
    const auto t = ParseTolerance(text, error);
    ASSERT_TRUE(t) << text << ": " << error;
    EXPECT_EQ((std::tuple{t->metric, t->statistic, t->limit}),
              (std::tuple{metric, statistic, limit}));
  }
  // Each bad input changes one part of a good one; the message names that part.
  const std::pair<const char*, const char*> bad[] = {
      {"dE00:avg<=2.5", "invalid metric 'dE00'"},   {"de2000:avg<=2.5", "invalid metric 'de2000'"},
      {":avg<=2.5", "invalid metric ''"},           {"de00:mean<=2.5", "invalid statistic 'mean'"},
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

// A flat Reference of n patches and a File1 whose ⊿E are exact in binary:
// n - 1 patches at 1 and one at 2.
class VerdictTest : public ::testing::Test {
 protected:
  std::string Pair(int n) {
    std::vector<double> d(static_cast<std::size_t>(n), 1.0);
    d.back() = 2.0;
    WriteChart(dir_.File("ref.txt"), Flat(n));
    WriteChart(dir_.File("f1.txt"), Offsets(d));
    return dir_.File("ref.txt");
  }
  BatchOutcome Run(Args args) {
    args.insert(args.begin(), "--format=json");
    args.push_back(dir_.File("ref.txt"));
    args.push_back(dir_.File("f1.txt"));
    return RunCommandLine(args);
  }
  TempDir dir_{"verdict"};
};

// A value equal to the limit passes; one hundredth below it fails.
TEST_F(VerdictTest, AValueEqualToTheLimitPasses) {
  Pair(20);
  const BatchOutcome pass = Run({"--tolerance", "de:max<=2", "--tolerance=de:avg<=1.05"});
  EXPECT_EQ(pass.ExitCode(), 0);
  const Json verdict = Json::parse(pass.output)["verdict"];
  EXPECT_EQ(verdict["pass"], true);
  EXPECT_EQ(verdict["checks"][0], (Json{{"pair", 0},
                                        {"metric", "de"},
                                        {"stat", "max"},
                                        {"limit", 2.0},
                                        {"value", 2.0},
                                        {"pass", true}}));
  EXPECT_EQ(verdict["checks"][1]["value"], static_cast<double>(1.05f));
  const BatchOutcome fail = Run({"--tolerance", "de:max<=1.99"});
  EXPECT_EQ(fail.ExitCode(), 4);
  EXPECT_EQ(fail.diagnostics, Args{"korimo-cli: Reference-File1: de:max<=1.99 failed: 2"});
}

// "Best10%" and "95%" exist from 15 Reference patches on; below, their
// checks are not evaluated and fail, while the others still count.
TEST_F(VerdictTest, PercentileChecksNeedFifteenReferencePatches) {
  for (const auto& [n, status, value] : {std::tuple{14, 4, false}, {15, 0, true}}) {
    Pair(n);
    const BatchOutcome out = Run({"--tolerance", "de:pct95<=2", "--tolerance", "de:avg<=2"});
    EXPECT_EQ(out.ExitCode(), status) << n;
    const Json checks = Json::parse(out.output)["verdict"]["checks"];
    EXPECT_EQ(checks[0]["value"].is_number(), value) << n;
    EXPECT_EQ(checks[1]["pass"], true) << n;
  }
}

// Usage before output before a file without patches before a failed check.
TEST_F(VerdictTest, ExitStatusPrecedence) {
  Pair(20);
  const std::string missing = dir_.File("missing.txt"), unwritable = dir_.File("no/such/out.txt");
  const std::string ref = dir_.File("ref.txt"), f1 = dir_.File("f1.txt");
  const std::tuple<Args, int> cases[] = {
      {{"--tolerance", "de:max<=1", ref, f1}, 4},
      {{"--strict-ids", ref, dir_.File("f1.txt")}, 0},
      {{"--tolerance", "de:max<=1", ref, f1, missing}, 1},
      {{"--tolerance", "de:max<=1", "-o", unwritable, ref, f1, missing}, 3},
      {{"--tolerance", "de:max<=x", "-o", unwritable, ref, f1, missing}, 2},
      {{"--tolerance", "de:max<=9", ref}, 4},  // no complete pair: nothing evaluated
  };
  for (const auto& [args, status] : cases)
    EXPECT_EQ(RunCommandLine(args).ExitCode(), status) << args[1];
}

// Two files of one chart in different orders: one line on standard error,
// the "pairing" entries, and status 4 only with --strict-ids.
TEST_F(VerdictTest, MismatchingFilesAreReportedAndFailOnlyWhenStrict) {
  std::vector<Patch> ref = Flat(6), moved = Flat(6);
  std::swap(moved[0], moved[4]);
  WriteChart(dir_.File("ref.txt"), ref);
  WriteChart(dir_.File("f1.txt"), moved);
  const BatchOutcome out = Run({});
  EXPECT_EQ(out.ExitCode(), 0);
  EXPECT_EQ(out.diagnostics,
            Args{"korimo-cli: Reference-File1: 2 of 6 identifiers differ, first at "
                 "No. 1 (\"P1\" vs \"P5\"); patches are compared by position"});
  EXPECT_EQ(Json::parse(out.output)["pairing"],
            Json::parse(R"([{"complete": true, "ids_compared": true, "id_mismatches": 2,
                             "first_mismatch": {"patch": 0, "reference": "P1", "sample": "P5"},
                             "counts_differ": false, "conditions_differ": false},
                            {"complete": false, "ids_compared": false, "id_mismatches": 0,
                             "first_mismatch": null, "counts_differ": false,
                             "conditions_differ": false}])"));
  EXPECT_EQ(Run({"--strict-ids"}).ExitCode(), 4);
}

}  // namespace
}  // namespace korimo::testing
