#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <numeric>

#include "app/Inspection.h"
#include "color/ColorDifference.h"
#include "core/Common.h"
#include "core/MeasurementReader.h"
#include "tests/app/EngineFixture.h"

namespace korimo::testing {
namespace {

class LoadDriverTest : public EngineTest {};

std::vector<double> Steps(int n, double step) {
  std::vector<double> d(n);
  for (int i = 0; i < n; ++i)
    d[i] = (i + 1) * step;
  return d;
}

TEST_F(LoadDriverTest, ReferenceAloneShowsItsCountAndNoStatistics) {
  Choose(0, Chart("ref.txt", Flat(24)));
  EXPECT_EQ(Cap(Ctl::Lb_NoP, 0), "24 ﾊﾟｯﾁ");
  EXPECT_EQ(Cap(Ctl::Lb_De, 0), "");
  EXPECT_EQ(Cap(Ctl::Lb_BestDe, 0), "");
  EXPECT_EQ(window_.GridDataRows().size(), 24u);
  EXPECT_EQ(Cap(Ctl::ChkBest), "Under ⊿E<0.10");
  EXPECT_EQ(Cap(Ctl::ChkWorst), "Over ⊿E> 0.75");
}

TEST_F(LoadDriverTest, TwentyPatchExampleShowsAllFourFigures) {
  Choose(0, Chart("ref.txt", Flat(20)));
  Choose(1, Chart("f1.txt", Offsets(Steps(20, 0.1))));
  EXPECT_EQ(Cap(Ctl::Lb_De, 0), "   1.05");
  EXPECT_EQ(Cap(Ctl::Lb_De, 1), "   2.00");
  EXPECT_EQ(Cap(Ctl::Lb_BestDe, 0), "   0.20");
  EXPECT_EQ(Cap(Ctl::Lb_WorsDe, 0), "   2.00");
  EXPECT_EQ(Cap(Ctl::Lb_De2K, 1), FormatFixed7(data().MaxDe00[0]));
  EXPECT_EQ(Cap(Ctl::Lb_De, 2), "");  // pair 1 is not complete
  for (int i = 0; i < 20; ++i) {
    const auto& r = data().Lab0[i];
    const auto& f = data().Lab1[i];
    EXPECT_EQ(data().DeAb[i][0], static_cast<float>(Cie76(r[0], r[1], r[2], f[0], f[1], f[2])));
  }
}

TEST_F(LoadDriverTest, PercentilesNeedFifteenPatches) {
  window_.SetCaption(Ctl::Lb_BestDe, 0, "before");
  window_.SetCaption(Ctl::Lb_WorsDe, 0, "before");
  Choose(0, Chart("ref.txt", Flat(14)));
  Choose(1, Chart("f1.txt", Offsets(Steps(14, 0.1))));
  EXPECT_EQ(Cap(Ctl::Lb_De, 1), "   1.40");
  EXPECT_EQ(Cap(Ctl::Lb_BestDe, 0), "before");
  EXPECT_EQ(Cap(Ctl::Lb_WorsDe, 0), "before");

  Choose(0, Chart("ref15.txt", Flat(15)));
  Choose(1, Chart("f15.txt", Offsets(Steps(15, 0.1))));
  EXPECT_EQ(Cap(Ctl::Lb_BestDe, 0), "   0.20");
  EXPECT_EQ(Cap(Ctl::Lb_WorsDe, 0), "   1.50");
}

TEST_F(LoadDriverTest, PatchesArePairedByPosition) {
  auto ref = Offsets({0, 1, 2});
  auto f1 = Offsets({0.5, 1, 2});
  Choose(0, Chart("ref.txt", ref));
  std::swap(f1[0], f1[2]);  // identifiers travel with the lines
  Choose(1, Chart("f1.txt", f1));
  EXPECT_FLOAT_EQ(data().DeAb[0][0], 2.0f);  // 52 against 50
  EXPECT_FLOAT_EQ(data().DeAb[2][0], 1.5f);  // 50.5 against 52
  EXPECT_EQ(data().PatchId[0], "P3");
}

TEST_F(LoadDriverTest, ShorterFileAveragesOverItsOwnRangeUntilTheReferenceReloads) {
  const std::string ref = Chart("ref.txt", Offsets(std::vector<double>(100, 1)));
  Choose(0, ref);
  Choose(1, Chart("f1.txt", Flat(80)));
  EXPECT_EQ(Cap(Ctl::Lb_De, 0), "   1.00");  // 80 patches, all 1 apart
  Choose(0, ref);
  // 100 patches: 80 at 1, 20 against (0, 0, 0) at sqrt(51^2) = 51.
  EXPECT_EQ(Cap(Ctl::Lb_De, 0), FormatFixed7((80 * 1.0 + 20 * 51.0) / 100));
  EXPECT_EQ(Cap(Ctl::Lb_De, 1), "  51.00");
}

TEST_F(LoadDriverTest, PercentilesUseTheReferenceCount) {
  Choose(0, Chart("ref.txt", Flat(20)));
  Choose(1, Chart("f1.txt", Offsets(std::vector<double>(10, 1))));
  EXPECT_EQ(Cap(Ctl::Lb_De, 0), "   1.00");      // divides by 10
  EXPECT_EQ(Cap(Ctl::Lb_BestDe, 0), "   0.00");  // 10 of 20 sorted entries are 0
}

TEST_F(LoadDriverTest, ReferenceLoadRereadsFile2ButNotFile1) {
  const std::string ref = Chart("ref.txt", Flat(5));
  const std::string f1 = Chart("f1.txt", Offsets(std::vector<double>(5, 1)));
  const std::string f2 = Chart("f2.txt", Offsets(std::vector<double>(5, 2)));
  Choose(0, ref);
  Choose(1, f1);
  Choose(2, f2);
  WriteChart(f1, Offsets(std::vector<double>(5, 7)));
  WriteChart(f2, Offsets(std::vector<double>(5, 8)));
  Choose(0, ref);
  EXPECT_EQ(data().Lab1[0][0], 51.0);
  EXPECT_EQ(data().Lab2[0][0], 58.0);
  Choose(2, f2);  // a sample file load re-reads the other one
  EXPECT_EQ(data().Lab1[0][0], 57.0);
}

TEST_F(LoadDriverTest, FailedRereadStopsBeforeTheGrid) {
  Choose(0, Chart("ref.txt", Flat(5)));
  Choose(1, Chart("f1.txt", Offsets(std::vector<double>(5, 1))));
  const std::string f2 = Chart("f2.txt", Offsets(std::vector<double>(5, 2)));
  Choose(2, f2);
  const auto gridBefore = window_.GridDataRows();
  std::filesystem::remove(f2);
  Choose(1, Chart("f1b.txt", Offsets(std::vector<double>(5, 3))));
  EXPECT_EQ(Cap(Ctl::Lb_NoP, 2), "0 ﾊﾟｯﾁ");
  EXPECT_EQ(Cap(Ctl::Lb_File, 2), f2);  // the path stays for a later retry
  EXPECT_EQ(window_.GridDataRows(), gridBefore);
  EXPECT_EQ(data().MaxDeAb[0], 0.0f);
}

TEST_F(LoadDriverTest, UnreadableFileKeepsTheViews) {
  Choose(0, Chart("ref.txt", Flat(5)));
  Choose(1, Chart("f1.txt", Offsets(std::vector<double>(5, 1))));
  const std::string average = Cap(Ctl::Lb_De, 0);
  const auto grid = window_.GridDataRows();
  Choose(1, dir_.File("missing.txt"));
  EXPECT_EQ(Cap(Ctl::Lb_NoP, 1), "0 ﾊﾟｯﾁ");
  EXPECT_EQ(Cap(Ctl::Lb_De, 0), average);
  EXPECT_EQ(window_.GridDataRows(), grid);
  EXPECT_TRUE(platform_.messages.empty());
}

TEST_F(LoadDriverTest, StoredAreaIsRecomputedAfterALoadAndAZeroPointHidesIt) {
  Choose(0, Chart("ref.txt", Flat(24), 4));
  // A drag over the whole first column of the 4 x 6 layout (cells 77 px).
  state().SelX[0][0] = 10;
  state().SelY[0][0] = 100;
  state().SelX[0][1] = 10;
  state().SelY[0][1] = 350;
  window_.SetAreaBoxVisible(0, true);
  Choose(1, Chart("f1.txt", Offsets(std::vector<double>(24, 1))));
  EXPECT_EQ(Cap(Ctl::Lb_DeBox, 0),
            "P1-P4:P1-P4  ⊿E=1.00 Max=1.00  ⊿E00=" + FormatTwoDec(data().De00[0][0]) +
                " Max=" + FormatTwoDec(data().De00[0][0]));
  EXPECT_TRUE(window_.AreaBoxVisible(0));

  state().SelX[0][1] = 0;
  Choose(1, Chart("f1.txt", Offsets(std::vector<double>(24, 1))));
  EXPECT_FALSE(window_.AreaBoxVisible(0));
}

TEST_F(LoadDriverTest, LoadClearsThePatchInformationOfItsCharts) {
  for (int c = 0; c < 2; ++c) {
    window_.SetCaption(Ctl::Lb_PDe, c, "x");
    window_.SetCaption(Ctl::Lb_FDe, c, "x");
    window_.SetCaption(Ctl::Lb_DeBox, c, "x");
  }
  Choose(2, Chart("f2.txt", Flat(3)));
  EXPECT_EQ(Cap(Ctl::Lb_PDe, 0), "x");
  EXPECT_EQ(Cap(Ctl::Lb_PDe, 1), "");
  EXPECT_EQ(Cap(Ctl::Lb_FDe, 1), "");
  EXPECT_EQ(Cap(Ctl::Lb_DeBox, 1), kAreaHint);
  EXPECT_EQ(Cap(Ctl::Lb_DeBox, 0), "x");
}

TEST_F(LoadDriverTest, OverLimitFileShowsTheMessageOnceAndGoesOn) {
  Choose(0, Chart("big.txt", Flat(3001)));
  ASSERT_EQ(platform_.messages.size(), 1u);
  EXPECT_EQ(platform_.messages[0], kTooManyPatchesMessage);
  EXPECT_EQ(Cap(Ctl::Lb_NoP, 0), "3000 ﾊﾟｯﾁ");
}

}  // namespace
}  // namespace korimo::testing
