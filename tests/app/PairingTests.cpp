#include "app/Pairing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <random>

#include "app/ClearAll.h"
#include "support/EngineDriver.h"

namespace korimo::testing {
namespace {

// A chart of n patches named A1, A2, ... (or only numbered by WriteChart
// when written without names).
std::vector<Patch> Named(int n) {
  std::vector<Patch> patches;
  for (int i = 0; i < n; ++i)
    patches.push_back({"A" + std::to_string(i + 1), 50.0 + i % 7, 0, 0});
  return patches;
}

class PairingTest : public EngineTest {
 protected:
  const PairCheck& Check(Pair pair) const { return state_.pairing[Index(pair)]; }
};

// Two files of one chart, the second with its lines in another order: every
// position whose identifier moved is counted, the first is named.
TEST_F(PairingTest, TheSameChartInAnotherOrderIsFlaggedWithItsFirstDifference) {
  std::vector<Patch> shuffled = Named(40);
  std::swap(shuffled[0], shuffled[1]);  // A2, A1, A3, ..., then A40 and A39 swapped too
  std::swap(shuffled[38], shuffled[39]);
  Choose(DataSet::Reference, Chart("ref.txt", Named(40)));
  Choose(DataSet::File1, Chart("f1.txt", shuffled));
  const PairCheck& c = Check(Pair::ReferenceFile1);
  EXPECT_TRUE(c.complete && c.idsCompared && c.Mismatch());
  EXPECT_FALSE(c.countsDiffer);
  EXPECT_EQ(c.idMismatches, 4);
  EXPECT_EQ(c.firstMismatches, (std::vector<int>{0, 1, 38, 39}));
  EXPECT_EQ(record().Lb_Pairing[0], "基準–File1: ID不一致 4/40（No.1「A1」≠「A2」） 位置で比較");
  EXPECT_EQ(record().Lb_PairingTip[0],
            "基準–File1: パッチは位置で比較しています\nIDの異なる位置 4 件:\n"
            "No.1「A1」≠「A2」\nNo.2「A2」≠「A1」\nNo.39「A39」≠「A40」\nNo.40「A40」≠「A39」");
  EXPECT_FALSE(Check(Pair::ReferenceFile2).complete);
  EXPECT_EQ(record().Lb_Pairing[1], "");
}

// The whole stored texts are compared, not the five characters the grid
// shows; the tooltip lists the first 20 positions and says how many in all.
TEST_F(PairingTest, WholeIdentifiersAndTheFirstTwentyPositions) {
  std::vector<Patch> ref = Named(30), other = Named(30);
  for (int i = 0; i < 30; ++i) {
    ref[static_cast<std::size_t>(i)].id = "SAMPLE" + std::to_string(100 + i);
    other[static_cast<std::size_t>(i)].id = "SAMPLX" + std::to_string(100 + i);  // same last 5
  }
  Choose(DataSet::Reference, Chart("ref.txt", ref));
  Choose(DataSet::File2, Chart("f2.txt", other));
  const PairCheck& c = Check(Pair::ReferenceFile2);
  EXPECT_EQ(c.idMismatches, 30);
  EXPECT_EQ(c.firstMismatches.size(), 20u);
  const std::string& tip = record().Lb_PairingTip[1];
  EXPECT_NE(tip.find("IDの異なる位置 30 件（最初の 20 件）:"), std::string::npos);
  EXPECT_EQ(std::count(tip.begin(), tip.end(), '\n'), 21);
  EXPECT_TRUE(record().Lb_Pairing[1].starts_with("基準–File2: ID不一致 30/30"));
}

// Files without identifiers can only differ in their counts.
TEST_F(PairingTest, CountsDifferWithOrWithoutIdentifiers) {
  WriteChart(dir_.File("ref.txt"), Named(24), 0, false);
  WriteChart(dir_.File("f1.txt"), Named(20), 0, false);
  Choose(DataSet::Reference, dir_.File("ref.txt"));
  Choose(DataSet::File1, dir_.File("f1.txt"));
  const PairCheck& c = Check(Pair::ReferenceFile1);
  EXPECT_TRUE(c.countsDiffer);
  // Without names the numbers in SAMPLE_ID identify the patches; they agree.
  EXPECT_EQ((std::pair{c.idsCompared, c.idMismatches}), (std::pair{true, 0}));
  EXPECT_EQ(record().Lb_Pairing[0], "基準–File1: パッチ数不一致 24≠20 位置で比較");
  WriteChart(dir_.File("f1.txt"), Named(24), 0, false);
  Choose(DataSet::File1, dir_.File("f1.txt"));
  EXPECT_FALSE(Check(Pair::ReferenceFile1).Mismatch());
  EXPECT_EQ(record().Lb_Pairing[0], "");
}

// The check follows every load, also one that stopped early, and clear-all
// takes it away.
TEST_F(PairingTest, TheWarningAppearsUpdatesAndClears) {
  Choose(DataSet::Reference, Chart("ref.txt", Named(10)));
  Choose(DataSet::File1, Chart("f1.txt", Named(8)));
  Choose(DataSet::File2, Chart("f2.txt", Named(10)));
  EXPECT_NE(record().Lb_Pairing[0], "");
  EXPECT_EQ(record().Lb_Pairing[1], "");
  std::filesystem::remove(dir_.File("f1.txt"));  // the File2 load stops at File1's re-read
  WriteChart(dir_.File("f2.txt"), Named(9));
  Choose(DataSet::File2, dir_.File("f2.txt"));
  EXPECT_EQ(record().Lb_Pairing[0], "");  // File1 is no longer loaded
  EXPECT_EQ(record().Lb_Pairing[1], "基準–File2: パッチ数不一致 10≠9 位置で比較");
  But_Clear_Click(state_);
  EXPECT_EQ(record().Lb_Pairing, (std::array<std::string, 2>{}));
  EXPECT_FALSE(Check(Pair::ReferenceFile2).complete);
}

// Public characterization data where installed: FOGRA39L and TR006 hold the
// same 1617 patches in the same order.
TEST_F(PairingTest, RealCharacterizationDataInTheSameOrderMatch) {
  const std::string fogra = "/usr/share/color/icc/FOGRA39L.ti3";
  const std::string tr006 = "/usr/share/color/icc/TR006.ti3";
  if (!std::filesystem::exists(fogra) || !std::filesystem::exists(tr006))
    GTEST_SKIP() << "icc-profiles-free is not installed";
  Choose(DataSet::Reference, fogra);
  Choose(DataSet::File1, tr006);
  EXPECT_EQ(record().Lb_NoP[1], "1617 ﾊﾟｯﾁ");
  EXPECT_EQ(data().PatchId[1616], "1617");  // from SAMPLE_ID
  EXPECT_TRUE(Check(Pair::ReferenceFile1).idsCompared);
  EXPECT_FALSE(Check(Pair::ReferenceFile1).Mismatch());
  EXPECT_EQ((std::array<int, 2>{state_.chart.ChartRows, state_.chart.ChartCols}),
            (std::array{40, 41}));
}

}  // namespace
}  // namespace korimo::testing
