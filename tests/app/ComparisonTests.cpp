#include "app/Comparison.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>

#include "app/ChartMouse.h"
#include "app/Histogram.h"
#include "app/Labels.h"
#include "app/LoadDriver.h"
#include "support/EngineDriver.h"
#include "support/WindowDifferences.h"

namespace korimo::testing {
namespace {

// What a read of a file of these patches yields: the identifiers under
// SAMPLE_NAME, unless `named` is false, and device values in `space`, the
// patch's number telling the recipes apart.
MeasurementPtr Read(const std::vector<Patch>& patches, DeviceSpace space = DeviceSpace::None,
                    bool named = true) {
  auto m = std::make_shared<Measurement>();
  m->device.space = space;
  m->sampleName.present = named;
  for (const Patch& p : patches) {
    m->lab.push_back({static_cast<float>(p.L), static_cast<float>(p.a), static_cast<float>(p.b)});
    if (named)
      m->sampleName.values.push_back(p.id);
    if (space != DeviceSpace::None)
      m->device.values.push_back({std::stof("0" + p.id.substr(1)), 0, 0, 40});
  }
  m->ids = m->sampleName;
  return m;
}

TEST(PairingModes, OneChartInTwoOrdersGivesThePositionFiguresById_AndByDevice) {
  const std::vector<Patch> reference = Varied(24, 0), sample = Varied(24, 0.7),
                           sample2 = Varied(24, -1.3);
  const DeviceSpace cmyk = DeviceSpace::Cmyk;
  Engine inOrder;
  inOrder.Load({Read(reference, cmyk), Read(sample, cmyk), Read(sample2, cmyk)});
  for (PairingMode mode : {PairingMode::Id, PairingMode::Device}) {
    SCOPED_TRACE(std::string(PairingModeKey(mode)));
    std::vector<Patch> s1 = sample, s2 = sample2;
    std::rotate(s1.begin(), s1.begin() + 5, s1.end());
    std::reverse(s2.begin(), s2.end());
    Engine shuffled;
    shuffled.Load({Read(reference, cmyk), Read(s1, cmyk), Read(s2, cmyk)});
    ASSERT_NE(ShownDifferences(shuffled.state_, inOrder.state_), Strings{});
    shuffled.Do(ChangePairingMode, mode);
    EXPECT_EQ(shuffled.comparison().PairOf(Pair::ReferenceFile1).map.paired, 24);
    EXPECT_EQ(ShownDifferences(shuffled.state_, inOrder.state_), Strings{});
  }
}

// Reference P1 ... P40 at L* 50; File1 holds X1 and Pj at L* 50 + j / 4
// for j up to 20 but 3 and 7: 18 paired differences 0.25 j, exact in
// binary, whose sum is 0.25 x 200 = 50.
class MissingPatchesTest : public EngineTest {
 protected:
  void SetUp() override {
    std::vector<Patch> sample;
    for (int j = 20; j >= 1; --j) {
      if (j != 3 && j != 7)
        sample.push_back({"P" + std::to_string(j), 50 + 0.25 * j, 0, 0});
      if (j == 10)
        sample.push_back({"X1", 10, 0, 0});
    }
    Choose(DataSet::Reference, Chart("ref.txt", Flat(40)));
    Choose(DataSet::File1, Chart("f1.txt", sample));
    Do(ChangePairingMode, PairingMode::Id);
  }
};

TEST_F(MissingPatchesTest, StatisticsCoverThePairedPatchesOnly) {
  const PairMap& map = comparison().PairOf(Pair::ReferenceFile1).map;
  EXPECT_EQ((std::array{map.paired, map.referenceOnly, map.sampleOnly}), (std::array{18, 22, 1}));
  const WindowRecord& r = record();
  EXPECT_EQ(r.Lb_Pairing[0], "基準–File1: ID対応 18/40（基準のみ 22・File1のみ 1）");
  EXPECT_NE(r.Lb_PairingTip[0].find("\nX1"), std::string::npos);
  // 50 / 18 = 2.777...; k10 = floor(1.8 + 0.5) - 1 = 1: 0.5; k95 = floor(17.1 + 0.5) = 17: 5.0
  // (positions on the Reference's 40 would give k10 = 3: 1.25). Scale 5:
  // Under 0.5 holds 0.25 and 0.5; Over 3.75 holds j = 15 ... 20.
  EXPECT_EQ(
      (Strings{r.Lb_De[0], r.Lb_De[1], r.Lb_BestDe[0], r.Lb_WorsDe[0], r.Lb_UPar[0], r.Lb_OPar[0]}),
      (Strings{"   2.78", "   5.00", "   0.50", "   5.00", "11%", "33%"}));
  const HistCounts bins = HistogramOf(comparison(), Pair::ReferenceFile1).counts;
  EXPECT_EQ(std::accumulate(bins.begin(), bins.end(), 0), 18);
}

TEST_F(MissingPatchesTest, UnpairedReferencePatchesShowNothingToCompare) {
  const GridRow& p3 = record().FlexG.cells[2];
  for (std::size_t c = 5; c <= 9; ++c)
    EXPECT_EQ(p3[c], "") << c;
  EXPECT_EQ(record().FlexG.cells[3][5], "51.00");
  EXPECT_TRUE(PatchInfoText(comparison(), Pair::ReferenceFile1, 6).ends_with("対象 P7  対応なし"));
}

// Back in position mode the last read's comparison is made again: the
// grid and the frames show what the loads left, but the histogram and the
// percentages that File1's read drew before File2's re-read compared more
// patches are drawn anew; and whatever the detour, every view is the same.
TEST_F(EngineTest, SwitchingModesBackAndForthComparesTheLastReadAgain) {
  // Counts that differ and a reload: the figures depend on the read order.
  Choose(DataSet::Reference, Chart("ref.txt", Varied(20, 0)));
  Choose(DataSet::File1, Chart("f1.txt", Varied(18, 0.4)));
  Choose(DataSet::File2, Chart("f2.txt", Varied(23, -0.9)));
  Choose(DataSet::File1, Chart("f1.txt", Varied(17, 0.4)));
  const EngineState loaded = state_;
  for (const std::vector<PairingMode>& detour : {std::vector{PairingMode::Id},
                                                 {PairingMode::Device},
                                                 {PairingMode::Id, PairingMode::Device}}) {
    for (PairingMode mode : detour) {
      Do(ChangePairingMode, mode);
      ASSERT_NE(ShownDifferences(state_, loaded), Strings{});
    }
    Do(ChangePairingMode, PairingMode::Position);
    EXPECT_EQ(ShownDifferences(state_, loaded),
              (Strings{"record.Lb_GX", "record.Lb_UPar", "record.Lb_OPar",
                       "pictures.PictPat[0].Pixels()", "pictures.PictG[0].Pixels()"}));
  }
}

// The figures of both pairs in full and as stored, the thresholds and the
// histograms' counts.
auto Figures(const EngineState& state) {
  const Comparison& c = state.Current();
  std::vector<double> full;
  for (Pair p : kAllPairs) {
    const PairFigures f = FiguresOf(c, p);
    full.insert(full.end(), {f.avgDeAb, f.maxDeAb, f.avgDe00, f.maxDe00});
  }
  return std::tuple(full, StoredFigures(c), DrawnHistograms(state.shown));
}

// A pair whose chosen mode cannot apply is compared by position: whatever
// the files, it shows what position mode shows; only the strip says why.
TEST(PairingModes, AFallbackShowsExactlyWhatPositionModeShows) {
  std::mt19937 random(1217);
  for (int round = 0; round < 60; ++round) {
    const int kind = round % 5;
    SCOPED_TRACE("round " + std::to_string(round));
    const PairingMode mode = kind < 3 ? PairingMode::Id : PairingMode::Device;
    std::vector<std::vector<Patch>> files;
    for (int f = 0; f < 3; ++f) {
      files.push_back(Varied(3 + static_cast<int>(random() % 40), 0.3 * f));
      for (Patch& p : files.back())
        p.L += static_cast<double>(random() % 100) / 40;
    }
    if (kind == 0)  // an identifier twice in the Reference, or in both sample files
      (random() % 2 == 0 ? files[0] : files[1])[0].id = files[2][0].id = "P2";
    if (kind == 2)  // no identifier in common
      for (Patch& p : files[0])
        p.id = "R" + p.id;
    const auto read = [&](int f) {
      const DeviceSpace space = kind == 4 && f > 0   ? DeviceSpace::Rgb
                                : kind == 3 && f > 0 ? DeviceSpace::None
                                                     : DeviceSpace::Cmyk;
      return Read(files[static_cast<std::size_t>(f)], space, kind != 1 || f == 0);
    };
    const bool again = random() % 2 == 0;
    Engine position, fallback;
    fallback.Do(ChangePairingMode, mode);
    for (Engine* engine : {&position, &fallback}) {
      engine->Load(DataSet::Reference, "ref", read(0));
      engine->Load(DataSet::File1, "f1", read(1));
      if (again)
        engine->Load(DataSet::File1, "f1b", read(2));
      engine->Do(PictPat_MouseMove, Pair::ReferenceFile1, 120.0f, 200.0f);
    }
    ASSERT_FALSE(fallback.comparison().PairOf(Pair::ReferenceFile1).map.fallbackReason.empty());
    EXPECT_EQ(Figures(fallback.state_), Figures(position.state_));
    EXPECT_EQ(ShownDifferences(fallback.state_, position.state_),
              (Strings{"record.Lb_Pairing", "record.Lb_PairingTip"}));
  }
}

}  // namespace
}  // namespace korimo::testing
