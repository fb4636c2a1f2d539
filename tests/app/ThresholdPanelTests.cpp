#include <gtest/gtest.h>

#include "app/ThresholdPanel.h"
#include "tests/app/EngineFixture.h"

namespace korimo::testing {
namespace {

TEST(ThresholdScale, RoundsTheLargerMaximumUp) {
  EXPECT_EQ(ThresholdScale(0), 1);
  EXPECT_EQ(ThresholdScale(0.5f), 1);
  EXPECT_EQ(ThresholdScale(3.2f), 4);
  EXPECT_EQ(ThresholdScale(5), 5);
  EXPECT_EQ(ThresholdScale(5.0001f), 10);
  EXPECT_EQ(ThresholdScale(20), 20);
  EXPECT_EQ(ThresholdScale(25), 30);
  EXPECT_EQ(ThresholdScale(29.6f), 40);
  EXPECT_EQ(ThresholdScale(30), 40);
  EXPECT_EQ(ThresholdScale(35), 40);
}

class ThresholdPanelTest : public EngineTest {
 protected:
  // 200 patches: 27 at 0.3, 5 from 3.0 up to the maximum 3.2, the rest at 1.
  void LoadWorkedExample() {
    std::vector<double> d(200, 1.0);
    for (int i = 0; i < 27; ++i)
      d[i] = 0.3;
    for (int i = 27; i < 31; ++i)
      d[i] = 3.0;
    d[31] = 3.2;
    Choose(0, Chart("ref.txt", Flat(200)));
    Choose(1, Chart("f1.txt", Offsets(d)));
  }
};

TEST_F(ThresholdPanelTest, WorkedExampleCaptionsAndPercentages) {
  LoadWorkedExample();
  EXPECT_EQ(Cap(Ctl::ChkBest), "Under ⊿E<0.40");
  EXPECT_EQ(Cap(Ctl::ChkWorst), "Over ⊿E> 3.00");
  EXPECT_EQ(Cap(Ctl::Lb_UPar, 0), "14%");  // 13.5 away from zero
  EXPECT_EQ(Cap(Ctl::Lb_OPar, 0), "3%");   // 2.5, and 3.0 itself counts as Over
  EXPECT_FLOAT_EQ(data().UnderDeAb, 0.4f);
  EXPECT_FLOAT_EQ(data().OverDeAb, 3.0f);
}

TEST_F(ThresholdPanelTest, SlidersMoveTheThresholdsAndCapUnderAtTen) {
  LoadWorkedExample();
  window_.SetOverPosition(20);
  EXPECT_EQ(Cap(Ctl::ChkWorst), "Over ⊿E> 4.00");
  EXPECT_EQ(Cap(Ctl::Lb_OPar, 0), "0%");
  window_.SetOverPosition(0);
  EXPECT_EQ(Cap(Ctl::Lb_OPar, 0), "100%");
  window_.SetUnderPosition(0);
  EXPECT_EQ(Cap(Ctl::ChkBest), "Under ⊿E<0.00");
  EXPECT_EQ(Cap(Ctl::Lb_UPar, 0), "0%");

  Choose(1, Chart("far.txt", Offsets(std::vector<double>(200, 35))));
  window_.SetUnderPosition(20);
  EXPECT_EQ(Cap(Ctl::ChkBest), "Under ⊿E<10.00");  // scale 40, capped at 10
}

TEST_F(ThresholdPanelTest, MetricSwitchRewritesCaptionsInTheNewMetric) {
  LoadWorkedExample();
  window_.SelectMetricDeAb(false);
  EXPECT_TRUE(Cap(Ctl::ChkBest).starts_with("Under ⊿E00<"));
  EXPECT_TRUE(Cap(Ctl::ChkWorst).starts_with("Over  ⊿E00>"));
  EXPECT_EQ(window_.DrawChartCalls(0) > 0, true);
}

TEST_F(ThresholdPanelTest, UncheckingABoxEmptiesItsLabelsUntilTheNextUpdate) {
  LoadWorkedExample();
  window_.SetUnderMarks(false);
  EXPECT_EQ(Cap(Ctl::Lb_UPar, 0), "");
  EXPECT_EQ(Cap(Ctl::Lb_OPar, 0), "3%");
  window_.SetUnderMarks(true);
  EXPECT_EQ(Cap(Ctl::Lb_UPar, 0), "");
  window_.SetOverMarks(false);
  EXPECT_EQ(Cap(Ctl::Lb_OPar, 0), "");
  window_.SetOverPosition(14);
  EXPECT_FALSE(Cap(Ctl::Lb_UPar, 0).empty());
}

}  // namespace
}  // namespace korimo::testing
