#include "app/Pairing.h"

#include <gtest/gtest.h>

#include "support/EngineDriver.h"

namespace korimo::testing {
namespace {

using PairingTest = EngineTest;

// Two files of one chart, the second with its lines in another order: every
// position whose identifier moved is counted, the first is named.
TEST_F(PairingTest, TheSameChartInAnotherOrderIsFlaggedWithItsFirstDifference) {
  std::vector<Patch> shuffled = Varied(40, 0);
  std::swap(shuffled[0], shuffled[1]);  // P2, P1, P3, ..., then P40 and P39 swapped too
  std::swap(shuffled[38], shuffled[39]);
  Choose(DataSet::Reference, Chart("ref.txt", Varied(40, 0)));
  Choose(DataSet::File1, Chart("f1.txt", shuffled));
  const Measurement* reference = comparison().Set(DataSet::Reference);
  const PairCheck c = CheckPair(reference, comparison().Set(DataSet::File1));
  EXPECT_TRUE(c.complete && c.idsCompared && c.Mismatch());
  EXPECT_FALSE(c.countsDiffer);
  EXPECT_EQ(c.idMismatches, 4);
  EXPECT_EQ(c.firstMismatches, (std::vector<int>{0, 1, 38, 39}));
  EXPECT_EQ(record().Lb_Pairing[0], "基準–File1: ID不一致 4/40（No.1「P1」≠「P2」） 位置で比較");
  EXPECT_EQ(record().Lb_PairingTip[0],
            "基準–File1: パッチは位置で比較しています\nIDの異なる位置 4 件:\n"
            "No.1「P1」≠「P2」\nNo.2「P2」≠「P1」\nNo.39「P39」≠「P40」\nNo.40「P40」≠「P39」");
  EXPECT_FALSE(CheckPair(reference, comparison().Set(DataSet::File2)).complete);
  EXPECT_EQ(record().Lb_Pairing[1], "");
}

}  // namespace
}  // namespace korimo::testing
