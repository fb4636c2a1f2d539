#include <gtest/gtest.h>

#include <sys/resource.h>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "core/Common.h"
#include "core/Encoding.h"
#include "export/AtomicFile.h"
#include "export/Manual.h"
#include "export/ResultsExport.h"
#include "export/ResultsText.h"
#include "export/StatisticsCopy.h"
#include "tests/app/EngineFixture.h"

namespace korimo::testing {
namespace {

const std::string kColumns10 =
    "No.\tSAMPLE_ID\tLab_L0\tLab_a0\tLab_b0\tLab_L1\tLab_a1\tLab_b1\t⊿E\t⊿E00";

class ExportTest : public EngineTest {
 protected:
  std::array<std::string, 3> Paths() const {
    return {Cap(Ctl::Lb_File, 0), Cap(Ctl::Lb_File, 1), Cap(Ctl::Lb_File, 2)};
  }
  std::string Text() const { return BuildResultsText(Paths(), window_.GridDataRows()); }
  void Save() { But_DataR_Click(platform_, Paths(), window_.GridDataRows()); }
};

TEST_F(ExportTest, ResultsSavedInCp932AndTheirTextSortedWithFile2AndCleared) {
  LoadPair({1, 3, 2});
  window_.ClickGridHeading(8);
  window_.ClickGridHeading(8);  // ⊿E descending
  Save();                       // cancelled
  platform_.saveAnswers.push_back(dir_.File("out"));
  Save();
  EXPECT_EQ(platform_.saveFilters[0], "テキスト(*.txt)|*.txt");
  ASSERT_EQ(platform_.writtenFiles.size(), 1u);
  const std::string& bytes = platform_.writtenFiles.at(dir_.File("out.txt"));
  EXPECT_TRUE(bytes.starts_with("\x8A\xEE\x8F\x80:"));  // "基準:", no byte order mark
  EXPECT_EQ(Cp932ToUtf8(bytes), Text());
  platform_.saveAnswers.push_back("/ro/results.txt");
  platform_.failWrites["/ro/results.txt"] = "Permission denied";
  Save();
  ASSERT_EQ(platform_.messages.size(), 1u);
  EXPECT_NE(platform_.messages[0].find("/ro/results.txt\r\nPermission denied"), std::string::npos);
  for (const auto& [chosen, saved] :
       {std::pair{"r", "r.txt"}, {"r.TXT", "r.TXT"}, {"r.Txt", "r.Txt"}, {"r.csv", "r.csv.txt"}})
    EXPECT_EQ(ResultsFileName(dir_.File(chosen)), dir_.File(saved));

  const std::string missing = dir_.File("missing.txt");
  for (const bool file2 : {false, true}) {  // File2's failed load still adds its columns
    std::string expected = "基準:" + dir_.File("ref.txt") + "\r\nFile1:" + dir_.File("f1.txt") +
                           (file2 ? "\r\nFile2:" + missing : "") + "\r\n" + kColumns10 +
                           (file2 ? "\tLab_L2\tLab_a2\tLab_b2\t⊿E\t⊿E00\r\n" : "\r\n");
    for (const auto& [i, de] : {std::pair{2, 3}, {3, 2}, {1, 1}})  // 11 or 15 tab-ended cells
      expected += "    " + std::to_string(i) + "\t   P" + std::to_string(i) +
                  "\t50.00\t0.00\t0.00\t" + FormatTwoDec(50 + de) + "\t0.00\t0.00\t" +
                  FormatTwoDec(de) + "\t" + FormatTwoDec(data().De00[i - 1][0]) +
                  (file2 ? "\t\t\t\t\t\t\r\n" : "\t\t\r\n");
    EXPECT_EQ(Text(), expected);
    Choose(2, missing);
  }
  window_.ClearAll();
  EXPECT_EQ(Text(), kColumns10 + "\r\n");
}

TEST_F(ExportTest, RowCopyShowsTheMessageFirstAreaCopyAfterTheClipboard) {
  But_Copy_Click(0, window_, platform_);  // before any load: three tabs
  EXPECT_EQ(platform_.clipboardText, "\t\t\t");
  LoadPair(Same(20, 1));
  Choose(2, Chart("f2.txt", Offsets(Same(20, 2))));
  platform_.log.clear();
  But_Copy_Click(1, window_, platform_);
  EXPECT_EQ(platform_.clipboardText, "   2.00\t   2.00\t   2.00\t   2.00");
  EXPECT_EQ(platform_.messages.back(), "平均⊿E  最大⊿E  Best10%, 95%\r\n\r\nコピーしました");
  EXPECT_EQ(platform_.log, (std::vector<std::string>{"clear", "message", "text"}));
  But_Copy_Click(3, window_, platform_);
  EXPECT_EQ(*platform_.clipboardText, Cap(Ctl::Lb_De2K, 2) + "\t" + Cap(Ctl::Lb_De2K, 3) + "\t" +
                                          Cap(Ctl::Lb_Best2K, 1) + "\t" + Cap(Ctl::Lb_Wors2K, 1));
  EXPECT_EQ(platform_.messages.back(), "平均⊿E00  最大⊿E00  Best10%, 95%\r\n\r\nコピーしました");
  // Area copies fill the clipboard first, and only with the four figures.
  platform_.log.clear();
  window_.SetCaption(Ctl::Lb_DeBox, 0, "A1-A4:B1-B4  ⊿E=1.23 Max=4.56  ⊿E00=0.78 Max=2.34");
  But_CPArea_Click(0, window_, platform_);
  EXPECT_EQ(platform_.clipboardText, "1.23 \t4.56 \r\n0.78 \t2.34");
  EXPECT_EQ(platform_.log, (std::vector<std::string>{"clear", "text", "message"}));
  EXPECT_EQ(platform_.messages.back(),
            "平均⊿E\u3000   最大⊿E\r\n平均⊿E00   最大⊿E00  \r\n\r\nコピーしました");
  But_CPArea_Click(1, window_, platform_);  // the hint
  EXPECT_FALSE(platform_.clipboardText.has_value());
  window_.SetCaption(Ctl::Lb_DeBox, 1, "");
  But_CPArea_Click(1, window_, platform_);
  EXPECT_EQ(platform_.messages.size(), 4u);
  EXPECT_EQ(AreaCopyText("A=B-C:D  ⊿E=1.00"), "");  // not the four figures

  But_Help_Click(platform_);  // the manual beside the program
  EXPECT_EQ(platform_.openedDocuments.at(0), "/opt/korimo/Korimo使用説明書.pdf");
}

// A file size limit stops writes even for root, so the new content cannot be
// completed; the old file must come through whole and no temporary remain.
TEST(AtomicFile, ReplacesWholeFilesOrReportsAReasonAndKeepsTheOldOne) {
  const TempDir dir("atomic");
  const std::string path = dir.File("結果.txt"), bytes("\x8a\xee:a\r\n\0tail\r\n", 13);
  ASSERT_TRUE(WriteFileAtomically(path, "old").ok());
  ASSERT_TRUE(WriteFileAtomically(path, bytes).ok());
  rlimit saved{};
  getrlimit(RLIMIT_FSIZE, &saved);
  const rlimit limited{1024, saved.rlim_max};
  std::signal(SIGXFSZ, SIG_IGN);
  setrlimit(RLIMIT_FSIZE, &limited);
  const WriteOutcome failed = WriteFileAtomically(path, std::string(4096, 'x'));  // buffered
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, SIG_DFL);
  EXPECT_FALSE(failed.error.empty());
  std::ifstream in(path, std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), bytes);  // and no temporary
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

}  // namespace
}  // namespace korimo::testing
