#include <gtest/gtest.h>

#include "app/FileSelection.h"
#include "tests/app/EngineFixture.h"

namespace korimo::testing {
namespace {

class FileSelectionTest : public EngineTest {
 protected:
  FileSelection& files() { return window_.form().files; }
  std::string ref_ = Chart("ref.txt", Flat(4));
  std::string f1_ = Chart("f1.txt", Flat(4));
  std::string f2_ = Chart("f2.txt", Flat(4));
};

TEST_F(FileSelectionTest, CancelledDialogChangesNothing) {
  platform_.openAnswers.push_back(std::nullopt);
  files().But_File_Click(1);
  EXPECT_EQ(platform_.openDialogSets, std::vector<int>{1});
  EXPECT_EQ(Cap(Ctl::Lb_File, 1), "");
  EXPECT_EQ(Cap(Ctl::Lb_NoP, 1), "");
}

TEST_F(FileSelectionTest, OnlyTheFirstDroppedPathIsUsed) {
  files().But_File_OLEDragDrop(2, {f2_, ref_, f1_});
  EXPECT_EQ(Cap(Ctl::Lb_File, 2), f2_);
  EXPECT_EQ(Cap(Ctl::Lb_File, 0), "");
  files().But_File_OLEDragDrop(2, {});
  EXPECT_EQ(Cap(Ctl::Lb_File, 2), f2_);
}

TEST_F(FileSelectionTest, ShellLinksAreIgnoredOnLabelsAndChartsOnly) {
  files().Lb_File_OLEDragDrop(0, {dir_.File("a.LNK")});
  files().PictPat_OLEDragDrop(0, {dir_.File("b.lnk")});
  EXPECT_EQ(Cap(Ctl::Lb_File, 0), "");
  files().But_File_OLEDragDrop(0, {dir_.File("c.lnk")});
  EXPECT_EQ(Cap(Ctl::Lb_File, 0), dir_.File("c.lnk"));
  EXPECT_EQ(Cap(Ctl::Lb_NoP, 0), "0 ﾊﾟｯﾁ");
}

TEST_F(FileSelectionTest, ChartDropFillsTheReferenceFirstThenItsOwnFile) {
  files().PictPat_OLEDragDrop(1, {ref_});
  EXPECT_EQ(Cap(Ctl::Lb_File, 0), ref_);
  files().PictPat_OLEDragDrop(1, {f2_});
  EXPECT_EQ(Cap(Ctl::Lb_File, 2), f2_);
  files().PictPat_OLEDragDrop(0, {f1_});
  EXPECT_EQ(Cap(Ctl::Lb_File, 1), f1_);
}

TEST_F(FileSelectionTest, GridDropFillsTheFirstFreeSetOrRereadsTheReference) {
  files().FlexG_OLEDragDrop({ref_});
  files().FlexG_OLEDragDrop({f1_});
  EXPECT_EQ(Cap(Ctl::Lb_File, 1), f1_);
  files().FlexG_OLEDragDrop({f2_});
  WriteChart(ref_, Flat(6));
  const std::string other = Chart("other.txt", Flat(4));
  files().FlexG_OLEDragDrop({other});
  EXPECT_EQ(Cap(Ctl::Lb_File, 0), ref_);
  EXPECT_EQ(Cap(Ctl::Lb_File, 2), f2_);
  EXPECT_EQ(Cap(Ctl::Lb_NoP, 0), "6 ﾊﾟｯﾁ");
}

TEST(ReferencePathFromArguments, DropsOnlyTheOuterCharactersOfAQuotedText) {
  EXPECT_EQ(ReferencePathFromArguments("\"/data/a b.txt\""), "/data/a b.txt");
  EXPECT_EQ(ReferencePathFromArguments("/data/a b.txt"), "/data/a b.txt");
  EXPECT_EQ(ReferencePathFromArguments("\"/a.txt\" \"/b.txt\""), "/a.txt\" \"/b.txt");
  EXPECT_EQ(ReferencePathFromArguments("\"/a.txt"), "/a.tx");
}

TEST_F(FileSelectionTest, CommandLineLoadsTheReference) {
  files().CommandLine("\"" + ref_ + "\"");
  EXPECT_EQ(Cap(Ctl::Lb_File, 0), ref_);
  EXPECT_EQ(Cap(Ctl::Lb_NoP, 0), "4 ﾊﾟｯﾁ");
  files().CommandLine("");
  EXPECT_EQ(Cap(Ctl::Lb_File, 0), ref_);
}

}  // namespace
}  // namespace korimo::testing
