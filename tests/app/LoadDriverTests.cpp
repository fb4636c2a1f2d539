#include "app/LoadDriver.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>

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

// A load clears the hover and click texts of the charts it concerns and one
// area box, and recomputes a stored area on the new data.
TEST_F(LoadDriverTest, LoadsClearPatchInfoAndRecomputeTheStoredArea) {
  Choose(DataSet::Reference, Chart("ref.txt", Flat(24), 4));
  state_.record.Lb_PDe = {"hover 0", "hover 1"};
  state_.mouse[0].SelX = {10, 10};  // the whole first column of the 4 x 6 layout
  state_.mouse[0].SelY = {100, 350};
  state_.record.Sh_Box[0].visible = true;
  state_.record.Lb_DeBox[1] = "old";
  Choose(DataSet::File1, Chart("f1.txt", Offsets(Same(24, 1))));
  EXPECT_EQ(record().Lb_PDe, (std::array<std::string, 2>{"", "hover 1"}));
  EXPECT_EQ(record().Lb_DeBox[1], "old");
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
