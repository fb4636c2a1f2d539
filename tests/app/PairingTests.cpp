#include "app/Pairing.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "app/ClearAll.h"
#include "support/EngineDriver.h"

namespace korimo::testing {
namespace {

// A chart of n patches named A1, A2, ...
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

}  // namespace
}  // namespace korimo::testing
