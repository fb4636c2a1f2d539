#include "app/Histogram.h"

#include <gtest/gtest.h>

#include "support/EngineDriver.h"
#include "support/WindowDifferences.h"

namespace korimo::testing {
namespace {

class HistogramTest : public EngineTest {
 protected:
  HistCounts Counts() const { return DrawnHistograms(state_.shown)[0]; }
  // Bar heights read from the middle column of each bar.
  std::vector<int> Bars() const {
    const Raster& g = state_.pictures.PictG[0];
    std::vector<int> heights(10, g.Height());
    for (int k = 0; k < 10; ++k) {
      for (int y = 0; y < g.Height() && g.Pixel(k * 11 + 5, y) == g.Background(); ++y)
        --heights[static_cast<std::size_t>(k)];
    }
    return heights;
  }
};

// A maximum of exactly 1 gives top 1 (not 2), w = 0.1 stored as 0.100000001,
// so 1.0 / w stays below 10 and 0.5 / w below 5; a maximum of exactly 5 puts its patch into bin
// 10, which is counted but neither drawn nor part of the tallest count.
TEST_F(HistogramTest, ScaleTopEdgesAndBinTen) {
  LoadPair({1.0, 0.5});
  EXPECT_EQ(record().Lb_GX[0], "⊿E     1");
  EXPECT_EQ(Counts(), (HistCounts{0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0}));
  LoadPair({5.0});
  EXPECT_EQ(Counts()[10], 1);
  EXPECT_EQ(record().Lb_GY[0], "0\r\n\r\n数");
  EXPECT_EQ(Bars(), std::vector(10, 1));  // nothing to scale to: one-pixel bars
  LoadPair({0, 0, 0});                    // all equal: no bars, the captions of an empty scale
  EXPECT_EQ((Strings{record().Lb_GX[0], record().Lb_GY[0]}), (Strings{"⊿E      ", "\r\n\r\n数"}));
  const Raster& g = state_.pictures.PictG[0];
  EXPECT_EQ(std::count(g.Pixels().begin(), g.Pixels().end(), g.Background()),
            static_cast<long>(g.Pixels().size()));
}

}  // namespace
}  // namespace korimo::testing
