#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>
#include <algorithm>
#include <cmath>

#include "CliTestSupport.h"
#include "app/HeadlessWindow.h"
#include "app/Version.h"
#include "cli/JsonWriter.h"
#include "support/FakePlatform.h"

namespace korimo::testing {
namespace {

QJsonDocument Parse(const std::string& text) {
  QJsonParseError error{};
  const QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromStdString(text), &error);
  EXPECT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
  return doc;
}

// Object keys in alphabetical order, comma-separated.
std::string Keys(const QJsonValue& v) {
  return v.toObject().keys().join(',').toStdString();
}
std::string Str(const QJsonValue& v) {
  EXPECT_TRUE(v.isString());
  return v.toString().toStdString();
}
double Num(const QJsonValue& v) {
  return v.toDouble(std::nan(""));
}
qsizetype Size(const QJsonValue& v) {
  return v.isArray() ? v.toArray().size() : -1;
}

TEST(CliJson, EveryKeyHoldsWhatTheWindowShows) {
  const std::vector<std::string> files = {kSmallRef, kSmallF1, kLargeF2};
  const auto out = RunCommandLine({"--format", "json", "--metric", "de00", "--under", "7",
                                   "--over=4", "--sort", "-9", kSmallRef, kSmallF1, kLargeF2});
  ASSERT_EQ(out.ExitCode(), 0);
  const QJsonValue doc = Parse(out.output).object();

  // The same panel and files set by hand in a window of its own.
  FakePlatform platform;
  HeadlessWindow w(platform);
  w.SelectMetricDeAb(false);
  w.SetUnderPosition(7);
  w.SetOverPosition(4);
  w.form().state.GridSortKey = -9;
  for (int s = 0; s < kSets; ++s) {
    platform.openAnswers.push_back(files[s]);
    w.form().files.But_File_Click(s);
  }
  const ComparisonData& d = *w.state().data;
  ASSERT_TRUE(d.PatchCount[0] == 24 && d.PatchCount[1] == 24 && d.PatchCount[2] == 1600);
  const int n = 24;  // the Reference's count

  EXPECT_EQ(Keys(doc), "captions,chart,count_labels,grid,pairs,patch_id,sets,thresholds,version");
  EXPECT_EQ(Str(doc["version"]), kVersionText);
  ASSERT_EQ(Size(doc["sets"]), kSets);
  ASSERT_EQ(Size(doc["count_labels"]), kSets);
  for (int s = 0; s < kSets; ++s) {
    const QJsonValue set = doc["sets"][s];
    EXPECT_EQ(Keys(set), "lab,patch_count,path,row_length");
    EXPECT_EQ(Str(set["path"]), files[s]);
    EXPECT_EQ(set["patch_count"].toInt(-1), d.PatchCount[s]);
    EXPECT_EQ(set["row_length"].toInt(-1), d.RowLength[s]);
    ASSERT_EQ(Size(set["lab"]), d.PatchCount[s]);
    for (int i = 0; i < d.PatchCount[s]; ++i) {
      ASSERT_EQ(Size(set["lab"][i]), 3);
      for (int c = 0; c < 3; ++c)
        EXPECT_EQ(Num(set["lab"][i][c]), d.Lab(s)[i][c]);
    }
    EXPECT_EQ(Str(doc["count_labels"][s]), w.Caption(Ctl::Lb_NoP, s));
  }
  ASSERT_EQ(Size(doc["patch_id"]), n);
  for (int i = 0; i < n; ++i)
    EXPECT_EQ(Str(doc["patch_id"][i]), d.PatchId[i]);

  ASSERT_EQ(Size(doc["pairs"]), kPairs);
  for (int p = 0; p < kPairs; ++p) {
    const QJsonValue pair = doc["pairs"][p];
    EXPECT_EQ(Keys(pair),
              "avg_de00,avg_de_ab,best10_de00,best10_de_ab,de00,de_ab,hist_count,hist_value,"
              "labels,max_de00,max_de_ab,over_percent,pct95_de00,pct95_de_ab,under_percent");
    ASSERT_EQ(Size(pair["de_ab"]), n);
    ASSERT_EQ(Size(pair["de00"]), n);
    for (int i = 0; i < n; ++i) {
      EXPECT_EQ(Num(pair["de_ab"][i]), d.DeAb[i][p]);
      EXPECT_EQ(Num(pair["de00"][i]), d.De00[i][p]);
    }
    const struct {
      const char* key;
      float value;
      Ctl label;
      int index;
    } stats[] = {{"avg_de_ab", d.AvgDeAb[p], Ctl::Lb_De, 2 * p},
                 {"max_de_ab", d.MaxDeAb[p], Ctl::Lb_De, 2 * p + 1},
                 {"best10_de_ab", d.Best10DeAb[p], Ctl::Lb_BestDe, p},
                 {"pct95_de_ab", d.Pct95DeAb[p], Ctl::Lb_WorsDe, p},
                 {"avg_de00", d.AvgDe00[p], Ctl::Lb_De2K, 2 * p},
                 {"max_de00", d.MaxDe00[p], Ctl::Lb_De2K, 2 * p + 1},
                 {"best10_de00", d.Best10De00[p], Ctl::Lb_Best2K, p},
                 {"pct95_de00", d.Pct95De00[p], Ctl::Lb_Wors2K, p}};
    EXPECT_EQ(pair["labels"].toObject().size(), 8);
    for (const auto& stat : stats) {
      EXPECT_EQ(Num(pair[stat.key]), stat.value) << stat.key;
      EXPECT_EQ(Str(pair["labels"][stat.key]), w.Caption(stat.label, stat.index)) << stat.key;
    }
    ASSERT_EQ(Size(pair["hist_count"]), 11);
    ASSERT_EQ(Size(pair["hist_value"]), 11);
    for (int b = 0; b < 11; ++b) {
      EXPECT_EQ(pair["hist_count"][b].toInt(-1), w.state().HistCount[p][b]);
      EXPECT_EQ(Num(pair["hist_value"][b]), w.state().HistValue[p][b]);
    }
    EXPECT_EQ(Str(pair["under_percent"]), w.Caption(Ctl::Lb_UPar, p));
    EXPECT_EQ(Str(pair["over_percent"]), w.Caption(Ctl::Lb_OPar, p));
  }

  const QJsonValue limits = doc["thresholds"];
  EXPECT_EQ(Keys(limits), "over_de00,over_de_ab,under_de00,under_de_ab");
  EXPECT_EQ(Num(limits["under_de_ab"]), d.UnderDeAb);
  EXPECT_EQ(Num(limits["over_de_ab"]), d.OverDeAb);
  EXPECT_EQ(Num(limits["under_de00"]), d.UnderDe00);
  EXPECT_EQ(Num(limits["over_de00"]), d.OverDe00);
  EXPECT_EQ(Keys(doc["captions"]), "over,under");
  EXPECT_EQ(Str(doc["captions"]["under"]), w.Caption(Ctl::ChkBest, 0));
  EXPECT_EQ(Str(doc["captions"]["over"]), w.Caption(Ctl::ChkWorst, 0));
  EXPECT_EQ(Keys(doc["chart"]), "cols,rows");
  EXPECT_EQ(doc["chart"]["rows"].toInt(-1), w.state().chart.ChartRows);
  EXPECT_EQ(doc["chart"]["cols"].toInt(-1), w.state().chart.ChartCols);

  const auto& rows = w.GridDataRows();
  ASSERT_EQ(Size(doc["grid"]), static_cast<qsizetype>(rows.size()));
  for (std::size_t r = 0; r < rows.size(); ++r) {
    ASSERT_EQ(Size(doc["grid"][r]), 15);
    for (int c = 0; c < 15; ++c)
      EXPECT_EQ(Str(doc["grid"][r][c]), rows[r][c]);
  }
}

TEST(CliJson, NumbersAreTheShortestTextOfTheWidenedFloat) {
  TempDir dir("cli-json-number");
  const std::string ref = dir.File("ref.txt");
  WriteChart(ref, {{"W1", 95.12, -0.5, 1.25}});
  const auto out = RunCommandLine({"--format", "json", ref});
  EXPECT_NE(out.output.find("[95.12000274658203, -0.5, 1.25]"), std::string::npos) << out.output;
}

TEST(CliJson, FilesOver3000PatchesAreCutAndReportedOnce) {
  TempDir dir("cli-json-3000");
  const std::string full = dir.File("full.txt"), over = dir.File("over.txt");
  WriteChart(full, Flat(3000));
  WriteChart(over, Flat(3001));
  // Choosing File2 reads File1 again.
  const auto out = RunCommandLine({"--format", "json", full, over, full});
  EXPECT_EQ(out.ExitCode(), 0);
  EXPECT_EQ(out.diagnostics,
            std::vector<std::string>{"korimo-cli: " + over +
                                     ": パッチ数が最大3000を越えました。読み込みを中止します"});
  const QJsonValue doc = Parse(out.output).object();
  for (int s = 0; s < kSets; ++s)
    EXPECT_EQ(doc["sets"][s]["patch_count"].toInt(-1), 3000);
}

TEST(CliJson, StringsEscapeControlCharactersAndReplaceBytesThatAreNotUtf8) {
  JsonWriter json;
  json.BeginArray();
  json.String("q\"b\\s\r\n\t\b\f\x01\x1f/\x7f ⊿\x8a");
  json.EndArray();
  const std::string& text = json.Text();
  EXPECT_EQ(std::count_if(text.begin(), text.end(), [](char c) { return c >= 0 && c < 0x20; }), 1)
      << "a raw control character besides the final line end in " << text;
  EXPECT_EQ(Str(Parse(text).array().at(0)), "q\"b\\s\r\n\t\b\f\x01\x1f/\x7f ⊿\uFFFD");
}

}  // namespace
}  // namespace korimo::testing
