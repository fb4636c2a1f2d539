#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>

#include "app/Histogram.h"
#include "app/ThresholdPanel.h"
#include "tests/app/EngineFixture.h"

namespace korimo::testing {
namespace {

class HistogramTest : public EngineTest {
 protected:
  const HistCounts& counts() { return state().HistCount[0]; }
};

TEST_F(HistogramTest, WorkedExampleTopOneAndAllAtTheTop) {
  LoadPair({1.0, 0.99, 4.37, 0.2});
  EXPECT_EQ(Cap(Ctl::Lb_GX), "⊿E     5");
  EXPECT_EQ(Cap(Ctl::Lb_GY), "1\r\n\r\n数");
  EXPECT_EQ(state().HistValue[0], (HistValues{0.5f, 1, 1.5f, 2, 2.5f, 3, 3.5f, 4, 4.5f, 5, 0}));
  EXPECT_EQ(counts(), (HistCounts{1, 1, 1, 0, 0, 0, 0, 0, 1, 0, 0}));  // 1.0 / 0.5 = 2

  LoadPair({1.0, 0.5});
  EXPECT_EQ(Cap(Ctl::Lb_GX), "⊿E     1");
  // w = 0.1 is stored as 0.100000001: 1.0 / w stays just below 10.
  EXPECT_EQ(counts(), (HistCounts{0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0}));

  LoadPair({5.0});  // everything in bin 10: m = 0, bars one pixel high
  EXPECT_EQ(counts()[10], 1);
  EXPECT_EQ(Cap(Ctl::Lb_GY), "0\r\n\r\n数");
  const HistogramOutcome out = CountHistogram(state(), window_, 0);
  EXPECT_TRUE(out.drawBars);
  EXPECT_EQ(out.maxCount, 0);
  for (const HistogramBar& bar : HistogramBars(counts(), out.maxCount, 110, 47))
    EXPECT_EQ(bar.y1 - bar.y2, 1);
}

TEST_F(HistogramTest, IdenticalFilesExtremeReadingsAndNothingLoaded) {
  LoadPair({0, 0, 0});
  const HistogramOutcome out = CountHistogram(state(), window_, 0);
  EXPECT_TRUE(out.counted);
  EXPECT_FALSE(out.drawBars);
  EXPECT_EQ(Cap(Ctl::Lb_GY), "\r\n\r\n数");
  EXPECT_EQ(Cap(Ctl::Lb_GX), "⊿E      ");
  // Opposite extreme readings: the difference exceeds the single range and saturates.
  Choose(0, Chart("ref.txt", {{"A", 3.4e38, 3.4e38, 0}, {"B", 0, 0, 0}}));
  Choose(1, Chart("f1.txt", {{"A", -3.4e38, -3.4e38, 0}, {"B", 1e-30, 0, 0}}));
  EXPECT_EQ(data().MaxDeAb[0], std::numeric_limits<float>::max());
  EXPECT_TRUE(std::isfinite(data().OverDeAb));
  EXPECT_TRUE(Cap(Ctl::Lb_GX).starts_with("⊿E     3402823"));
  EXPECT_EQ(counts()[10] + counts()[0], 2);
  window_.ClearAll();  // nothing loaded: only the tables are cleared
  state().HistCount[1][3] = 7;
  window_.SetCaption(Ctl::Lb_GX, 1, "kept");
  EXPECT_FALSE(CountHistogram(state(), window_, 1).counted);
  EXPECT_EQ(state().HistCount[1][3], 0);
  EXPECT_EQ(Cap(Ctl::Lb_GX, 1), "kept");
}

TEST(HistogramBars, TallestFillsTheHeightAndEmptyBinsShowOnePixel) {
  const auto bars = HistogramBars({4, 1, 2}, 4, 110, 47);
  EXPECT_EQ((std::array{bars[0].x1, bars[0].x2, bars[0].y1, bars[9].x1}),
            (std::array{-1, 10, 47, 98}));
  // Heights 47, 11.75 rounded, 23.5 ties to even, then empty bins.
  EXPECT_EQ((std::array{bars[0].y2, bars[1].y2, bars[2].y2, bars[3].y2}),
            (std::array{0, 35, 23, 46}));
  EXPECT_EQ(HistogramHalfLineX(110), 54);
}

class ThresholdPanelTest : public EngineTest {
 protected:
  // 200 patches: 27 at 0.3, 5 from 3.0 up to the maximum 3.2, the rest at 1.
  void SetUp() override {
    std::vector<double> d(200, 1.0);
    std::fill_n(d.begin(), 27, 0.3);
    std::fill_n(d.begin() + 27, 4, 3.0);
    d[31] = 3.2;
    LoadPair(d);
  }
};

TEST_F(ThresholdPanelTest, ScaleWorkedExampleAndSliders) {
  const std::pair<float, float> scales[] = {
      {0, 1},   {1, 1},   {2, 2},      {4, 4},      {5, 5},   {5.0001f, 10}, {10, 10},
      {20, 20}, {25, 30}, {29.5f, 30}, {29.6f, 40}, {30, 40}, {35, 40}};
  for (const auto& [maximum, scale] : scales)
    EXPECT_EQ(ThresholdScale(maximum), scale) << maximum;
  EXPECT_EQ(Cap(Ctl::ChkBest), "Under ⊿E<0.40");
  EXPECT_EQ(Cap(Ctl::ChkWorst), "Over ⊿E> 3.00");
  EXPECT_EQ(Cap(Ctl::Lb_UPar), "14%");  // 13.5 away from zero
  EXPECT_EQ(Cap(Ctl::Lb_OPar), "3%");   // 2.5, and 3.0 itself counts as Over
  EXPECT_FLOAT_EQ(data().UnderDeAb, 0.4f);
  EXPECT_FLOAT_EQ(data().OverDeAb, 3.0f);
  window_.SetOverPosition(20);
  EXPECT_EQ(Cap(Ctl::ChkWorst), "Over ⊿E> 4.00");
  EXPECT_EQ(Cap(Ctl::Lb_OPar), "0%");
  window_.SetOverPosition(0);
  EXPECT_EQ(Cap(Ctl::Lb_OPar), "100%");
  window_.SetUnderPosition(0);
  EXPECT_EQ(Cap(Ctl::ChkBest), "Under ⊿E<0.00");
  EXPECT_EQ(Cap(Ctl::Lb_UPar), "0%");
  Choose(1, Chart("far.txt", Offsets(Same(200, 35))));
  window_.SetUnderPosition(20);
  EXPECT_EQ(Cap(Ctl::ChkBest), "Under ⊿E<10.00");  // scale 40, capped at 10
}

TEST_F(ThresholdPanelTest, MetricSwitchAndCheckBoxes) {
  window_.SelectMetricDeAb(false);
  EXPECT_TRUE(Cap(Ctl::ChkBest).starts_with("Under ⊿E00<"));
  EXPECT_TRUE(Cap(Ctl::ChkWorst).starts_with("Over  ⊿E00>"));
  EXPECT_GT(window_.DrawChartCalls(0), 0);
  window_.SelectMetricDeAb(true);
  window_.SetUnderMarks(false);  // unchecking empties the label until the next update
  EXPECT_EQ(Cap(Ctl::Lb_UPar), "");
  EXPECT_EQ(Cap(Ctl::Lb_OPar), "3%");
  window_.SetUnderMarks(true);
  EXPECT_EQ(Cap(Ctl::Lb_UPar), "");
  window_.SetOverMarks(false);
  EXPECT_EQ(Cap(Ctl::Lb_OPar), "");
  window_.SetOverPosition(14);
  EXPECT_FALSE(Cap(Ctl::Lb_UPar).empty());
}

}  // namespace
}  // namespace korimo::testing
