#include "cli/JsonReport.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "cli/BatchRun.h"
#include "core/Common.h"
#include "support/TestCharts.h"

namespace korimo::testing {
namespace {

using Json = nlohmann::json;

// Keys and sizes: "s" a string, "n" a number, an array its size and the
// shapes of its elements with consecutive repeats once.
std::string Shape(const Json& v) {
  if (v.is_string())
    return "s";
  if (v.is_number())
    return "n";
  if (v.is_boolean())
    return "b";
  if (v.is_null())
    return "null";
  std::string out, last;
  if (v.is_object()) {
    for (const auto& [key, value] : v.items())
      out += (out.empty() ? "{" : ",") + key + ":" + Shape(value);
    return out + "}";
  }
  for (const Json& e : v)
    if (const std::string s = Shape(e); s != last)
      out += (out.empty() ? "" : "|") + (last = s);
  return std::to_string(v.size()) + "[" + out + "]";
}

TEST(JsonReport, KeysShapesAndFiguresBesideTheirLabels) {
  const Json doc = Json::parse(
      RunCommandLine({"--format=json", "--metric", "de00",
                      KORIMO_SAMPLES_DIR "/small-reference.txt",
                      KORIMO_SAMPLES_DIR "/small-file1.txt", KORIMO_SAMPLES_DIR "/large-file2.txt"})
          .output);
  EXPECT_EQ(Shape(doc),
            "{captions:{over:s,under:s},chart:{cols:n,rows:n},count_labels:3[s],grid:24[15[s]],"
            "pairing:2[{complete:b,counts_differ:b,first_mismatch:null,id_mismatches:n,"
            "ids_compared:b}|{complete:b,counts_differ:b,first_mismatch:{patch:n,reference:s,"
            "sample:s},id_mismatches:n,ids_compared:b}],"
            "pairs:2[{avg_de00:n,avg_de_ab:n,best10_de00:n,best10_de_ab:n,dc:24[n],dch:24[n],"
            "de00:24[n],de_ab:24[n],dh:24[n],dl:24[n],"
            "hist_count:11[n],hist_value:11[n],labels:{avg_de00:s,avg_de_ab:s,best10_de00:s,"
            "best10_de_ab:s,max_de00:s,max_de_ab:s,pct95_de00:s,pct95_de_ab:s},max_de00:n,"
            "max_de_ab:n,over_percent:s,pct95_de00:n,pct95_de_ab:n,under_percent:s}],"
            "patch_id:24[s],sets:3[{lab:24[3[n]],patch_count:n,path:s,row_length:n}|"
            "{lab:1600[3[n]],patch_count:n,path:s,row_length:n}],thresholds:{over_de00:n,"
            "over_de_ab:n,under_de00:n,under_de_ab:n},verdict:null,version:s}");
  EXPECT_TRUE(doc["captions"]["under"].get<std::string>().starts_with("Under ⊿E00<"));
  for (const Json& pair : doc["pairs"])
    for (const auto& [key, label] : pair["labels"].items())
      EXPECT_EQ(label.get<std::string>(), FormatFixed7(pair[key].get<double>())) << key;
}

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
