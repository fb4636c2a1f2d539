#include "app/RunView.h"

#include <gtest/gtest.h>

#include <cmath>

namespace korimo::testing {
namespace {

CriteriaSet Set(const std::string& text) {
  CriteriaError error;
  return *ParseCriteriaText(text, "house", error);
}

// A compared row with the given ⊿E00 average and 95%, and one verdict of
// the criteria values `values`, failing `failed`.
SheetRow Compared(double avg, double pct, std::vector<std::optional<double>> values = {},
                  std::vector<std::string> failed = {}) {
  SheetRow row;
  row.file = "/runs/s.txt";
  row.status = SheetStatus::Compared;
  row.paired = 72;
  row.figures[static_cast<std::size_t>(RunFigure::AvgDe00)] = avg;
  row.figures[static_cast<std::size_t>(RunFigure::Pct95De00)] = pct;
  row.verdicts.push_back({failed.empty(), std::move(failed), std::move(values)});
  return row;
}

SheetRow Uncounted(SheetStatus status, std::string reason) {
  SheetRow row;
  row.file = "C:\\runs\\x.txt";
  row.status = status;
  row.reasonJa = std::move(reason);
  return row;
}

// Two decimals with halves away from zero on the decimal text (1.005 is
// binary 1.00499..., shown 1.01), a time in UTC, a name without its
// folder, empty cells where a figure is missing, and the failed criteria
// as the verification page words them.
TEST(RunTable, CellsAsTheRunsOutputsWriteThem) {
  const RunOptions options{PairingMode::Position, {Set("paper:de00:max<=3\nall:de:avg<=2")}, {}};
  SheetRow row = Compared(1.005, -0.004, {3.5, 1}, {"paper:de00:max<=3"});
  row.mtime = 1736933400;
  row.drift = 2.675;
  const auto cell = [&](int column) { return RunCellText(row, 7, column, options); };
  EXPECT_EQ(cell(0), "7");
  EXPECT_EQ(cell(kRunFileColumn), "s.txt");
  EXPECT_EQ(cell(2), "2025-01-15 09:30:00");
  EXPECT_EQ(cell(3), "比較");
  EXPECT_EQ(cell(4), "72");
  EXPECT_EQ(RunColumnHeading(kRunFirstFigureColumn + 4), "⊿E00 平均");
  EXPECT_EQ(cell(kRunFirstFigureColumn + 4), "1.01");
  EXPECT_EQ(cell(kRunFirstFigureColumn + 7), "0.00");
  EXPECT_EQ(cell(kRunFirstFigureColumn), "");
  EXPECT_EQ(RunColumnHeading(kRunVerdictColumn - 1), "ドリフト");
  EXPECT_EQ(cell(kRunVerdictColumn - 1), "2.68");
  EXPECT_EQ(cell(kRunVerdictColumn), "否");
  EXPECT_EQ(cell(kRunReasonColumn), "否: 紙白 ⊿E00 最大");
  const SheetRow refused = Uncounted(SheetStatus::Refused, "BEGIN_DATA行がありません");
  EXPECT_EQ(RunCellText(refused, 8, kRunFileColumn, options), "x.txt");
  EXPECT_EQ(RunCellText(refused, 8, 3, options), "拒否");
  EXPECT_EQ(RunCellText(refused, 8, kRunVerdictColumn, options), "");
  EXPECT_EQ(RunCellText(refused, 8, kRunReasonColumn, options), "BEGIN_DATA行がありません");
  // Sorted by a figure, a sheet without one follows either way.
  EXPECT_TRUE(RunRowBefore(row, refused, kRunFirstFigureColumn + 4, false));
  EXPECT_TRUE(RunRowBefore(row, refused, kRunFirstFigureColumn + 4, true));
  EXPECT_TRUE(RunRowBefore(Compared(2, 0), row, kRunFirstFigureColumn + 4, true));
}

// Compared, excluded, refused, compared on a plot 400 pixels wide: the two
// middle slots are grey, the lines break there and each lone point is
// marked.
TEST(RunTrend, SheetsThatCountNowhereAreGaps) {
  const SheetRow rows[] = {Compared(0.5, 0.9), Uncounted(SheetStatus::Excluded, "並び違い"),
                           Uncounted(SheetStatus::Refused, "読めない"), Compared(0.7, 1.1)};
  const TrendChart chart = FigureTrend({&rows[0], &rows[1], &rows[2], &rows[3]}, Metric::De00);
  EXPECT_EQ(chart.gaps, std::vector<bool>({false, true, true, false}));
  EXPECT_EQ(chart.series[0].values[1], std::nullopt);
  const TrendLayout layout = LayOutTrend(chart, 400, 101);
  EXPECT_EQ(layout.gaps, (std::vector<std::pair<int, int>>{{100, 199}, {200, 299}}));
  const TrendLine& average = layout.lines[0];
  ASSERT_EQ(average.segments.size(), 2u);
  EXPECT_TRUE(average.segments[0].marked);
  EXPECT_DOUBLE_EQ(average.segments[1].points[0].x, 350);
  // Five steps must reach the 95% of 1.1: quarters, up to 1.25; 0.7 lies at
  // 100 (1 - 0.7 / 1.25) + 0.5.
  EXPECT_DOUBLE_EQ(layout.scale.top, 1.25);
  EXPECT_NEAR(average.segments[1].points[0].y, 44.5, 1e-9);
  EXPECT_EQ(layout.SheetAt(150), 1);
  EXPECT_EQ(layout.SheetAt(400), std::nullopt);
}

// Paper ⊿E00 max 1.5 of 3 and average ⊿E 2.4 of 2 (failed): ratios 0.5 and
// 1.2 around one limit line at 1, the failed one in red; the axis reaches
// 1.25 in quarters, so the line lies at 102 (1 - 1 / 1.25) + 0.5 = 20.9.
TEST(RunTrend, CriteriaShareOneLimitLineAndFailuresAreRed) {
  const CriteriaSet set = Set("paper:de00:max<=3\nall:de:avg<=2");
  const SheetRow row = Compared(0.5, 0.9, {1.5, 2.4}, {"all:de:avg<=2"});
  const TrendChart chart = CriteriaTrend({&row}, set, 0);
  EXPECT_NEAR(*chart.series[0].values[0], 0.5, 1e-12);
  EXPECT_NEAR(*chart.series[1].values[0], 1.2, 1e-12);
  EXPECT_EQ(chart.series[1].failing, std::vector<bool>{true});
  EXPECT_EQ(chart.level, 1.0);
  const TrendLayout layout = LayOutTrend(chart, 200, 103);
  EXPECT_DOUBLE_EQ(layout.scale.top, 1.25);
  EXPECT_EQ(layout.valueTicks.back().text, "1.25");
  EXPECT_EQ(layout.levelRow, 21);
  EXPECT_TRUE(layout.lines[0].failing.empty());
  ASSERT_EQ(layout.lines[1].failing.size(), 1u);
  EXPECT_NEAR(layout.lines[1].failing[0].y, 102 * (1 - 1.2 / 1.25) + 0.5, 1e-9);
  const std::string text = TrendPointText(row, 3, Metric::De00, {{}, {set}, {}});
  EXPECT_NE(text.find("紙白 ⊿E00 最大 1.50（許容値 3）"), std::string::npos) << text;
  EXPECT_NE(text.find("全パッチ ⊿E 平均 2.40（許容値 2）　否"), std::string::npos) << text;
}

// A thousand sheets alternating 1 and 2 on 100 pixels: four points a pixel
// column at most, and every column still reaches both values.
TEST(RunTrend, ScreenLayoutKeepsEachColumnsReach) {
  std::vector<SheetRow> rows;
  for (int i = 0; i < 1000; ++i)
    rows.push_back(Compared(1 + i % 2, 3));
  SheetRowRefs refs;
  for (const SheetRow& row : rows)
    refs.push_back(&row);
  const TrendLayout layout =
      LayOutTrend(FigureTrend(refs, Metric::De00), 100, 51, TrendDetail::Pixels);
  const std::vector<TrendPoint>& points = layout.lines[0].segments.at(0).points;
  EXPECT_LE(points.size(), 400u);
  std::vector<std::pair<double, double>> reach(100, {1e9, -1e9});
  for (const TrendPoint& p : points) {
    auto& [low, high] = reach[static_cast<std::size_t>(std::floor(p.x))];
    low = std::min(low, p.y);
    high = std::max(high, p.y);
  }
  for (const auto& [low, high] : reach)
    EXPECT_EQ(std::make_pair(low, high), std::make_pair(layout.Y(2), layout.Y(1)));
}

}  // namespace
}  // namespace korimo::testing
