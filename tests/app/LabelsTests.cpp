#include "app/Labels.h"

#include <gtest/gtest.h>

#include "app/ThresholdPanel.h"
#include "support/EngineDriver.h"

namespace korimo::testing {
namespace {

class LabelsTest : public EngineTest {
 protected:
  Strings Panel() const {
    const WindowRecord& r = record();
    return {r.ChkBest, r.ChkWorst, r.Lb_UPar[0], r.Lb_OPar[0]};
  }
};

// Largest ⊿E 4.5: scale 5, Under 0.50 and Over 3.75, each counting a value
// equal to it; 1 of 40 is 2.5%, shown as 3%. In ⊿E00, ΔL* / S_L with S_L =
// 1 + 0.015 (L - 50)² / √(20 + (L - 50)²) at the mean lightness L: 0.4999,
// 3.710 and 4.433 (scale 5 again), so only the largest reaches Over.
TEST_F(LabelsTest, PercentagesCountValuesAtTheThresholdsInEitherMetric) {
  std::vector<double> d(40, 1.0);
  d[0] = 0.5;
  d[1] = 3.75;
  d[2] = 4.5;
  LoadPair(d);
  EXPECT_EQ(Panel(), (Strings{"Under ⊿E<0.50", "Over ⊿E> 3.75", "3%", "5%"}));
  Do(Opt_de_Click, Metric::De00);
  EXPECT_EQ(Panel(), (Strings{"Under ⊿E00<0.50", "Over  ⊿E00>3.75", "3%", "3%"}));
}

// A read of the pair's own sample counts over the Reference's patches, the
// Reference's read over the sample's; both walk the Reference's sorted
// table. Reference 20, File1 10 at 0.5: first 10 zeros, then the
// Reference's read compares 10 patches against (0, 0, 0), 50 away: scale
// 60, Under 1.00, Over 45.00, and 10 of File1's 10 patches beyond each.
TEST_F(LabelsTest, PercentagesCountOverTheReferenceOrTheSample) {
  Choose(DataSet::Reference, Chart("ref.txt", Flat(20)));
  Choose(DataSet::File1, Chart("f1.txt", Offsets(Same(10, 0.5))));
  EXPECT_EQ(Panel(), (Strings{"Under ⊿E<0.10", "Over ⊿E> 0.75", "50%", "0%"}));
  Choose(DataSet::Reference, dir_.File("ref.txt"));
  EXPECT_EQ(Panel(), (Strings{"Under ⊿E<1.00", "Over ⊿E> 45.00", "100%", "100%"}));
}

}  // namespace
}  // namespace korimo::testing
