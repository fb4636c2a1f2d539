#include "app/Histogram.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "app/ThresholdPanel.h"
#include "support/EngineDriver.h"

namespace korimo::testing {
namespace {

using Strings = std::vector<std::string>;

class HistogramTest : public EngineTest {
 protected:
  const HistCounts& Counts() const { return state_.HistCount[0]; }
  Strings Axes() const { return {record().Lb_GX[0], record().Lb_GY[0]}; }
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

// Largest 4.37: top 5, bins 0.5 wide, edges 0.5 ... 5.0; 0.99 falls into bin
// 1 and 1.0 into bin 2 (1.0 / 0.5 = 2).
TEST_F(HistogramTest, WorkedExampleBinsEdgesAndCaptions) {
  LoadPair({1.0, 0.99, 4.37, 0.2});
  EXPECT_EQ(Axes(), (Strings{"⊿E     5", "1\r\n\r\n数"}));
  EXPECT_EQ(state_.HistValue[0], (HistValues{0.5f, 1, 1.5f, 2, 2.5f, 3, 3.5f, 4, 4.5f, 5, 0}));
  EXPECT_EQ(Counts(), (HistCounts{1, 1, 1, 0, 0, 0, 0, 0, 1, 0, 0}));
  Opt_de_Click(state_, Metric::De00);
  EXPECT_TRUE(record().Lb_GX[0].starts_with("⊿E00   "));
}

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
  EXPECT_EQ(Axes(), (Strings{"⊿E      ", "\r\n\r\n数"}));
  const Raster& g = state_.pictures.PictG[0];
  EXPECT_EQ(std::count(g.Pixels().begin(), g.Pixels().end(), g.Background()),
            static_cast<long>(g.Pixels().size()));
}

// Bars of a 110 x 47 picture: bin counts 3, 1, 2 of tallest 3 give
// 47, round(15.67) = 16 and round(31.33) = 31 pixels; empty bins one pixel.
TEST_F(HistogramTest, BarsAreRedInBlackOutlinesWithTheHalfScaleLine) {
  LoadPair({0.1, 0.2, 0.3, 0.99, 1.0, 1.2, 4.37});
  EXPECT_EQ(Bars(), (std::vector{47, 16, 31, 1, 1, 1, 1, 1, 16, 1}));
  const Raster& g = state_.pictures.PictG[0];
  std::string top, bottom;
  for (int x = 0; x < 56; ++x) {
    top += g.Pixel(x, 0) == kBlack ? 'K' : g.Pixel(x, 0) == kRed ? 'R' : '.';
    bottom += g.Pixel(x, 46) == kBlack ? 'K' : g.Pixel(x, 46) == kRed ? 'R' : '.';
  }
  EXPECT_EQ(top, "KKKKKKKKKKK...........................................K.");
  EXPECT_EQ(bottom, "RRRRRRRRRRKRRRRRRRRRRKRRRRRRRRRRKKKKKKKKKKKKKKKKKKKKKKKK");
}

TEST_F(HistogramTest, ExtremeReadingsSaturateInsteadOfOverflowing) {
  Choose(DataSet::Reference, Chart("ref.txt", {{"A", 3.4e38, 3.4e38, 0}, {"B", 0, 0, 0}}));
  Choose(DataSet::File1, Chart("f1.txt", {{"A", -3.4e38, -3.4e38, 0}, {"B", 1e-30, 0, 0}}));
  EXPECT_EQ(data().MaxDeAb[0], std::numeric_limits<float>::max());
  EXPECT_TRUE(std::isfinite(data().OverDeAb));
  EXPECT_TRUE(record().Lb_GX[0].starts_with("⊿E     3402823"));
  EXPECT_EQ(Counts()[10] + Counts()[0], 2);
}

TEST_F(HistogramTest, RightClickOpensTheMenuEnabledWhileThePairsFileIsLoaded) {
  LoadPair({1, 2});
  EXPECT_FALSE(PictG_MouseUp(state_, Pair::ReferenceFile1, MouseButton::Left));
  EXPECT_TRUE(PictG_MouseUp(state_, Pair::ReferenceFile2, MouseButton::Right));
  EXPECT_FALSE(record().Menu_EditSub_Enabled);
  EXPECT_TRUE(PictG_MouseUp(state_, Pair::ReferenceFile1, MouseButton::Right));
  EXPECT_TRUE(record().Menu_EditSub_Enabled);
  EXPECT_EQ(state_.menuSource, MenuSource::Histogram);
}

}  // namespace
}  // namespace korimo::testing
