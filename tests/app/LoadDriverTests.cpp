#include "app/LoadDriver.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <numeric>

#include "color/ColorDifference.h"
#include "core/Common.h"
#include "support/EngineDriver.h"

namespace korimo::testing {
namespace {

using Strings = std::vector<std::string>;

class LoadDriverTest : public EngineTest {
 protected:
  Strings Figures(Pair pair) const {
    const std::size_t p = Index(pair);
    const WindowRecord& r = record();
    return {r.Lb_De[2 * p], r.Lb_De[2 * p + 1], r.Lb_BestDe[p], r.Lb_WorsDe[p]};
  }
};

// Differences 0.1, 0.2, ... 2.0: average 1.05, maximum 2.00, "Best10%" the
// second smallest (0.20), "95%" the twentieth (2.00).
TEST_F(LoadDriverTest, TwentyPatchExampleAndPercentilesShownFromFifteenPatches) {
  std::vector<double> d(20);
  std::iota(d.begin(), d.end(), 1.0);
  for (double& x : d)
    x /= 10;
  LoadPair(d);
  EXPECT_EQ(Figures(Pair::ReferenceFile1), (Strings{"   1.05", "   2.00", "   0.20", "   2.00"}));
  EXPECT_EQ(Figures(Pair::ReferenceFile2), (Strings{"", "", "", ""}));  // not complete
  state_.record.Lb_WorsDe[0] = "before";
  LoadPair({d.begin(), d.begin() + 14});  // 14 patches: "Best10%" and "95%" keep their text
  EXPECT_EQ(Figures(Pair::ReferenceFile1), (Strings{"   0.75", "   1.40", "   0.20", "before"}));
  LoadPair({d.begin(), d.begin() + 15});  // k10 = 1, k95 = 14
  EXPECT_EQ(Figures(Pair::ReferenceFile1), (Strings{"   0.80", "   1.50", "   0.20", "   1.50"}));
}

TEST_F(LoadDriverTest, DifferencesAreStoredAsSinglesOfTheFormulasPairedByPosition) {
  Choose(DataSet::Reference, Chart("ref.txt", {{"A", 50, 2.5, 0}, {"B", 61, -5, 29}}));
  Choose(DataSet::File1, Chart("f1.txt", {{"B", 61, -5, 29}, {"A", 73, 25, -18}}));
  // Patch 1 of the Reference meets patch 1 of File1, whatever the names say.
  EXPECT_EQ(data().DeAb[1][0], static_cast<float>(Cie76(61, -5, 29, 73, 25, -18)));
  EXPECT_EQ(data().De00[1][0], static_cast<float>(Ciede2000(61, -5, 29, 73, 25, -18)));
  EXPECT_EQ(data().PatchId[0], "B");  // the identifiers of the file read last
}

// Reference 100 patches, File1 80: after File1 the averages cover its 80;
// reloading the Reference covers 100, the last 20 against (0, 0, 0).
TEST_F(LoadDriverTest, AveragesCoverTheFileReadLast) {
  const std::string ref = Chart("ref.txt", Offsets(Same(100, 1)));
  Choose(DataSet::Reference, ref);
  Choose(DataSet::File1, Chart("f1.txt", Flat(80)));
  EXPECT_EQ(record().Lb_De[0], "   1.00");
  Choose(DataSet::Reference, ref);
  EXPECT_EQ(record().Lb_De[0], FormatFixed7((80 * 1.0 + 20 * 51.0) / 100));
  // Reference 20, File1 10: the sort covers 20 entries of which 10 are 0.
  Choose(DataSet::Reference, Chart("ref.txt", Flat(20)));
  Choose(DataSet::File1, Chart("f1.txt", Offsets(Same(10, 1))));
  EXPECT_EQ((Strings{record().Lb_De[0], record().Lb_BestDe[0]}), (Strings{"   1.00", "   0.00"}));
}

TEST_F(LoadDriverTest, ReReadRulesAndFailedReadsStopBeforeTheViews) {
  const std::string f1 = Chart("f1.txt", Offsets(Same(5, 1)));
  const std::string f2 = Chart("f2.txt", Offsets(Same(5, 2)));
  Choose(DataSet::Reference, Chart("ref.txt", Flat(5)));
  Choose(DataSet::File1, f1);
  Choose(DataSet::File2, f2);
  WriteChart(f1, Offsets(Same(5, 7)));
  WriteChart(f2, Offsets(Same(5, 8)));
  reads_.clear();
  Choose(DataSet::Reference, dir_.File("ref.txt"));  // re-reads File2, not File1
  EXPECT_EQ(reads_.size(), 2u);
  EXPECT_EQ((std::array{data().Lab1[0][0], data().Lab2[0][0]}), (std::array{51.0, 58.0}));
  Choose(DataSet::File2, f2);  // a sample file re-reads the other one
  EXPECT_EQ(data().Lab1[0][0], 57.0);

  const WindowRecord before = record();
  Choose(DataSet::File1, dir_.File("missing.txt"));  // unreadable: the views stay
  EXPECT_EQ(record().Lb_NoP[1], "0 ﾊﾟｯﾁ");
  EXPECT_EQ(record().Lb_De, before.Lb_De);
  EXPECT_EQ(record().FlexG.revision, before.FlexG.revision);
  EXPECT_EQ(reads_.back().result.failure, ReadFailure::Missing);

  std::filesystem::remove(f2);  // a deleted File2 stops the File1 load before the grid
  Choose(DataSet::File1, Chart("f1b.txt", Offsets(Same(5, 3))));
  EXPECT_EQ(record().Lb_NoP[2], "0 ﾊﾟｯﾁ");
  EXPECT_EQ(record().Lb_File[2], f2);  // kept for a later retry
  EXPECT_EQ(record().FlexG.revision, before.FlexG.revision);
  EXPECT_EQ(data().MaxDeAb[0], 0.0f);  // reset by the last read
  EXPECT_TRUE(messages_.empty());
}

TEST_F(LoadDriverTest, OverThreeThousandPatchesShowsTheMessageOnceAndGoesOn) {
  Choose(DataSet::Reference, Chart("big.txt", Flat(3001)));
  EXPECT_EQ(messages_, Strings{std::string(kTooManyPatchesMessage)});
  EXPECT_EQ(record().Lb_NoP[0], "3000 ﾊﾟｯﾁ");
  EXPECT_TRUE(reads_.back().result.cutAt3000);
  EXPECT_EQ(record().FlexG.RowCount(), 3000u);
}

// A load clears the hover and click texts of the charts it concerns and one
// area box, and recomputes a stored area on the new data.
TEST_F(LoadDriverTest, LoadsClearPatchInfoAndRecomputeTheStoredArea) {
  Choose(DataSet::Reference, Chart("ref.txt", Flat(24), 4));
  state_.record.Lb_PDe = {"hover 0", "hover 1"};
  state_.mouse[0].SelX = {10, 10};  // the whole first column of the 4 x 6 layout
  state_.mouse[0].SelY = {100, 350};
  state_.record.Sh_Box[0].visible = true;
  Choose(DataSet::File1, Chart("f1.txt", Offsets(Same(24, 1))));
  EXPECT_EQ(record().Lb_PDe, (std::array<std::string, 2>{"", "hover 1"}));
  const std::string de00 = FormatTwoDec(data().De00[0][0]);
  EXPECT_EQ(record().Lb_DeBox[0], "P1-P4:P1-P4  ⊿E=1.00 Max=1.00  ⊿E00=" + de00 + " Max=" + de00);
  EXPECT_TRUE(record().Sh_Box[0].visible);
  state_.record.Lb_DeBox[1] = "old";
  Choose(DataSet::File2, Chart("f2.txt", Flat(24)));
  EXPECT_EQ(record().Lb_DeBox[1], kAreaHint);
  state_.mouse[0].SelX[1] = 0;  // a release at x = 0 counts as no area
  Choose(DataSet::File1, dir_.File("f1.txt"));
  EXPECT_FALSE(record().Sh_Box[0].visible);
}

}  // namespace
}  // namespace korimo::testing
