#include "app/LoadDriver.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>

#include "support/EngineDriver.h"

namespace korimo::testing {
namespace {

class LoadDriverTest : public EngineTest {
 protected:
  // Average, maximum, "Best10%" and "95%" of ⊿E as the pair's frame shows them.
  Strings Figures(Pair pair) const {
    const std::size_t p = Index(pair);
    const WindowRecord& r = record();
    return {r.Lb_De[2 * p], r.Lb_De[2 * p + 1], r.Lb_BestDe[p], r.Lb_WorsDe[p]};
  }
  float L(DataSet set) const { return comparison().Lab(set, 0)[0]; }
};

TEST_F(LoadDriverTest, ReReadRulesAndFailedReadsStopBeforeTheViews) {
  const std::string f1 = Chart("f1.txt", Offsets(Same(5, 1)));
  const std::string f2 = Chart("f2.txt", Offsets(Same(5, 2)));
  Choose(DataSet::Reference, Chart("ref.txt", Flat(5)));
  Choose(DataSet::File1, f1);
  Choose(DataSet::File2, f2);
  WriteChart(f1, Offsets(Same(5, 7)));
  WriteChart(f2, Offsets(Same(5, 8)));
  Choose(DataSet::Reference, dir_.File("ref.txt"));  // re-reads File2, not File1
  EXPECT_EQ((std::array{L(DataSet::File1), L(DataSet::File2)}), (std::array{51.0f, 58.0f}));
  Choose(DataSet::File2, f2);  // a sample file re-reads the other one
  EXPECT_EQ(L(DataSet::File1), 57.0f);

  const WindowRecord before = record();
  Choose(DataSet::File1, dir_.File("missing.txt"));  // unreadable: the views stay
  EXPECT_EQ(record().Lb_NoP[1], "0 ﾊﾟｯﾁ");
  EXPECT_EQ(record().Lb_De, before.Lb_De);
  EXPECT_EQ(record().FlexG.revision, before.FlexG.revision);
  EXPECT_EQ(comparison().Set(DataSet::File1)->failure.code, ReadFailure::Missing);
  Choose(DataSet::Reference, dir_.File("ref.txt"));  // pair 0 is not complete: its labels stay
  EXPECT_EQ(record().Lb_De, before.Lb_De);

  const std::uint64_t grid = record().FlexG.revision;
  std::filesystem::remove(f2);  // a deleted File2 stops the File1 load before the grid
  Choose(DataSet::File1, Chart("f1b.txt", Offsets(Same(5, 3))));
  EXPECT_EQ(record().Lb_NoP[2], "0 ﾊﾟｯﾁ");
  EXPECT_EQ(record().Lb_File[2], f2);  // kept for a later retry
  EXPECT_EQ(record().FlexG.revision, grid);
  EXPECT_EQ(comparison().MaxDeAb(Pair::ReferenceFile1), 0.0f);  // reset by the last read
  EXPECT_TRUE(messages_.empty());
}

// Averages over the range m of the last read, "Best10%" and "95%" over the
// Reference's n sorted differences and written from n = 15 on; a missing
// patch compares against (0, 0, 0), which lies 50 from the flat Reference.
TEST_F(LoadDriverTest, AveragesOverTheLastReadPercentilesOverTheReference) {
  std::vector<double> tenths;
  for (int i = 1; i <= 20; ++i)
    tenths.push_back(0.1 * i);
  LoadPair(tenths);
  EXPECT_EQ(Figures(Pair::ReferenceFile1), (Strings{"   1.05", "   2.00", "   0.20", "   2.00"}));
  // m = 10, n = 20: ten zeros sort first, k10 = 1 reads one.
  Choose(DataSet::File1, Chart("f1b.txt", Offsets(Same(10, 3))));
  EXPECT_EQ(Figures(Pair::ReferenceFile1), (Strings{"   3.00", "   3.00", "   0.00", "   3.00"}));
  // m = n = 14: (10 x 3 + 4 x 50) / 14; the percentiles keep their texts.
  Choose(DataSet::Reference, Chart("ref14.txt", Flat(14)));
  EXPECT_EQ(Figures(Pair::ReferenceFile1), (Strings{"  16.43", "  50.00", "   0.00", "   3.00"}));
  // File2 read, then File1 re-read: both pairs end over File1's 10 patches.
  Choose(DataSet::File2, Chart("f2.txt", Offsets(Same(5, 1))));
  EXPECT_EQ(Figures(Pair::ReferenceFile2), (Strings{"  25.50", "  50.00", "", ""}));
  EXPECT_EQ(Figures(Pair::ReferenceFile1), (Strings{"   3.00", "   3.00", "   0.00", "   3.00"}));
}

// A load clears the hover and click texts of the charts it concerns and one
// area box, and recomputes a stored area on the new data.
TEST_F(LoadDriverTest, LoadsClearPatchInfoAndRecomputeTheStoredArea) {
  Choose(DataSet::Reference, Chart("ref.txt", Flat(24), 4));
  state_.record.Lb_PDe = {"hover 0", "hover 1"};
  state_.ui.mouse[0].SelX = {10, 10};  // the whole first column of the 4 x 6 layout
  state_.ui.mouse[0].SelY = {100, 350};
  state_.record.Sh_Box[0].visible = true;
  state_.record.Lb_DeBox[1] = "old";
  Choose(DataSet::File1, Chart("f1.txt", Offsets(Same(24, 1))));
  EXPECT_EQ(record().Lb_PDe, (std::array<std::string, 2>{"", "hover 1"}));
  EXPECT_EQ(record().Lb_DeBox[1], "old");
  // ⊿E00 of L* 50 against 51: 1 / S_L with S_L = 1 + 0.015 x 0.25 / 4.5.
  EXPECT_EQ(record().Lb_DeBox[0], "P1-P4:P1-P4  ⊿E=1.00 Max=1.00  ⊿E00=1.00 Max=1.00");
  EXPECT_TRUE(record().Sh_Box[0].visible);
  state_.record.Lb_DeBox[1] = "old";
  Choose(DataSet::File2, Chart("f2.txt", Flat(24)));
  EXPECT_EQ(record().Lb_DeBox[1], kAreaHint);
  state_.ui.mouse[0].SelX[1] = 0;  // a release at x = 0 counts as no area
  Choose(DataSet::File1, dir_.File("f1.txt"));
  EXPECT_FALSE(record().Sh_Box[0].visible);
}

}  // namespace
}  // namespace korimo::testing
