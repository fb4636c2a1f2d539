#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <csignal>
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

int Tabs(const std::string& line) {
  return static_cast<int>(std::count(line.begin(), line.end(), '\t'));
}

class ExportTest : public EngineTest {
 protected:
  std::array<std::string, 3> Paths() const {
    return {Cap(Ctl::Lb_File, 0), Cap(Ctl::Lb_File, 1), Cap(Ctl::Lb_File, 2)};
  }
  // The results text split into lines, each of which must end with CR LF.
  std::vector<std::string> Lines() const {
    const std::string text = BuildResultsText(Paths(), window_.GridDataRows());
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t eol; (eol = text.find("\r\n", start)) != std::string::npos; start = eol + 2)
      lines.push_back(text.substr(start, eol - start));
    EXPECT_EQ(start, text.size()) << "text must end with CR LF";
    return lines;
  }
};

TEST_F(ExportTest, ReferenceAndFile1SortedByDeltaEDescending) {
  LoadPair({1, 3, 2});
  window_.ClickGridHeading(8);
  window_.ClickGridHeading(8);
  const auto lines = Lines();
  ASSERT_EQ(lines.size(), 6u);
  EXPECT_EQ(lines[0], "基準:" + dir_.File("ref.txt"));
  EXPECT_EQ(lines[1], "File1:" + dir_.File("f1.txt"));
  EXPECT_EQ(lines[2], "No.\tSAMPLE_ID\tLab_L0\tLab_a0\tLab_b0\tLab_L1\tLab_a1\tLab_b1\t⊿E\t⊿E00");
  EXPECT_EQ(lines[3], "    2\t   P2\t50.00\t0.00\t0.00\t53.00\t0.00\t0.00\t3.00\t" +
                          FormatTwoDec(data().De00[1][0]) + "\t\t");
  EXPECT_TRUE(lines[4].starts_with("    3\t"));
  for (int i = 3; i < 6; ++i)
    EXPECT_EQ(Tabs(lines[i]), 11) << i;  // 11 cells, each tab-ended
}

TEST_F(ExportTest, File2PathWithFailedLoadGetsItsColumnsAndClearAllLeavesTheNames) {
  Choose(0, Chart("ref.txt", Flat(2)));
  Choose(2, dir_.File("missing.txt"));
  auto lines = Lines();
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_TRUE(lines[1].starts_with("File2:"));
  EXPECT_EQ(Tabs(lines[2]), 14);
  EXPECT_TRUE(lines[2].ends_with("\tLab_L2\tLab_a2\tLab_b2\t⊿E\t⊿E00"));
  EXPECT_EQ(Tabs(lines[3]), 15);
  EXPECT_TRUE(lines[3].ends_with("\t\t\t\t\t"));
  window_.ClearAll();
  lines = Lines();
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_TRUE(lines[0].starts_with("No.\tSAMPLE_ID\t"));
}

TEST_F(ExportTest, SavedAsCp932UnderATxtNameOrAFailureIsReported) {
  const std::pair<const char*, const char*> names[] = {
      {"r", "r.txt"}, {"r.TXT", "r.TXT"}, {"r.Txt", "r.Txt"}, {"r.csv", "r.csv.txt"}};
  for (const auto& [chosen, saved] : names)
    EXPECT_EQ(ResultsFileName(dir_.File(chosen)), dir_.File(saved));
  Choose(0, Chart("ref.txt", Flat(2)));
  But_DataR_Click(platform_, Paths(), window_.GridDataRows());  // cancelled
  EXPECT_TRUE(platform_.writtenFiles.empty());
  platform_.saveAnswers.push_back(dir_.File("out"));
  But_DataR_Click(platform_, Paths(), window_.GridDataRows());
  EXPECT_EQ(platform_.saveFilters[0], "テキスト(*.txt)|*.txt");
  const std::string& bytes = platform_.writtenFiles.at(dir_.File("out.txt"));
  EXPECT_TRUE(bytes.starts_with("\x8A\xEE\x8F\x80:"));  // "基準:", no byte order mark
  EXPECT_EQ(Cp932ToUtf8(bytes), BuildResultsText(Paths(), window_.GridDataRows()));
  EXPECT_TRUE(platform_.messages.empty());

  platform_.saveAnswers.push_back("/ro/results.txt");
  platform_.failWrites["/ro/results.txt"] = "Permission denied";
  But_DataR_Click(platform_, Paths(), window_.GridDataRows());
  ASSERT_EQ(platform_.messages.size(), 1u);
  EXPECT_NE(platform_.messages[0].find("/ro/results.txt"), std::string::npos);
  EXPECT_NE(platform_.messages[0].find("Permission denied"), std::string::npos);
}

using Log = std::vector<std::string>;

TEST_F(ExportTest, RowCopyShowsTheMessageFirstAreaCopyAfterTheClipboard) {
  But_Copy_Click(0, window_, platform_);  // before any load: three tabs
  EXPECT_EQ(platform_.clipboardText, "\t\t\t");
  LoadPair(Same(20, 1));
  Choose(2, Chart("f2.txt", Offsets(Same(20, 2))));
  platform_.log.clear();
  But_Copy_Click(1, window_, platform_);
  EXPECT_EQ(platform_.clipboardText, "   2.00\t   2.00\t   2.00\t   2.00");
  EXPECT_EQ(platform_.messages.back(), "平均⊿E  最大⊿E  Best10%, 95%\r\n\r\nコピーしました");
  EXPECT_EQ(platform_.log, (Log{"clear", "message", "text"}));
  But_Copy_Click(3, window_, platform_);
  EXPECT_EQ(*platform_.clipboardText, Cap(Ctl::Lb_De2K, 2) + "\t" + Cap(Ctl::Lb_De2K, 3) + "\t" +
                                          Cap(Ctl::Lb_Best2K, 1) + "\t" + Cap(Ctl::Lb_Wors2K, 1));
  EXPECT_EQ(platform_.messages.back(), "平均⊿E00  最大⊿E00  Best10%, 95%\r\n\r\nコピーしました");
  // Area copies fill the clipboard first, and only with the four figures.
  platform_.log.clear();
  window_.SetCaption(Ctl::Lb_DeBox, 0, "A1-A4:B1-B4  ⊿E=1.23 Max=4.56  ⊿E00=0.78 Max=2.34");
  But_CPArea_Click(0, window_, platform_);
  EXPECT_EQ(platform_.clipboardText, "1.23 \t4.56 \r\n0.78 \t2.34");
  EXPECT_EQ(platform_.log, (Log{"clear", "text", "message"}));
  EXPECT_EQ(platform_.messages.back(),
            "平均⊿E\u3000   最大⊿E\r\n平均⊿E00   最大⊿E00  \r\n\r\nコピーしました");
  But_CPArea_Click(1, window_, platform_);  // the hint
  EXPECT_FALSE(platform_.clipboardText.has_value());
  window_.SetCaption(Ctl::Lb_DeBox, 1, "");
  But_CPArea_Click(1, window_, platform_);
  EXPECT_EQ(platform_.messages.size(), 4u);
  EXPECT_EQ(AreaCopyText("A=B-C:D  ⊿E=1.00"), "");  // not the four figures
}

TEST(Manual, OpensThePdfBesideTheProgram) {
  FakePlatform platform;
  platform.programFolder = "/opt/korimo";
  But_Help_Click(platform);
  EXPECT_EQ(platform.openedDocuments, std::vector<std::string>{"/opt/korimo/Korimo使用説明書.pdf"});
}

// A file size limit stops writes even for root, so the new content cannot be
// completed; the old file must come through whole and no temporary remain.
TEST(AtomicFile, ReplacesWholeFilesOrReportsAReasonAndKeepsTheOldOne) {
  const TempDir dir("atomic");
  const auto contents = [](const std::string& path) {
    QFile file(QString::fromStdString(path));
    return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : "<missing>";
  };
  const std::string path = dir.File("結果.txt");
  const std::string bytes("\x8a\xee\x8f\x80:a\r\n\0tail\r\n", 15);
  ASSERT_TRUE(WriteFileAtomically(path, bytes).ok());
  EXPECT_EQ(contents(path), bytes);
  ASSERT_TRUE(WriteFileAtomically(path, "old").ok());
  EXPECT_EQ(contents(path), "old");
  EXPECT_FALSE(WriteFileAtomically(path + "/new.txt", "x").error.empty());  // under a file
  EXPECT_FALSE(WriteFileAtomically(dir.path().string(), "x").ok());         // a folder
  rlimit saved{};
  getrlimit(RLIMIT_FSIZE, &saved);
  rlimit limited = saved;
  limited.rlim_cur = 1024;
  std::signal(SIGXFSZ, SIG_IGN);
  setrlimit(RLIMIT_FSIZE, &limited);
  for (std::size_t size : {4096, 256 * 1024})  // a buffered and a direct write
    EXPECT_FALSE(WriteFileAtomically(path, std::string(size, 'x')).ok()) << size;
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, SIG_DFL);
  EXPECT_EQ(contents(path), "old");
  EXPECT_EQ(QDir(QString::fromStdString(dir.path().string())).entryList(QDir::Files),
            QStringList{QStringLiteral("結果.txt")});
}

}  // namespace
}  // namespace korimo::testing
