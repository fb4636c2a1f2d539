#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "cli/BatchRun.h"
#include "cli/JsonLayout.h"
#include "support/TestCharts.h"

namespace korimo::testing {
namespace {

using Json = nlohmann::ordered_json;
using Args = std::vector<std::string>;

TEST(PairBy, TakesThreeModesAndRefusesOthers) {
  EXPECT_EQ(ParseCommandLine({"--pair-by", "id", "r.txt"}).options.pairBy, PairingMode::Id);
  for (const char* bad : {"ID", ""}) {
    const BatchOutcome out = RunCommandLine({"--pair-by", bad, "r.txt"});
    EXPECT_EQ(out.ExitCode(), 2) << bad;
  }
}

// Reference Pi at L* 30 + i; File1 has Pi at L* 31 + i, lacks P3 and lists
// its patches in reverse order: every paired difference is 1.
class PairByRun : public ::testing::Test {
 protected:
  PairByRun() : dir_("pair-by") {
    std::vector<Patch> reference, sample;
    for (int i = 1; i <= 20; ++i) {
      reference.push_back({"P" + std::to_string(i), 30.0 + i, 0, 0});
      if (i != 3)
        sample.insert(sample.begin(), {"P" + std::to_string(i), 31.0 + i, 0, 0});
    }
    WriteChart(dir_.File("ref.txt"), reference);
    WriteChart(dir_.File("f1.txt"), sample);
  }
  BatchOutcome Run(Args options) const {
    options.push_back(dir_.File("ref.txt"));
    options.push_back(dir_.File("f1.txt"));
    return RunCommandLine(options);
  }
  TempDir dir_;
};

TEST_F(PairByRun, JsonReportsThePairingAndNullForUnpairedPatches) {
  const BatchOutcome out = Run({"--format=json", "--pair-by=id"});
  ASSERT_EQ(out.ExitCode(), 0);
  const Json doc = Json::parse(out.output);
  const Json& pair = doc["pairs"][0];
  ASSERT_EQ(pair["de_ab"].size(), 20u);
  EXPECT_TRUE(pair["de_ab"][2].is_null());
  EXPECT_EQ(pair["de_ab"][0], 1.0);
  EXPECT_EQ(pair["avg_de_ab"], 1.0);
  const Json& pairing = doc["pairing"][0];
  EXPECT_EQ(pairing["mode"], "id");
  EXPECT_EQ(pairing["paired"], 19);
  EXPECT_EQ(pairing["reference_only"], 1);
  EXPECT_TRUE(pairing["fallback_reason"].is_null());
  const Json& incomplete = doc["pairing"][1];
  EXPECT_EQ(incomplete["mode"], "id");
  EXPECT_EQ(incomplete["paired"], 0);

  const Json device = Json::parse(Run({"--format=json", "--pair-by=device"}).output);
  EXPECT_EQ(device["pairing"][0]["mode"], "position");
  EXPECT_EQ(device["pairing"][0]["fallback_reason"], "デバイス値なし");
}

TEST_F(PairByRun, StrictIdsAndTolerancesUseWhatPaired) {
  const std::tuple<Args, int, std::string> cases[] = {
      {{"--pair-by=id"}, 0, "paired by id 19 of 20 (1 Reference only, 0 sample only)"},
      {{"--pair-by=id", "--strict-ids"}, 4, "paired by id 19 of 20"},
      {{"--pair-by=device", "--strict-ids"}, 4, "cannot pair by device (デバイス値なし)"},
      {{"--pair-by=id", "--tolerance=de:pct95<=1"}, 0, ""},
      {{"--tolerance=de:avg<=1"}, 4, "failed"},
  };
  for (const auto& [options, status, message] : cases) {
    SCOPED_TRACE(options.back());
    const BatchOutcome out = Run(options);
    EXPECT_EQ(out.ExitCode(), status);
    std::string diagnostics;
    for (const std::string& line : out.diagnostics)
      diagnostics += line + "\n";
    EXPECT_NE(diagnostics.find(message), std::string::npos) << diagnostics;
  }
}

}  // namespace
}  // namespace korimo::testing
