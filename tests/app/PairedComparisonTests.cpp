#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <numeric>

#include "app/ChartMouse.h"
#include "app/PairedComparison.h"
#include "app/ResultsGrid.h"
#include "app/ThresholdPanel.h"
#include "support/EngineDriver.h"

namespace korimo {
namespace {

using testing::EngineTest;
using testing::Patch;

// Everything the window shows, as one text: labels, captions, grid and the
// pictures' pixels.
std::string Shown(const EngineState& state) {
  const WindowRecord& r = state.record;
  std::string text = r.ChkBest + r.ChkWorst + GridText(r);
  for (const auto* labels :
       {&r.Lb_BestDe, &r.Lb_Best2K, &r.Lb_WorsDe, &r.Lb_Wors2K, &r.Lb_GX, &r.Lb_GY, &r.Lb_PDe,
        &r.Lb_FDe, &r.Lb_DeBox, &r.Lb_UPar, &r.Lb_OPar, &r.Lb_Pairing, &r.Lb_PairingTip})
    text += (*labels)[0] + "|" + (*labels)[1] + "|";
  for (const std::string& label : r.Lb_De)
    text += label + "|";
  for (const std::string& label : r.Lb_De2K)
    text += label + "|";
  const auto bytes = [&text](const void* data, std::size_t size) {
    text.append(static_cast<const char*>(data), size);
  };
  for (const Raster* picture :
       {&state.pictures.PictPat[0], &state.pictures.PictPat[1], &state.pictures.PictG[0],
        &state.pictures.PictG[1], &state.pictures.PictD})
    bytes(picture->Pixels().data(), picture->Pixels().size() * sizeof(std::uint32_t));
  return text;
}

// Equal, or where the first difference lies (the texts hold pixels).
::testing::AssertionResult Identical(const std::string& a, const std::string& b) {
  const auto at = std::mismatch(a.begin(), a.end(), b.begin(), b.end());
  if (at.first == a.end() && at.second == b.end())
    return ::testing::AssertionSuccess();
  const std::size_t from = static_cast<std::size_t>(at.first - a.begin());
  return ::testing::AssertionFailure()
         << "differ at " << from << " of " << a.size() << "/" << b.size() << ": \""
         << a.substr(from, 80) << "\" vs \"" << b.substr(from, 80) << "\"";
}

// Patches P1 ... Pn with colours that differ in every component.
std::vector<Patch> Varied(int n, double shift) {
  std::vector<Patch> patches;
  for (int i = 1; i <= n; ++i)
    patches.push_back({"P" + std::to_string(i), 20 + 3 * i + shift, (i % 7) * 4.5 - 12 + shift,
                       (i % 5) * 6.0 - 9 - shift});
  return patches;
}

// A CMYK recipe per patch, telling the patches apart.
std::array<float, 4> RecipeOf(const std::string& id) {
  return {static_cast<float>(std::stoi(id.substr(1))), 0, 0, 40};
}

void GiveRecipes(EngineState& state, DataSet set, const std::vector<Patch>& patches) {
  DeviceValues& device = state.sets[Index(set)].device;
  device.space = DeviceSpace::Cmyk;
  device.values.clear();
  for (const Patch& p : patches)
    device.values.push_back(RecipeOf(p.id));
}

class PairedComparisonTest : public EngineTest {};

// A second engine beside the test's own.
struct Engine : EngineTest {
  void TestBody() override {}
  using EngineTest::Chart;
  using EngineTest::Choose;
  using EngineTest::state_;
};

TEST_F(PairedComparisonTest, OneChartInTwoOrdersGivesThePositionFiguresById_AndByDevice) {
  const std::vector<Patch> reference = Varied(24, 0);
  const std::vector<Patch> sample = Varied(24, 0.7);
  const std::vector<Patch> sample2 = Varied(24, -1.3);
  Choose(DataSet::Reference, Chart("ref.txt", reference));
  Choose(DataSet::File1, Chart("f1.txt", sample));
  Choose(DataSet::File2, Chart("f2.txt", sample2));
  const std::string inOrder = Shown(state_);

  for (PairingMode mode : {PairingMode::Id, PairingMode::Device}) {
    SCOPED_TRACE(std::string(PairingModeKey(mode)));
    Engine shuffled;
    std::vector<Patch> s1 = sample, s2 = sample2;
    std::rotate(s1.begin(), s1.begin() + 5, s1.end());
    std::reverse(s2.begin(), s2.end());
    shuffled.Choose(DataSet::Reference, shuffled.Chart("ref.txt", reference));
    shuffled.Choose(DataSet::File1, shuffled.Chart("f1.txt", s1));
    shuffled.Choose(DataSet::File2, shuffled.Chart("f2.txt", s2));
    GiveRecipes(shuffled.state_, DataSet::Reference, reference);
    GiveRecipes(shuffled.state_, DataSet::File1, s1);
    GiveRecipes(shuffled.state_, DataSet::File2, s2);
    ASSERT_NE(Shown(shuffled.state_), inOrder);
    ChangePairingMode(shuffled.state_, mode);
    EXPECT_EQ(shuffled.state_.Map(Pair::ReferenceFile1).paired, 24);
    EXPECT_TRUE(Identical(Shown(shuffled.state_), inOrder));
  }
}

// Reference P1 ... P40 at L* 50; File1 holds X1 and Pj at L* 50 + j / 4
// for j up to 20 but 3 and 7: paired differences 0.25 j, exact in binary.
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
    Choose(DataSet::Reference, Chart("ref.txt", testing::Flat(40)));
    Choose(DataSet::File1, Chart("f1.txt", sample));
    ChangePairingMode(state_, PairingMode::Id);
  }
  // Sum of 0.25 j over j = 1 ... 20 without 3 and 7: 0.25 × 200 = 50.
  static constexpr int kPaired = 18;
};

TEST_F(MissingPatchesTest, StatisticsCoverThePairedPatchesOnly) {
  const PairMap& map = state_.Map(Pair::ReferenceFile1);
  EXPECT_EQ(map.paired, kPaired);
  EXPECT_EQ(map.referenceOnly, 22);
  EXPECT_EQ(map.sampleOnly, 1);
  EXPECT_EQ(record().Lb_Pairing[0], "基準–File1: ID対応 18/40（基準のみ 22・File1のみ 1）");
  EXPECT_NE(record().Lb_PairingTip[0].find("\nX1"), std::string::npos);
  // 50 / 18 = 2.777...; k10 = floor(1.8 + 0.5) - 1 = 1: 0.5; k95 = floor(17.1 + 0.5) = 17: 5.0
  // (positions on the Reference's 40 would give k10 = 3: 1.25).
  EXPECT_EQ(record().Lb_De[0], "   2.78");
  EXPECT_EQ(record().Lb_De[1], "   5.00");
  EXPECT_EQ(record().Lb_BestDe[0], "   0.50");
  EXPECT_EQ(record().Lb_WorsDe[0], "   5.00");
  // Scale 5: Under 0.5 holds 0.25 and 0.5; Over 3.75 holds j = 15 ... 20.
  EXPECT_EQ(record().Lb_UPar[0], "11%");
  EXPECT_EQ(record().Lb_OPar[0], "33%");
  const HistCounts& bins = state_.HistCount[0];
  EXPECT_EQ(std::accumulate(bins.begin(), bins.end(), 0), kPaired);
}

TEST_F(MissingPatchesTest, UnpairedReferencePatchesShowNothingToCompare) {
  const GridRow& p3 = record().FlexG.cells[2];
  for (int c = 5; c <= 9; ++c)
    EXPECT_EQ(p3[static_cast<std::size_t>(c)], "") << c;
  EXPECT_EQ(record().FlexG.cells[3][5], "51.00");
  EXPECT_TRUE(PatchInfoText(state_, Pair::ReferenceFile1, 6).ends_with("対象 P7  対応なし"));
}

TEST_F(EngineTest, SwitchingModesBackAndForthReturnsThePositionFiguresByteForByte) {
  // Counts that differ and a reload: the figures depend on the read order.
  Choose(DataSet::Reference, Chart("ref.txt", Varied(20, 0)));
  Choose(DataSet::File1, Chart("f1.txt", Varied(18, 0.4)));
  Choose(DataSet::File2, Chart("f2.txt", Varied(23, -0.9)));
  Choose(DataSet::File1, Chart("f1.txt", Varied(17, 0.4)));
  ShowPatchInfo(state_, Pair::ReferenceFile1, 5, 5);
  const std::string position = Shown(state_);
  for (PairingMode mode : {PairingMode::Id, PairingMode::Device, PairingMode::Id}) {
    ChangePairingMode(state_, mode);
    ASSERT_NE(Shown(state_), position);
  }
  ChangePairingMode(state_, PairingMode::Position);
  EXPECT_TRUE(Identical(Shown(state_), position));
  ChangePairingMode(state_, PairingMode::Device);
  ChangePairingMode(state_, PairingMode::Position);
  EXPECT_TRUE(Identical(Shown(state_), position));
}

}  // namespace
}  // namespace korimo
