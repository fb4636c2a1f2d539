#include <gtest/gtest.h>

#include <algorithm>

#include "CliTestSupport.h"
#include "MiniJson.h"
#include "app/HeadlessWindow.h"
#include "app/Version.h"
#include "core/Encoding.h"
#include "export/ResultsText.h"
#include "support/FakePlatform.h"

namespace korimo::testing {
namespace {

// The same files chosen by hand in a window of its own, to compare against.
class OracleWindow {
 public:
  explicit OracleWindow(const std::vector<std::string>& files, bool deAb = true, int under = 2,
                        int over = 15, std::int16_t sortKey = 0) {
    window_.form().state.GridSortKey = sortKey;
    if (!deAb)
      window_.SelectMetricDeAb(false);
    window_.SetUnderPosition(under);
    window_.SetOverPosition(over);
    for (int s = 0; s < static_cast<int>(files.size()); ++s) {
      if (files[s].empty())
        continue;
      platform_.openAnswers.push_back(files[s]);
      window_.form().files.But_File_Click(s);
    }
  }
  HeadlessWindow& operator*() { return window_; }
  HeadlessWindow* operator->() { return &window_; }

 private:
  FakePlatform platform_;
  HeadlessWindow window_{platform_};
};

Json RunJson(const std::vector<std::string>& args, bool someFileEmpty = false) {
  std::vector<std::string> full = {"--format", "json"};
  full.insert(full.end(), args.begin(), args.end());
  const auto out = RunCli(full);
  EXPECT_EQ(out.ExitCode(), someFileEmpty ? 1 : 0);
  EXPECT_TRUE(IsValidUtf8(out.output));
  EXPECT_NE(out.output.substr(0, 3), "\xEF\xBB\xBF");
  const auto doc = MiniJsonParser::Parse(out.output);
  EXPECT_TRUE(doc) << "not valid JSON";
  return doc.value_or(Json{});
}

void ExpectNumbers(const Json& array, std::size_t count) {
  ASSERT_EQ(array.kind, Json::Kind::Array);
  ASSERT_EQ(array.size(), count);
  for (const Json& v : array.items)
    EXPECT_EQ(v.kind, Json::Kind::Number);
}

// The text must read back to exactly the stored value.
void ExpectSame(const Json& v, double stored) {
  ASSERT_EQ(v.kind, Json::Kind::Number);
  EXPECT_EQ(v.number, stored) << v.text;
}

TEST(CliJsonReport, TopLevelKeysInOrder) {
  const Json doc = RunJson({kSmallRef, kSmallF1, kSmallF2});
  EXPECT_EQ(doc.Keys(),
            (std::vector<std::string>{"version", "sets", "patch_id", "pairs", "thresholds",
                                      "captions", "count_labels", "chart", "grid"}));
  EXPECT_EQ(doc["version"].text, kVersionText);
}

TEST(CliJsonReport, SetsHoldPathsCountsAndEveryLabValue) {
  const Json doc = RunJson({kSmallRef, "", kLargeF2});
  OracleWindow w({kSmallRef, "", kLargeF2});
  const ComparisonData& d = *w->state().data;
  ASSERT_EQ(doc["sets"].size(), 3u);
  const std::vector<std::string> paths = {kSmallRef, "", kLargeF2};
  for (int s = 0; s < 3; ++s) {
    const Json& set = doc["sets"][s];
    EXPECT_EQ(set.Keys(), (std::vector<std::string>{"path", "patch_count", "row_length", "lab"}));
    EXPECT_EQ(set["path"].text, paths[s]);
    EXPECT_TRUE(set["patch_count"].IsInteger());
    EXPECT_EQ(set["patch_count"].number, d.PatchCount[s]);
    EXPECT_EQ(set["row_length"].number, d.RowLength[s]);
    ASSERT_EQ(set["lab"].size(), static_cast<std::size_t>(d.PatchCount[s]));
    for (int i = 0; i < d.PatchCount[s]; ++i) {
      ExpectNumbers(set["lab"][i], 3);
      for (int c = 0; c < 3; ++c)
        ExpectSame(set["lab"][i][c], d.Lab(s)[i][c]);
    }
  }
  EXPECT_EQ(doc["sets"][0]["patch_count"].number, 24);
  EXPECT_EQ(doc["sets"][1]["patch_count"].number, 0);
  EXPECT_EQ(doc["sets"][2]["patch_count"].number, 1600);
  // No file chosen for File1: its count label was never written.
  EXPECT_EQ(doc["count_labels"][1].text, "");
  EXPECT_EQ(doc["count_labels"][2].text, "1600 ﾊﾟｯﾁ");
}

TEST(CliJsonReport, PairsHoldDifferencesStatisticsLabelsAndHistograms) {
  const Json doc = RunJson({kLargeRef, kLargeF1, kLargeF2});
  OracleWindow w({kLargeRef, kLargeF1, kLargeF2});
  const ComparisonData& d = *w->state().data;
  const std::size_t n = 1600;
  ASSERT_EQ(doc["patch_id"].size(), n);
  EXPECT_EQ(doc["patch_id"][0].text, "A1");
  EXPECT_EQ(doc["patch_id"][n - 1].text, d.PatchId[n - 1]);
  ASSERT_EQ(doc["pairs"].size(), 2u);
  for (int p = 0; p < 2; ++p) {
    const Json& pair = doc["pairs"][p];
    EXPECT_EQ(pair.Keys(),
              (std::vector<std::string>{"de_ab", "de00", "avg_de_ab", "max_de_ab", "best10_de_ab",
                                        "pct95_de_ab", "avg_de00", "max_de00", "best10_de00",
                                        "pct95_de00", "labels", "hist_count", "hist_value",
                                        "under_percent", "over_percent"}));
    ExpectNumbers(pair["de_ab"], n);
    ExpectNumbers(pair["de00"], n);
    for (std::size_t i = 0; i < n; ++i) {
      ExpectSame(pair["de_ab"][i], d.DeAb[i][p]);
      ExpectSame(pair["de00"][i], d.De00[i][p]);
    }
    ExpectSame(pair["avg_de_ab"], d.AvgDeAb[p]);
    ExpectSame(pair["max_de_ab"], d.MaxDeAb[p]);
    ExpectSame(pair["best10_de_ab"], d.Best10DeAb[p]);
    ExpectSame(pair["pct95_de_ab"], d.Pct95DeAb[p]);
    ExpectSame(pair["avg_de00"], d.AvgDe00[p]);
    ExpectSame(pair["max_de00"], d.MaxDe00[p]);
    ExpectSame(pair["best10_de00"], d.Best10De00[p]);
    ExpectSame(pair["pct95_de00"], d.Pct95De00[p]);
    EXPECT_GT(pair["max_de_ab"].number, pair["avg_de_ab"].number);

    const Json& labels = pair["labels"];
    EXPECT_EQ(labels.size(), 8u);
    EXPECT_EQ(labels["avg_de_ab"].text, w->Caption(Ctl::Lb_De, 2 * p));
    EXPECT_EQ(labels["max_de_ab"].text, w->Caption(Ctl::Lb_De, 2 * p + 1));
    EXPECT_EQ(labels["best10_de_ab"].text, w->Caption(Ctl::Lb_BestDe, p));
    EXPECT_EQ(labels["pct95_de_ab"].text, w->Caption(Ctl::Lb_WorsDe, p));
    EXPECT_EQ(labels["avg_de00"].text, w->Caption(Ctl::Lb_De2K, 2 * p));
    EXPECT_EQ(labels["max_de00"].text, w->Caption(Ctl::Lb_De2K, 2 * p + 1));
    EXPECT_EQ(labels["best10_de00"].text, w->Caption(Ctl::Lb_Best2K, p));
    EXPECT_EQ(labels["pct95_de00"].text, w->Caption(Ctl::Lb_Wors2K, p));
    EXPECT_EQ(labels["avg_de_ab"].text.size(), 7u);

    ExpectNumbers(pair["hist_count"], 11);
    ExpectNumbers(pair["hist_value"], 11);
    double total = 0;
    for (int b = 0; b < 11; ++b) {
      EXPECT_TRUE(pair["hist_count"][b].IsInteger());
      EXPECT_EQ(pair["hist_count"][b].number, w->state().HistCount[p][b]);
      ExpectSame(pair["hist_value"][b], w->state().HistValue[p][b]);
      total += pair["hist_count"][b].number;
    }
    EXPECT_GT(total, 0);
    EXPECT_EQ(pair["under_percent"].text, w->Caption(Ctl::Lb_UPar, p));
    EXPECT_EQ(pair["over_percent"].text, w->Caption(Ctl::Lb_OPar, p));
    EXPECT_EQ(pair["under_percent"].text.back(), '%');
  }
}

TEST(CliJsonReport, PanelOptionsReachThresholdsAndCaptions) {
  const Json plain = RunJson({kSmallRef, kSmallF1});
  EXPECT_EQ(plain["captions"]["under"].text.rfind("Under ⊿E<", 0), 0u);
  const Json doc = RunJson({"--metric", "de00", "--under", "7", "--over=4", kSmallRef, kSmallF1});
  OracleWindow w({kSmallRef, kSmallF1}, false, 7, 4);
  const ComparisonData& d = *w->state().data;
  const Json& t = doc["thresholds"];
  EXPECT_EQ(t.Keys(),
            (std::vector<std::string>{"under_de_ab", "over_de_ab", "under_de00", "over_de00"}));
  ExpectSame(t["under_de_ab"], d.UnderDeAb);
  ExpectSame(t["over_de_ab"], d.OverDeAb);
  ExpectSame(t["under_de00"], d.UnderDe00);
  ExpectSame(t["over_de00"], d.OverDe00);
  EXPECT_NE(t["under_de00"].number, plain["thresholds"]["under_de00"].number);
  EXPECT_EQ(doc["captions"].Keys(), (std::vector<std::string>{"under", "over"}));
  EXPECT_EQ(doc["captions"]["under"].text, w->Caption(Ctl::ChkBest, 0));
  EXPECT_EQ(doc["captions"]["over"].text, w->Caption(Ctl::ChkWorst, 0));
  EXPECT_EQ(doc["captions"]["under"].text.rfind("Under ⊿E00<", 0), 0u);
  EXPECT_EQ(doc["pairs"][0]["under_percent"].text, w->Caption(Ctl::Lb_UPar, 0));
}

TEST(CliJsonReport, CountLabelsChartAndGrid) {
  const Json doc = RunJson({"--sort", "-9", kLargeRef, kLargeF1});
  OracleWindow w({kLargeRef, kLargeF1});
  w->form().state.GridSortKey = -9;
  w->FillGrid();
  ASSERT_EQ(doc["count_labels"].size(), 3u);
  EXPECT_EQ(doc["count_labels"][0].text, "1600 ﾊﾟｯﾁ");
  EXPECT_EQ(doc["count_labels"][1].text, "1600 ﾊﾟｯﾁ");
  EXPECT_EQ(doc["count_labels"][2].text, "");
  EXPECT_EQ(doc["chart"].Keys(), (std::vector<std::string>{"rows", "cols"}));
  EXPECT_EQ(doc["chart"]["rows"].number, w->state().chart.ChartRows);
  EXPECT_EQ(doc["chart"]["cols"].number, w->state().chart.ChartCols);
  EXPECT_GT(doc["chart"]["rows"].number, 0);
  const auto& rows = w->GridDataRows();
  ASSERT_EQ(doc["grid"].size(), rows.size());
  for (std::size_t r = 0; r < rows.size(); ++r) {
    ASSERT_EQ(doc["grid"][r].size(), 15u);
    for (int c = 0; c < 15; ++c)
      EXPECT_EQ(doc["grid"][r][c].text, rows[r][c]);
  }
}

// The grid is built once at the end of a run; it must still be the grid of
// the window's last refill, also when later loads stopped early.
TEST(CliJsonReport, GridIsTheWindowsGridAfterFailedLoadsToo) {
  const std::string missing = "/nonexistent/korimo/missing.txt";
  for (const auto& files : std::vector<std::vector<std::string>>{{kLargeRef, kLargeF1, kLargeF2},
                                                                 {kSmallRef, missing, kSmallF2},
                                                                 {kSmallRef, kSmallF1, missing},
                                                                 {missing, kSmallF1, kSmallF2},
                                                                 {kSmallRef, "", kLargeF2},
                                                                 {kLargeRef, kSmallF1}}) {
    std::vector<std::string> args = {"--encoding", "utf-8", "--sort", "-13"};
    args.insert(args.end(), files.begin(), files.end());
    OracleWindow w(files, true, 2, 15, -13);
    const auto& rows = w->GridDataRows();

    const bool someMissing = std::find(files.begin(), files.end(), missing) != files.end();
    const Json doc = RunJson(args, someMissing);
    ASSERT_EQ(doc["grid"].size(), rows.size()) << files[0] << " " << files[1];
    for (std::size_t r = 0; r < rows.size(); ++r) {
      for (int c = 0; c < 15; ++c)
        ASSERT_EQ(doc["grid"][r][c].text, rows[r][c]);
    }
    const std::array<std::string, 3> paths = {
        w->Caption(Ctl::Lb_File, 0), w->Caption(Ctl::Lb_File, 1), w->Caption(Ctl::Lb_File, 2)};
    const std::string text = BuildResultsText(paths, rows);
    EXPECT_EQ(RunCli(args).output, text);
    args.erase(args.begin(), args.begin() + 2);  // back to the default CP932
    EXPECT_EQ(RunCli(args).output, Utf8ToCp932(text));
  }
}

TEST(CliJsonReport, ValueReadAs95Point12IsWrittenAsItsWidenedFloat) {
  TempDir dir("cli-json-9512");
  const std::string ref = dir.File("ref.txt");
  WriteChart(ref, {{"W1", 95.12, -0.5, 1.25}});
  const Json doc = RunJson({ref});
  const Json& lab = doc["sets"][0]["lab"];
  ASSERT_EQ(lab.size(), 1u);
  EXPECT_EQ(lab[0][0].text, "95.12000274658203");
  EXPECT_EQ(lab[0][1].text, "-0.5");
  EXPECT_EQ(lab[0][2].text, "1.25");
  EXPECT_EQ(doc["patch_id"][0].text, "W1");
}

TEST(CliJsonReport, NothingLoadedStillGivesEveryKey) {
  const auto out = RunCli({"--format", "json", "/nonexistent/korimo.txt"});
  EXPECT_EQ(out.ExitCode(), 1);
  const auto doc = MiniJsonParser::Parse(out.output);
  ASSERT_TRUE(doc);
  EXPECT_EQ(doc->size(), 9u);
  EXPECT_EQ((*doc)["sets"][0]["path"].text, "/nonexistent/korimo.txt");
  EXPECT_EQ((*doc)["sets"][0]["lab"].size(), 0u);
  EXPECT_EQ((*doc)["patch_id"].size(), 0u);
  EXPECT_EQ((*doc)["pairs"][1]["de00"].size(), 0u);
  EXPECT_EQ((*doc)["pairs"][1]["hist_count"].size(), 11u);
  EXPECT_EQ((*doc)["count_labels"][0].text, "0 ﾊﾟｯﾁ");
  EXPECT_EQ((*doc)["grid"].size(), 0u);
}

TEST(CliJsonReport, PathsThatAreNotUtf8StayValidJson) {
  const std::string odd = std::string("/nonexistent/\x8a\xee\"quote\\") + '\x01';
  const auto out = RunCli({"--format", "json", odd});
  EXPECT_TRUE(IsValidUtf8(out.output));
  const auto doc = MiniJsonParser::Parse(out.output);
  ASSERT_TRUE(doc);
  EXPECT_EQ((*doc)["sets"][0]["path"].text, "/nonexistent/\xEF\xBF\xBD\xEF\xBF\xBD\"quote\\\x01");
}

}  // namespace
}  // namespace korimo::testing
