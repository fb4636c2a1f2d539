#include <gtest/gtest.h>

#include "core/Common.h"
#include "core/Encoding.h"
#include "export/ResultsExport.h"
#include "export/ResultsText.h"
#include "tests/app/EngineFixture.h"

namespace korimo::testing {
namespace {

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t eol; (eol = text.find("\r\n", start)) != std::string::npos; start = eol + 2) {
    lines.push_back(text.substr(start, eol - start));
  }
  EXPECT_EQ(start, text.size()) << "text must end with CR LF";
  return lines;
}

int Tabs(const std::string& line) {
  return static_cast<int>(std::count(line.begin(), line.end(), '\t'));
}

class ResultsTextTest : public EngineTest {
 protected:
  std::array<std::string, 3> Paths() const {
    return {Cap(Ctl::Lb_File, 0), Cap(Ctl::Lb_File, 1), Cap(Ctl::Lb_File, 2)};
  }
  std::string Text() const { return BuildResultsText(Paths(), window_.GridDataRows()); }
};

TEST_F(ResultsTextTest, ReferenceAndFile1SortedByDeltaEDescending) {
  const std::string ref = Chart("ref.txt", Flat(3));
  const std::string f1 = Chart("f1.txt", Offsets({1, 3, 2}));
  Choose(0, ref);
  Choose(1, f1);
  window_.ClickGridHeading(8);
  window_.ClickGridHeading(8);
  const auto lines = SplitLines(Text());
  ASSERT_EQ(lines.size(), 6u);
  EXPECT_EQ(lines[0], "基準:" + ref);
  EXPECT_EQ(lines[1], "File1:" + f1);
  EXPECT_EQ(lines[2], "No.\tSAMPLE_ID\tLab_L0\tLab_a0\tLab_b0\tLab_L1\tLab_a1\tLab_b1\t⊿E\t⊿E00");
  EXPECT_EQ(lines[3], "    2\t   P2\t50.00\t0.00\t0.00\t53.00\t0.00\t0.00\t3.00\t" +
                          FormatTwoDec(data().De00[1][0]) + "\t\t");
  EXPECT_TRUE(lines[4].starts_with("    3\t"));
  for (int i = 3; i < 6; ++i)
    EXPECT_EQ(Tabs(lines[i]), 11) << i;  // 11 cells, each tab-ended
}

TEST_F(ResultsTextTest, File2PathWithFailedLoadStillGetsItsColumns) {
  Choose(0, Chart("ref.txt", Flat(2)));
  Choose(2, dir_.File("missing.txt"));
  const auto lines = SplitLines(Text());
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_TRUE(lines[1].starts_with("File2:"));
  EXPECT_EQ(Tabs(lines[2]), 14);
  EXPECT_TRUE(lines[2].ends_with("\tLab_L2\tLab_a2\tLab_b2\t⊿E\t⊿E00"));
  EXPECT_EQ(Tabs(lines[3]), 15);
  EXPECT_TRUE(lines[3].ends_with("\t\t\t\t\t"));
}

TEST_F(ResultsTextTest, AfterClearAllOnlyTheColumnNamesRemain) {
  Choose(0, Chart("ref.txt", Flat(2)));
  window_.ClearAll();
  EXPECT_EQ(SplitLines(Text()).size(), 1u);
}

TEST(ResultsFileName, AppendsTxtUnlessPresentInAnyCase) {
  EXPECT_EQ(ResultsFileName("/tmp/results"), "/tmp/results.txt");
  EXPECT_EQ(ResultsFileName("/tmp/results.TXT"), "/tmp/results.TXT");
  EXPECT_EQ(ResultsFileName("/tmp/results.Txt"), "/tmp/results.Txt");
  EXPECT_EQ(ResultsFileName("/tmp/results.csv"), "/tmp/results.csv.txt");
}

class ResultsExportTest : public EngineTest {};

TEST_F(ResultsExportTest, WritesCp932WithoutByteOrderMark) {
  Choose(0, Chart("ref.txt", Flat(2)));
  platform_.saveAnswers.push_back(dir_.File("out"));
  But_DataR_Click(platform_, {Cap(Ctl::Lb_File, 0), "", ""}, window_.GridDataRows());
  EXPECT_EQ(platform_.saveFilters, std::vector<std::string>{"テキスト(*.txt)|*.txt"});
  const std::string& bytes = platform_.writtenFiles.at(dir_.File("out.txt"));
  EXPECT_TRUE(bytes.starts_with("\x8A\xEE\x8F\x80:"));  // "基準:"
  EXPECT_NE(bytes.find("\t\x87\x99"
                       "E\t\x87\x99"
                       "E00\r\n"),
            std::string::npos);
  EXPECT_EQ(Cp932ToUtf8(bytes),
            BuildResultsText({Cap(Ctl::Lb_File, 0), "", ""}, window_.GridDataRows()));
}

TEST_F(ResultsExportTest, CancelWritesNothingAndAFailedWriteIsReported) {
  But_DataR_Click(platform_, {"", "", ""}, {});
  EXPECT_TRUE(platform_.writtenFiles.empty());
  EXPECT_TRUE(platform_.messages.empty());

  platform_.saveAnswers.push_back("/ro/results.txt");
  platform_.failWrites["/ro/results.txt"] = "Permission denied";
  But_DataR_Click(platform_, {"", "", ""}, {});
  ASSERT_EQ(platform_.messages.size(), 1u);
  EXPECT_NE(platform_.messages[0].find("/ro/results.txt"), std::string::npos);
  EXPECT_NE(platform_.messages[0].find("Permission denied"), std::string::npos);
}

}  // namespace
}  // namespace korimo::testing
