#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

#include "export/RunReport.h"

namespace korimo {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

std::size_t Count(const std::string& text, const std::string& part) {
  std::size_t n = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
    ++n;
  return n;
}

// A run whose sheets have the statuses of `statuses` (C compared, X
// excluded, R refused); sheet i has ⊿E00 average 1 + i/10, and every
// compared sheet but the first a drift.
struct TestRun {
  RunOptions options;
  SheetRows rows;
  RunStatistics statistics;

  explicit TestRun(std::string_view statuses) {
    bool first = true;
    for (std::size_t i = 0; i < statuses.size(); ++i) {
      SheetRow row;
      row.file = "sheets/s" + std::to_string(i + 1) + ".txt";
      row.mtime = 1765000000 + 60 * static_cast<std::int64_t>(i);
      row.status = statuses[i] == 'C'   ? SheetStatus::Compared
                   : statuses[i] == 'X' ? SheetStatus::Excluded
                                        : SheetStatus::Refused;
      if (row.status != SheetStatus::Refused) {
        const double avg = 1 + static_cast<double>(i) / 10;
        row.paired = 40;
        for (int f = 0; f < kRunFigures; ++f)
          row.figures[static_cast<std::size_t>(f)] = avg * (f % 4 + 1);
      }
      if (row.status == SheetStatus::Compared) {
        if (!first)
          row.drift = 0.2;
        first = false;
        ++statistics.compared;
      } else {
        row.reasonJa = row.status == SheetStatus::Excluded ? "並びが違います" : "読めません";
        ++(row.status == SheetStatus::Excluded ? statistics.excluded : statistics.refused);
      }
      rows.push_back(row);
    }
    statistics.given = static_cast<int>(rows.size());
  }

  std::string Report(RunReportInput input = {}) const {
    return BuildRunReport({"ok.txt", nullptr, options, rows, statistics}, input);
  }
};

// The number of points of each line of the first plot, in drawing order.
std::vector<std::size_t> TrendLines(const std::string& html) {
  const std::size_t start = html.find("<svg");
  const std::string svg = html.substr(start, html.find("</figure>", start) - start);
  std::vector<std::size_t> lines;
  const std::string open = "<polyline points=\"";
  for (std::size_t at = svg.find(open); at != std::string::npos; at = svg.find(open, at)) {
    at += open.size();
    const std::string points = svg.substr(at, svg.find('"', at) - at);
    lines.push_back(static_cast<std::size_t>(std::count(points.begin(), points.end(), ' ')) + 1);
  }
  return lines;
}

TEST(RunReport, SectionsInOrderAndEverySheetOnce) {
  const TestRun run("CCXCCRC");
  const std::string html = run.Report();
  std::size_t at = 0;
  for (const char* heading : {"<h1>", "<h2>基準</h2>", "<h2>シート</h2>", "<h2>推移</h2>",
                              "<h2>統計</h2>", "<h2>シート一覧</h2>"}) {
    const std::size_t next = html.find(heading, at);
    ASSERT_NE(next, std::string::npos) << heading;
    at = next;
  }
  // One folder named once; each sheet a row of its own, by its file name.
  EXPECT_THAT(html, HasSubstr("フォルダ: <span class=\"path\">sheets/</span>"));
  for (int no = 1; no <= 7; ++no) {
    EXPECT_EQ(Count(html, "<td>" + std::to_string(no) + "<td class=\"f\">s" + std::to_string(no) +
                              ".txt"),
              1u)
        << no;
  }
  EXPECT_THAT(html, HasSubstr("s3.txt<br><span class=\"r\">並びが違います</span>"));
  EXPECT_THAT(html, HasSubstr("s6.txt<br><span class=\"r\">読めません</span>"));
  EXPECT_THAT(html, HasSubstr("<td>7<td>5<td>1<td>1</tr>"));  // given, compared, excluded, refused
}

// Sheets that count nowhere break each line: the average and the 95% run
// over sheets 1–2, 4–5 and 7 alone, the drift from sheet 2 (sheet 1 has
// none) and over 4–5; a single point is a mark, not a line.
TEST(RunReport, TrendLinesBreakAtExcludedAndRefusedSheets) {
  const struct {
    std::string_view statuses;
    std::vector<std::size_t> lines;  // average, 95%, drift
  } cases[] = {
      {"CCCCCCC", {7, 7, 6}},
      {"CCXCCRC", {2, 2, 2, 2, 2}},
      {"XCR", {}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(TrendLines(TestRun(c.statuses).Report()), c.lines) << c.statuses;
}

// The count decides, not a share rounded in binary: 29 of 100 sheets meet
// 29% (0.29 × 100 is 28.999999999999996 in double).
TEST(RunReport, MinimumPassShareIsMetByTheCount) {
  const struct {
    int passing;
    double minPass;
    const char* verdict;
  } cases[] = {{29, 29, "合格"}, {28, 29, "不合格"}, {100, 100, "合格"}};
  for (const auto& c : cases) {
    TestRun run(std::string(100, 'C'));
    run.options.checks.push_back({"", "社内", {}, false, ""});
    run.options.minPass = c.minPass;
    for (int i = 0; i < 100; ++i)
      run.rows[static_cast<std::size_t>(i)].verdicts.push_back({i < c.passing, {}, {}});
    run.statistics.passShare = {c.passing / 100.0};
    run.statistics.passed = {c.passing};
    const std::string html = run.Report();
    EXPECT_THAT(html, HasSubstr(std::string("<p class=\"big\">社内：<span class=\"") +
                                (c.verdict[0] == "合"[0] ? "pass" : "fail") + "\">" + c.verdict))
        << c.passing;
    EXPECT_THAT(html, HasSubstr("（" + std::to_string(c.passing) + " / 100 枚）"));
  }
}

// One criterion at limit 2: sheet 2's value 3 stands at 1.5 in red, the
// others below the line.
TEST(RunReport, FailingCriterionPointsAreRed) {
  TestRun run("CCC");
  CriteriaError error;
  run.options.checks.push_back({"", "set", {*ParseCriterion("all:de00:max<=2", error)}, false, ""});
  const double values[] = {1.0, 3.0, 1.5};
  for (std::size_t i = 0; i < 3; ++i) {
    const bool pass = values[i] <= 2;
    run.rows[i].verdicts.push_back(
        {pass,
         pass ? std::vector<std::string>{} : std::vector<std::string>{"all:de00:max<=2"},
         {values[i]}});
  }
  const std::string html = run.Report();
  EXPECT_EQ(Count(html, "fill=\"#ff0000\""), 1u);
  EXPECT_EQ(Count(html, "<span class=\"fail\">否</span>"), 1u);
}

TEST(RunReport, TextsFromFilesAndUsersStayText) {
  TestRun run("CX");
  run.rows[0].file = "a/<b>x</b>&\"'.txt";
  run.rows[1].file = "b/</td>.txt";
  run.rows[1].reasonJa = "<script>x()</script>";
  run.options.checks.push_back({"", "<i>set</i>", {}, false, ""});
  for (SheetRow& row : run.rows)
    row.verdicts.push_back({false, {"<em>"}, {}});
  RunReportInput input;
  input.job = {"</title><script>", "O'Neil & <Co>", ""};
  const std::string html =
      BuildRunReport({"ref<1>.txt", nullptr, run.options, run.rows, run.statistics}, input);
  std::string lower = html;
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  EXPECT_THAT(lower, Not(HasSubstr("<script")));
  for (const char* shown : {"a/&lt;b&gt;x&lt;/b&gt;&amp;&quot;&#39;.txt", "b/&lt;/td&gt;.txt",
                            "&lt;script&gt;x()&lt;/script&gt;", "&lt;i&gt;set&lt;/i&gt;",
                            "否: &lt;em&gt;", "O&#39;Neil &amp; &lt;Co&gt;", "ref&lt;1&gt;.txt"})
    EXPECT_THAT(html, HasSubstr(shown));
  // The running head is a CSS string.
  EXPECT_THAT(html, HasSubstr("ref\\3c 1\\3e .txt"));
}

TEST(RunReport, SameRunAndTimeGiveTheSameBytes) {
  const TestRun run("CCXCR");
  RunReportInput input;
  input.createdAt = 1765000000;
  const std::string first = run.Report(input);
  EXPECT_EQ(run.Report(input), first);
  input.createdAt += 60;
  EXPECT_NE(run.Report(input), first);
}

}  // namespace
}  // namespace korimo
