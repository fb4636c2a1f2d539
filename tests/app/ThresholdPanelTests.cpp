#include "app/ThresholdPanel.h"

#include <gtest/gtest.h>

#include "support/EngineDriver.h"

namespace korimo::testing {
namespace {

using Strings = std::vector<std::string>;

class ThresholdPanelTest : public EngineTest {
 protected:
  Strings Panel() const {
    const WindowRecord& r = record();
    return {r.ChkBest, r.ChkWorst, r.Lb_UPar[0], r.Lb_OPar[0], r.Lb_UPar[1], r.Lb_OPar[1]};
  }
};

// A value equal to a threshold counts in the percentage but gets no mark on
// the chart, whose comparisons are strict.
TEST_F(ThresholdPanelTest, EqualValuesCountButAreNotMarked) {
  std::vector<double> d(20, 1.0);
  d[0] = 0.5;   // Under at slider 2 with scale 5: 5 x 2 / 20 = 0.5
  d[1] = 3.75;  // Over at slider 15: 5 x 15 / 20 = 3.75
  d[2] = 4.5;   // the maximum sets the scale 5
  LoadPair(d);
  EXPECT_EQ((Strings{record().Lb_UPar[0], record().Lb_OPar[0]}), (Strings{"5%", "10%"}));
}

}  // namespace
}  // namespace korimo::testing
