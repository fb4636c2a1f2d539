#include <gtest/gtest.h>

#include "app/Histogram.h"

#include <cmath>
#include <limits>
#include "tests/app/EngineFixture.h"

namespace korimo::testing {
namespace {

class HistogramTest : public EngineTest {
 protected:
  void Load(const std::vector<double>& d) {
    Choose(0, Chart("ref.txt", Flat(static_cast<int>(d.size()))));
    Choose(1, Chart("f1.txt", Offsets(d)));
  }
  const HistCounts& counts() { return state().HistCount[0]; }
};

TEST_F(HistogramTest, WorkedExampleBinsAndCaptions) {
  Load({1.0, 0.99, 4.37, 0.2});
  EXPECT_EQ(Cap(Ctl::Lb_GX, 0), "⊿E     5");
  EXPECT_EQ(Cap(Ctl::Lb_GY, 0), "1\r\n\r\n数");
  const HistValues& edges = state().HistValue[0];
  EXPECT_FLOAT_EQ(edges[0], 0.5f);
  EXPECT_FLOAT_EQ(edges[9], 5.0f);
  EXPECT_EQ(edges[10], 0.0f);
  EXPECT_EQ(counts()[2], 1);  // 1.0 / 0.5 = 2
  EXPECT_EQ(counts()[1], 1);  // 0.99
  EXPECT_EQ(counts()[0], 1);
  EXPECT_EQ(counts()[8], 1);  // 4.37
}

TEST_F(HistogramTest, MaximumOfExactlyOneGivesTopOne) {
  Load({1.0, 0.5});
  EXPECT_EQ(Cap(Ctl::Lb_GX, 0), "⊿E     1");
  // w = 0.1 is stored as 0.100000001: 1.0 / w stays just below 10.
  EXPECT_EQ(counts()[9], 1);
  EXPECT_EQ(counts()[10], 0);
  EXPECT_EQ(counts()[4], 1);
}

TEST_F(HistogramTest, AllValuesAtTheTopGiveAnEmptyPictureAndZeroCount) {
  Load({5.0});
  EXPECT_EQ(counts()[10], 1);
  EXPECT_EQ(Cap(Ctl::Lb_GY, 0), "0\r\n\r\n数");
  HistogramOutcome out = CountHistogram(state(), window_, 0);
  EXPECT_TRUE(out.drawBars);
  EXPECT_EQ(out.maxCount, 0);
  for (const HistogramBar& bar : HistogramBars(counts(), out.maxCount, 110, 47)) {
    EXPECT_EQ(bar.y1 - bar.y2, 1);
  }
}

TEST_F(HistogramTest, IdenticalFilesDrawNoBars) {
  Load({0, 0, 0});
  const HistogramOutcome out = CountHistogram(state(), window_, 0);
  EXPECT_TRUE(out.counted);
  EXPECT_FALSE(out.drawBars);
  EXPECT_EQ(Cap(Ctl::Lb_GY, 0), "\r\n\r\n数");
  EXPECT_EQ(Cap(Ctl::Lb_GX, 0), "⊿E      ");
}

TEST_F(HistogramTest, NothingLoadedOnlyClearsTheTables) {
  state().HistCount[1][3] = 7;
  window_.SetCaption(Ctl::Lb_GX, 1, "kept");
  EXPECT_FALSE(CountHistogram(state(), window_, 1).counted);
  EXPECT_EQ(state().HistCount[1][3], 0);
  EXPECT_EQ(Cap(Ctl::Lb_GX, 1), "kept");
}

TEST_F(HistogramTest, ExtremeReadingsSaturateInsteadOfOverflowing) {
  // The difference of opposite extreme readings exceeds the single range.
  Choose(0, Chart("ref.txt", {{"A", 3.4e38, 3.4e38, 0}, {"B", 0, 0, 0}}));
  Choose(1, Chart("f1.txt", {{"A", -3.4e38, -3.4e38, 0}, {"B", 1e-30, 0, 0}}));
  EXPECT_EQ(data().MaxDeAb[0], std::numeric_limits<float>::max());
  EXPECT_TRUE(std::isfinite(data().OverDeAb));
  EXPECT_TRUE(Cap(Ctl::Lb_GX, 0).starts_with("⊿E     3402823"));
  EXPECT_EQ(counts()[10] + counts()[0], 2);
}

TEST(HistogramBars, TallestFillsTheHeightAndEmptyBinsShowOnePixel) {
  HistCounts c{};
  c[0] = 4;
  c[1] = 1;
  c[2] = 2;  // 2 * 47 / 4 = 23.5, ties to even
  const auto bars = HistogramBars(c, 4, 110, 47);
  EXPECT_EQ(bars[0].x1, -1);
  EXPECT_EQ(bars[0].x2, 10);
  EXPECT_EQ(bars[0].y1, 47);
  EXPECT_EQ(bars[0].y2, 0);
  EXPECT_EQ(bars[1].y2, 47 - 12);  // 11.75 rounds to 12
  EXPECT_EQ(bars[2].y2, 47 - 24);
  EXPECT_EQ(bars[3].y2, 46);
  EXPECT_EQ(bars[9].x1, 98);
  EXPECT_EQ(HistogramHalfLineX(110), 54);
}

}  // namespace
}  // namespace korimo::testing
