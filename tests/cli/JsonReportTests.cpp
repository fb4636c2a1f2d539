#include "cli/JsonReport.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "cli/BatchRun.h"
#include "support/TestCharts.h"

namespace korimo::testing {
namespace {

using Json = nlohmann::json;

// Paths are whatever the command line held; the document stays UTF-8.
TEST(JsonReport, PathsThatAreNotUtf8BecomeReplacementCharacters) {
  TempDir dir("cli-json");
  const std::string odd = dir.File("q\"b\\s\x01\t⊿\x8a.txt");
  WriteChart(odd, Flat(3));
  const Json doc = Json::parse(RunCommandLine({"--format", "json", odd}).output);
  EXPECT_EQ(doc["sets"][0]["path"], dir.File("q\"b\\s\x01\t⊿\uFFFD.txt"));
  EXPECT_EQ(doc["sets"][0]["patch_count"], 3);
}

}  // namespace
}  // namespace korimo::testing
