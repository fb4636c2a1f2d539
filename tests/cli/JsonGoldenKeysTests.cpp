#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <string>
#include <utility>
#include <vector>

#include "cli/JsonLayout.h"
#include "support/TestCharts.h"

namespace korimo::testing {
namespace {

// Keys added to the entries of the report's arrays since the recording in
// before-keys/: where L*a*b* came from, the components of each difference,
// how the patches of a pair met, and the format each file was read as. A
// verdict gained its criteria sets.
const std::pair<const char*, std::vector<const char*>> kNewKeys[] = {
    {"sets", {"source", "illuminant", "observer", "condition", "device", "failure", "format"}},
    {"pairs", {"dl", "dc", "dh", "dch"}},
    {"pairing",
     {"conditions_differ", "mode", "paired", "reference_only", "sample_only", "sample_only_ids",
      "fallback_reason", "device_mismatches"}},
};

// The JSON outputs as recorded before sets and pairs told where L*a*b* came
// from: with the keys added since removed, every golden is what it was byte
// for byte. The run on files without complete LAB columns is left out; those
// files are refused now.
TEST(JsonGoldens, AreTheOldOnesPlusTheNewKeys) {
  const std::filesystem::path golden = KORIMO_GOLDEN_DIR;
  int compared = 0;
  for (const auto& entry : std::filesystem::directory_iterator(golden / "before-keys")) {
    const std::string name = entry.path().filename().string();
    if (name == "missing-columns-json.out")
      continue;
    auto document = nlohmann::ordered_json::parse(ReadAll(golden / "expected" / name));
    for (const auto& [member, keys] : kNewKeys) {
      for (auto& item : document[member]) {
        for (const char* key : keys)
          EXPECT_EQ(item.erase(key), 1U) << name << " " << member << "." << key;
      }
    }
    if (document["verdict"].is_object()) {
      EXPECT_EQ(document["verdict"].erase("sets"), 1U) << name;
    }
    EXPECT_EQ(LayOutJson(document), ReadAll(entry.path())) << name;
    ++compared;
  }
  EXPECT_EQ(compared, 10);
}

}  // namespace
}  // namespace korimo::testing
