#include "export/ResultsExport.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/Encoding.h"
#include "export/ResultsText.h"
#include "support/EngineDriver.h"
#include "support/FakePlatform.h"

namespace korimo::testing {
namespace {

const std::string kColumns10 =
    "No.\tSAMPLE_ID\tLab_L0\tLab_a0\tLab_b0\tLab_L1\tLab_a1\tLab_b1\t⊿E\t⊿E00";

class ResultsExportTest : public EngineTest {
 protected:
  FakePlatform platform_;
};

TEST_F(ResultsExportTest, SavedInCp932UnderATxtNameAndFailuresAreReported) {
  LoadPair({1});
  But_DataR_Click(platform_, state_.inputs.paths, record().FlexG);  // cancelled: nothing written
  EXPECT_TRUE(platform_.writtenFiles.empty());
  platform_.saveAnswers.push_back(dir_.File("out"));
  But_DataR_Click(platform_, state_.inputs.paths, record().FlexG);
  EXPECT_EQ(platform_.saveFilters[0], "テキスト(*.txt)|*.txt");
  const std::string& bytes = platform_.writtenFiles.at(dir_.File("out.txt"));
  EXPECT_TRUE(bytes.starts_with("\x8A\xEE\x8F\x80:"));  // "基準:", no byte order mark
  EXPECT_EQ(Cp932ToUtf8(bytes), BuildResultsText(state_.inputs.paths, record().FlexG));
  platform_.saveAnswers.push_back("/ro/results.txt");
  platform_.failWrites["/ro/results.txt"] = "Permission denied";
  But_DataR_Click(platform_, state_.inputs.paths, record().FlexG);
  ASSERT_EQ(platform_.messages.size(), 1u);
  EXPECT_NE(platform_.messages[0].find("/ro/results.txt\r\nPermission denied"), std::string::npos);
  for (const auto& [chosen, saved] :
       {std::pair{"r", "r.txt"}, {"r.TXT", "r.TXT"}, {"r.Txt", "r.Txt"}, {"r.csv", "r.csv.txt"}})
    EXPECT_EQ(ResultsFileName(chosen), saved);
}

// A save over a chosen file or a read-only file writes nothing and says why.
// (Other names of the same file are refused in HostileInputTests, by the
// same check.)
TEST_F(ResultsExportTest, NoSaveOverAChosenFileOrAReadOnlyFile) {
  LoadPair({1});
  const std::string readOnly = dir_.Write("ro.txt", "old");
  std::filesystem::permissions(readOnly, std::filesystem::perms::owner_read);
  const std::pair<std::string, std::string> refused[] = {
      {dir_.File("f1.txt"), "refusing to overwrite an input file"},
      {readOnly, readOnly + ": read-only"}};
  for (const auto& [path, cause] : refused) {
    platform_.messages.clear();
    platform_.saveAnswers.push_back(path);
    But_DataR_Click(platform_, state_.inputs.paths, record().FlexG);
    ASSERT_EQ(platform_.messages.size(), 1u);
    EXPECT_NE(platform_.messages[0].find(cause), std::string::npos) << platform_.messages[0];
  }
  EXPECT_TRUE(platform_.writtenFiles.empty());
}

}  // namespace
}  // namespace korimo::testing
