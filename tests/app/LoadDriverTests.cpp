#include <gtest/gtest.h>

#include <filesystem>

#include "app/FileSelection.h"
#include "core/Common.h"
#include "core/MeasurementReader.h"
#include "tests/app/EngineFixture.h"

namespace korimo::testing {
namespace {

class LoadDriverTest : public EngineTest {
 protected:
  static std::vector<double> Steps(int n) {  // 0.1, 0.2, .. n / 10
    std::vector<double> d(n);
    for (int i = 0; i < n; ++i)
      d[i] = (i + 1) * 0.1;
    return d;
  }
  FileSelection& files() { return window_.form().files; }
};

TEST_F(LoadDriverTest, ReferenceAloneOverTheLimitShowsOneMessageAndNoStatistics) {
  Choose(0, Chart("ref.txt", Flat(3001)));
  EXPECT_EQ(platform_.messages, std::vector<std::string>{std::string(kTooManyPatchesMessage)});
  EXPECT_EQ(Cap(Ctl::Lb_NoP), "3000 ﾊﾟｯﾁ");
  EXPECT_EQ(window_.GridDataRows().size(), 3000u);
  EXPECT_EQ(Cap(Ctl::Lb_De), "");
  EXPECT_EQ(Cap(Ctl::ChkBest), "Under ⊿E<0.10");
  EXPECT_EQ(Cap(Ctl::ChkWorst), "Over ⊿E> 0.75");
}

TEST_F(LoadDriverTest, TwentyPatchExampleAndPercentilesFromFifteenPatches) {
  LoadPair(Steps(20));
  EXPECT_EQ(Cap(Ctl::Lb_De, 0), "   1.05");
  EXPECT_EQ(Cap(Ctl::Lb_De, 1), "   2.00");
  EXPECT_EQ(Cap(Ctl::Lb_BestDe), "   0.20");
  EXPECT_EQ(Cap(Ctl::Lb_WorsDe), "   2.00");
  EXPECT_EQ(Cap(Ctl::Lb_De2K, 1), FormatFixed7(data().MaxDe00[0]));
  EXPECT_EQ(Cap(Ctl::Lb_De, 2), "");  // pair 1 is not complete
  window_.SetCaption(Ctl::Lb_BestDe, 0, "before");
  window_.SetCaption(Ctl::Lb_WorsDe, 0, "before");
  LoadPair(Steps(14));
  EXPECT_EQ(Cap(Ctl::Lb_De, 1), "   1.40");
  EXPECT_EQ(Cap(Ctl::Lb_BestDe), "before");
  EXPECT_EQ(Cap(Ctl::Lb_WorsDe), "before");
  LoadPair(Steps(15));
  EXPECT_EQ(Cap(Ctl::Lb_BestDe), "   0.20");
  EXPECT_EQ(Cap(Ctl::Lb_WorsDe), "   1.50");
}

TEST_F(LoadDriverTest, PatchesArePairedByPositionAndCountedUntilTheReferenceReloads) {
  Choose(0, Chart("ref.txt", Offsets({0, 1, 2})));
  auto f1 = Offsets({0.5, 1, 2});
  std::swap(f1[0], f1[2]);  // identifiers travel with the lines
  Choose(1, Chart("f1.txt", f1));
  EXPECT_FLOAT_EQ(data().DeAb[0][0], 2.0f);  // 52 against 50
  EXPECT_FLOAT_EQ(data().DeAb[2][0], 1.5f);  // 50.5 against 52
  EXPECT_EQ(data().PatchId[0], "P3");

  const std::string ref = Chart("ref.txt", Offsets(Same(100, 1)));
  Choose(0, ref);
  Choose(1, Chart("f1.txt", Flat(80)));
  EXPECT_EQ(Cap(Ctl::Lb_De), "   1.00");  // 80 patches, all 1 apart
  Choose(0, ref);
  // 100 patches: 80 at 1, 20 against (0, 0, 0) at sqrt(51^2) = 51.
  EXPECT_EQ(Cap(Ctl::Lb_De), FormatFixed7((80 * 1.0 + 20 * 51.0) / 100));
  EXPECT_EQ(Cap(Ctl::Lb_De, 1), "  51.00");
  Choose(0, Chart("ref.txt", Flat(20)));
  Choose(1, Chart("f1.txt", Offsets(Same(10, 1))));
  EXPECT_EQ(Cap(Ctl::Lb_De), "   1.00");      // divides by 10
  EXPECT_EQ(Cap(Ctl::Lb_BestDe), "   0.00");  // 10 of 20 sorted entries are 0
}

TEST_F(LoadDriverTest, RereadRulesAndFailedReads) {
  const std::string f2 = Chart("f2.txt", Offsets(Same(5, 2)));
  LoadPair(Same(5, 1));
  Choose(2, f2);
  WriteChart(dir_.File("f1.txt"), Offsets(Same(5, 7)));
  WriteChart(f2, Offsets(Same(5, 8)));
  Choose(0, dir_.File("ref.txt"));  // a Reference load re-reads File2, not File1
  EXPECT_EQ(data().Lab1[0][0], 51.0);
  EXPECT_EQ(data().Lab2[0][0], 58.0);
  Choose(2, f2);  // a sample file load re-reads the other one
  EXPECT_EQ(data().Lab1[0][0], 57.0);

  const std::string average = Cap(Ctl::Lb_De);
  const auto grid = window_.GridDataRows();
  Choose(1, dir_.File("missing.txt"));  // an unreadable file keeps the views
  EXPECT_EQ(Cap(Ctl::Lb_NoP, 1), "0 ﾊﾟｯﾁ");
  EXPECT_EQ(Cap(Ctl::Lb_De), average);
  EXPECT_EQ(window_.GridDataRows(), grid);
  EXPECT_TRUE(platform_.messages.empty());
  std::filesystem::remove(f2);  // a deleted File2 stops the File1 load before the grid
  Choose(1, Chart("f1b.txt", Offsets(Same(5, 3))));
  EXPECT_EQ(Cap(Ctl::Lb_NoP, 2), "0 ﾊﾟｯﾁ");
  EXPECT_EQ(Cap(Ctl::Lb_File, 2), f2);  // the path stays for a later retry
  EXPECT_EQ(window_.GridDataRows(), grid);
  EXPECT_EQ(data().MaxDeAb[0], 0.0f);
}

TEST_F(LoadDriverTest, LoadsRecomputeTheStoredAreaAndClearTheirChartsPatchTexts) {
  Choose(0, Chart("ref.txt", Flat(24), 4));
  state().SelX[0] = {10, 10, 0};  // the whole first column of the 4 x 6 layout
  state().SelY[0] = {100, 350, 0};
  window_.SetAreaBoxVisible(0, true);
  for (Ctl c : {Ctl::Lb_PDe, Ctl::Lb_FDe})
    window_.SetCaption(c, 1, "x");
  window_.SetCaption(Ctl::Lb_PDe, 0, "x");
  Choose(1, Chart("f1.txt", Offsets(Same(24, 1))));
  const std::string de00 = FormatTwoDec(data().De00[0][0]);
  EXPECT_EQ(Cap(Ctl::Lb_DeBox), "P1-P4:P1-P4  ⊿E=1.00 Max=1.00  ⊿E00=" + de00 + " Max=" + de00);
  EXPECT_TRUE(window_.AreaBoxVisible(0));
  EXPECT_EQ(Cap(Ctl::Lb_PDe, 0), "");
  EXPECT_EQ(Cap(Ctl::Lb_PDe, 1), "x");
  Choose(2, Chart("f2.txt", Flat(24)));
  EXPECT_EQ(Cap(Ctl::Lb_PDe, 1), "");
  EXPECT_EQ(Cap(Ctl::Lb_FDe, 1), "");
  EXPECT_EQ(Cap(Ctl::Lb_DeBox, 1), kAreaHint);
  state().SelX[0][1] = 0;  // x = 0: no area
  Choose(1, dir_.File("f1.txt"));
  EXPECT_FALSE(window_.AreaBoxVisible(0));
}

TEST_F(LoadDriverTest, FileSelectionDropRulesAndCommandLine) {
  const std::string ref = Chart("ref.txt", Flat(4));
  const std::string f1 = Chart("f1.txt", Flat(4));
  const std::string f2 = Chart("f2.txt", Flat(4));
  platform_.openAnswers.push_back(std::nullopt);
  files().But_File_Click(1);  // cancelled
  EXPECT_EQ(platform_.openDialogSets, std::vector<int>{1});
  EXPECT_EQ(Cap(Ctl::Lb_NoP, 1), "");
  files().Lb_File_OLEDragDrop(0, {dir_.File("a.LNK")});  // labels and charts ignore links
  files().PictPat_OLEDragDrop(0, {dir_.File("b.lnk")});
  EXPECT_EQ(Cap(Ctl::Lb_File, 0), "");
  files().PictPat_OLEDragDrop(1, {ref});  // charts fill the Reference first
  files().PictPat_OLEDragDrop(1, {f2});
  files().PictPat_OLEDragDrop(0, {f1});
  EXPECT_EQ(Cap(Ctl::Lb_File, 0), ref);
  EXPECT_EQ(Cap(Ctl::Lb_File, 1), f1);
  EXPECT_EQ(Cap(Ctl::Lb_File, 2), f2);
  files().But_File_OLEDragDrop(2, {f1, ref, f2});  // buttons take the first path only
  files().But_File_OLEDragDrop(2, {});
  EXPECT_EQ(Cap(Ctl::Lb_File, 2), f1);
  EXPECT_EQ(Cap(Ctl::Lb_File, 0), ref);
  files().But_File_OLEDragDrop(0, {dir_.File("c.lnk")});  // buttons take links
  EXPECT_EQ(Cap(Ctl::Lb_File, 0), dir_.File("c.lnk"));
  EXPECT_EQ(Cap(Ctl::Lb_NoP, 0), "0 ﾊﾟｯﾁ");

  window_.ClearAll();  // the grid fills the first free set, then re-reads the Reference
  for (const std::string& path : {ref, f1, f2})
    files().FlexG_OLEDragDrop({path});
  WriteChart(ref, Flat(6));
  files().FlexG_OLEDragDrop({Chart("other.txt", Flat(4))});
  EXPECT_EQ(Cap(Ctl::Lb_File, 0), ref);
  EXPECT_EQ(Cap(Ctl::Lb_File, 1), f1);
  EXPECT_EQ(Cap(Ctl::Lb_File, 2), f2);
  EXPECT_EQ(Cap(Ctl::Lb_NoP, 0), "6 ﾊﾟｯﾁ");
  // The command line drops only the outer characters of a quoted text.
  EXPECT_EQ(ReferencePathFromArguments("\"/data/a b.txt\""), "/data/a b.txt");
  EXPECT_EQ(ReferencePathFromArguments("/data/a b.txt"), "/data/a b.txt");
  EXPECT_EQ(ReferencePathFromArguments("\"/a.txt\" \"/b.txt\""), "/a.txt\" \"/b.txt");
  EXPECT_EQ(ReferencePathFromArguments("\"/a.txt"), "/a.tx");
  WriteChart(ref, Flat(4));
  files().CommandLine("\"" + ref + "\"");
  EXPECT_EQ(Cap(Ctl::Lb_NoP), "4 ﾊﾟｯﾁ");
  files().CommandLine("");
  EXPECT_EQ(Cap(Ctl::Lb_File), ref);
}

}  // namespace
}  // namespace korimo::testing
