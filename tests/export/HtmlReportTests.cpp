#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <string>

#include "export/HtmlReport.h"
#include "export/ReportSave.h"
#include "support/EngineDriver.h"
#include "support/FakePlatform.h"

namespace korimo {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

using testing::EngineTest;
using testing::Patch;

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

class HtmlReportTest : public EngineTest {
 protected:
  std::string Report(ReportInput input = {}) { return BuildHtmlReport(state_, input); }
};

TEST_F(HtmlReportTest, TextsFromFilesAndUsersStayText) {
  std::vector<Patch> hostile = testing::Flat(20);
  hostile[0].id = "<script>alert(1)</script>";
  hostile[1].id = "x\"onload=\"y";
  const std::string ref = Chart("a<b>\"c'.txt", hostile);
  Choose(DataSet::Reference, ref);
  Choose(DataSet::File1, Chart("f1.txt", testing::Offsets(Same(20, 9.0))));
  ReportInput input;
  input.job = {"</title><script>x</script>", "O'Neil & <Co>", "1行目\n</style>"};
  const std::string html = Report(input);
  EXPECT_THAT(Lower(html), Not(HasSubstr("<script")));
  EXPECT_THAT(html, Not(HasSubstr("<b>\"c")));
  // A long identifier may wrap, so its row asks not to be split.
  EXPECT_THAT(html, HasSubstr("<tr class=\"w\"><td>1<td>&lt;script&gt;"));
  EXPECT_EQ(std::count(html.begin(), html.end(), '<') - std::count(html.begin(), html.end(), '>'),
            0);
  for (const char* shown : {"&lt;script&gt;alert(1)&lt;/script&gt;", "x&quot;onload=&quot;y",
                            "a&lt;b&gt;&quot;c&#39;.txt", "O&#39;Neil &amp; &lt;Co&gt;"})
    EXPECT_THAT(html, HasSubstr(shown));
  // The running head is a CSS string: a quote or "<" in a file name is escaped.
  EXPECT_THAT(html, HasSubstr("a\\3c b\\3e \\22 c'.txt")) << html.substr(0, 3000);
}

// Differences 0.1, 0.2, ... 3.0 of lightness only: the 20 worst are patches
// 30 down to 11, with ΔL* equal to ⊿E and no chroma or hue part.
TEST_F(HtmlReportTest, WorstPatchesComeFirstWithTheirParts) {
  std::vector<double> d;
  for (int i = 1; i <= 30; ++i)
    d.push_back(i / 10.0);
  LoadPair(d);
  const std::string html = Report();
  EXPECT_THAT(html, HasSubstr("⊿E00 の大きいパッチ 20"));
  EXPECT_THAT(html, HasSubstr("<tr><td>30<td>P30<td><td>50.00<td>0.00<td>0.00<td>53.00<td>0.00"
                              "<td>0.00<td>3.00<td>"));
  EXPECT_THAT(html, HasSubstr("<td>3.00<td>0.00<td>0.00\n"));
  EXPECT_THAT(html, HasSubstr("<tr><td>11<td>P11"));
  EXPECT_THAT(html, Not(HasSubstr("<tr><td>10<td>P10")));
  EXPECT_THAT(html, Not(HasSubstr("全パッチ")));
}

class ReportSaveTest : public EngineTest {
 protected:
  testing::FakePlatform platform_;
};

// A measurement file may carry any name, .html included.
TEST_F(ReportSaveTest, WritesOpensAndNeverReplacesAnInput) {
  const std::string ref = Chart("m.html", testing::Flat(20));
  Choose(DataSet::Reference, ref);
  Choose(DataSet::File1, Chart("f1.txt", testing::Offsets(Same(20, 1.0))));
  struct Case {
    std::string answer, written;
    bool opened;
  };
  const Case cases[] = {
      {dir_.File("out"), dir_.File("out.html"), true},
      {dir_.File("a.HTM"), dir_.File("a.HTM"), true},
      {ref, "", false},                    // the Reference itself
      {dir_.File("./m.html"), "", false},  // another spelling of it
      {dir_.File("m"), "", false},         // becomes m.html
  };
  for (const Case& c : cases) {
    testing::FakePlatform platform;
    platform.saveAnswers.push_back(c.answer);
    But_Report_Click(platform, state_, ReportInput{});
    EXPECT_EQ(platform.saveFilters.front(), kReportFilter);
    EXPECT_EQ(platform.writtenFiles.size(), c.written.empty() ? 0u : 1u) << c.answer;
    EXPECT_EQ(platform.writtenFiles.count(c.written), c.written.empty() ? 0u : 1u) << c.answer;
    EXPECT_EQ(platform.openedDocuments.size(), c.opened ? 1u : 0u) << c.answer;
    EXPECT_EQ(platform.messages.size(), c.opened ? 0u : 1u) << c.answer;
  }
}

}  // namespace
}  // namespace korimo
