#include "app/ThresholdPanel.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "support/EngineDriver.h"

namespace korimo::testing {
namespace {

using Strings = std::vector<std::string>;

TEST(ThresholdScale, StepsUpToTwentyThenRoundsUpToTheNextTen) {
  const std::pair<float, float> scales[] = {
      {0, 1},   {1, 1},      {1.5f, 2}, {2, 2},      {4, 4},      {5, 5},   {5.0001f, 10}, {10, 10},
      {20, 20}, {20.5f, 30}, {25, 30},  {29.5f, 30}, {29.6f, 40}, {30, 40}, {35, 40}};
  for (const auto& [maximum, scale] : scales)
    EXPECT_EQ(ThresholdScale(maximum), scale) << maximum;
}

class ThresholdPanelTest : public EngineTest {
 protected:
  Strings Panel() const {
    const WindowRecord& r = record();
    return {r.ChkBest, r.ChkWorst, r.Lb_UPar[0], r.Lb_OPar[0], r.Lb_UPar[1], r.Lb_OPar[1]};
  }
};

// 200 patches, the larger maximum 3.2: scale 4, Under 4 x 2 / 20 = 0.40,
// Over 4 x 15 / 20 = 3.00. 27 values at 0.3 are Under (13.5 %, shown 14 %),
// 5 at 3.0 or above are Over (2.5 %, shown 3 %).
TEST_F(ThresholdPanelTest, WorkedExampleAndTheSlidersAndMetric) {
  std::vector<double> d(200, 1.0);
  std::fill_n(d.begin(), 27, 0.3);
  std::fill_n(d.begin() + 27, 5, 3.0);
  d[31] = 3.2;
  LoadPair(d);
  EXPECT_EQ(Panel(), (Strings{"Under ⊿E<0.40", "Over ⊿E> 3.00", "14%", "3%", "", ""}));
  EXPECT_EQ(data().UnderDeAb, 0.4f);
  SldWorst_Change(state_, 20);  // Over 4.00: no value reaches it
  EXPECT_EQ(Panel(), (Strings{"Under ⊿E<0.40", "Over ⊿E> 4.00", "14%", "0%", "", ""}));
  SldWorst_Change(state_, 0);  // Over 0.00: every value reaches it
  EXPECT_EQ(Panel()[3], "100%");
  Opt_de_Click(state_, Metric::De00);
  EXPECT_TRUE(Panel()[0].starts_with("Under ⊿E00<"));
  EXPECT_TRUE(Panel()[1].starts_with("Over  ⊿E00>"));
  // A scale of 40 still caps the Under threshold at 10 x u / 20.
  Opt_de_Click(state_, Metric::DeAb);
  Choose(DataSet::File1, Chart("far.txt", Offsets(Same(200, 35))));
  SldBest_Change(state_, 20);
  EXPECT_EQ(record().ChkBest, "Under ⊿E<10.00");
}

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

// Reference and File1 of 10 patches, File2 of 5 lying 0.01 above. The File2
// load refreshes pair 1 over the Reference's 10 sorted entries; re-reading
// File1 then compares pair 1's last five against zeros (50 each), which sets
// the scale 60. A slider refreshes both pairs, pair 1 over its own 5 entries.
TEST_F(ThresholdPanelTest, OnePairOverTheReferenceCountBothOverTheirOwn) {
  LoadPair(Same(10, 1));
  Choose(DataSet::File2, Chart("f2.txt", Offsets(Same(5, 0.01))));
  EXPECT_EQ(Panel(), (Strings{"Under ⊿E<1.00", "Over ⊿E> 45.00", "100%", "0%", "100%", "0%"}));
  SldBest_Change(state_, 3);
  EXPECT_EQ(Panel(), (Strings{"Under ⊿E<1.50", "Over ⊿E> 45.00", "100%", "0%", "100%", "100%"}));
  ChkBest_Click(state_, false);
  EXPECT_EQ((Strings{record().Lb_UPar[0], record().Lb_UPar[1]}), (Strings{"", ""}));
  ChkBest_Click(state_, true);  // checking again does not refill them
  EXPECT_EQ(record().Lb_UPar[0], "");
  ChkWorst_Click(state_, false);
  EXPECT_EQ((Strings{record().Lb_OPar[0], record().Lb_OPar[1]}), (Strings{"", ""}));
  SldBest_Change(state_, 2);  // the next refresh fills both again
  EXPECT_EQ(Panel()[2], "100%");
}

// After File1's read fails its path stays shown, but there are no colours to
// draw: the handlers leave its chart and histogram as the failed load left
// them instead of painting zeros.
TEST_F(ThresholdPanelTest, AFailedFileKeepsItsChartThroughTheHandlers) {
  std::vector<double> d(20, 1.0);
  d[0] = 4.5;
  LoadPair(d);
  Choose(DataSet::File1, dir_.File("missing.txt"));
  ASSERT_EQ(record().Lb_NoP[1], "0 ﾊﾟｯﾁ");
  const std::vector<std::uint32_t> chart = state_.pictures.PictPat[0].Pixels();
  const std::vector<std::uint32_t> histogram = state_.pictures.PictG[0].Pixels();
  SldBest_Change(state_, 5);
  Opt_de_Click(state_, Metric::De00);
  ChkWorst_Click(state_, false);
  EXPECT_EQ(state_.pictures.PictPat[0].Pixels(), chart);
  EXPECT_EQ(state_.pictures.PictG[0].Pixels(), histogram);
}

}  // namespace
}  // namespace korimo::testing
