#include "app/ThresholdPanel.h"

#include <gtest/gtest.h>

#include "support/EngineDriver.h"

namespace korimo::testing {
namespace {

using ThresholdPanelTest = EngineTest;
using Percentages = std::array<std::string, 2>;

// Unchecking a box empties its percentages, checking it again leaves them
// empty until the thresholds are taken again; the Under slider at 4 of 20
// on scale 5 takes 1.00, which 19 of the 20 patches reach.
TEST_F(ThresholdPanelTest, AnUncheckedBoxEmptiesItsPercentagesUntilTheyAreTakenAgain) {
  std::vector<double> d(20, 1.0);
  d[0] = 4.5;
  LoadPair(d);
  Do(ChkBest_Click, false);
  Do(ChkBest_Click, true);
  EXPECT_EQ(record().Lb_UPar, (Percentages{"", ""}));
  EXPECT_EQ(record().Lb_OPar, (Percentages{"5%", ""}));
  Do(SldBest_Change, 4);
  EXPECT_EQ(record().Lb_UPar, (Percentages{"95%", ""}));
  EXPECT_EQ(record().ChkBest, "Under ⊿E<1.00");
}

}  // namespace
}  // namespace korimo::testing
