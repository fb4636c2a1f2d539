#include "color/Colorimetry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace korimo::testing {
namespace {

// Bands from `first` to `last` nm in steps of `step`.
std::vector<int> Grid(int first, int last, int step) {
  std::vector<int> nm;
  for (int w = first; w <= last; w += step)
    nm.push_back(w);
  return nm;
}

// Published pairs: the whites themselves, sRGB red under D65/2° (IEC
// 61966-2-1 primaries, Lab from the CIE formula), L* = 50 at Y = 18.4186,
// and a dark grey on the linear segment (L* = κ·Y/Yn with κ = 24389/27).
TEST(XyzToLab, GivesPublishedValues) {
  const Xyz d50 = ReferenceWhite(StdIlluminant::D50, StdObserver::Deg2);
  const Xyz d65 = ReferenceWhite(StdIlluminant::D65, StdObserver::Deg2);
  const struct {
    Xyz colour, white;
    double L, a, b, tolerance;
  } cases[] = {
      {{96.42, 100, 82.49}, d50, 100, 0, 0, 1e-12},
      {{41.2456, 21.2673, 1.9334}, d65, 53.2408, 80.0925, 67.2032, 5e-4},
      {{d50.X * 0.1841865, 18.41865, d50.Z * 0.1841865}, d50, 50, 0, 0, 1e-4},
      {{d50.X * 0.005, 0.5, d50.Z * 0.005}, d50, 24389.0 / 27.0 * 0.005, 0, 0, 1e-9},
  };
  for (const auto& c : cases) {
    const CieLab lab = XyzToLab(c.colour, c.white);
    EXPECT_NEAR(lab.L, c.L, c.tolerance) << c.colour.Y;
    EXPECT_NEAR(lab.a, c.a, c.tolerance) << c.colour.Y;
    EXPECT_NEAR(lab.b, c.b, c.tolerance) << c.colour.Y;
  }
}

// The column sums the tables' provenance note publishes.
TEST(WeightingTables, SumToThePublishedWhites) {
  const struct {
    StdIlluminant illuminant;
    StdObserver observer;
    Xyz white;
  } whites[] = {
      {StdIlluminant::D50, StdObserver::Deg2, {96.4215, 100, 82.5211}},
      {StdIlluminant::D50, StdObserver::Deg10, {96.7193, 100, 81.4274}},
      {StdIlluminant::D65, StdObserver::Deg2, {95.0465, 100, 108.8971}},
      {StdIlluminant::D65, StdObserver::Deg10, {94.8115, 100, 107.3249}},
  };
  int tables = 0;
  for (const WeightingTable& table : WeightingTables()) {
    for (const auto& w : whites) {
      if (w.illuminant != table.illuminant || w.observer != table.observer)
        continue;
      const Xyz sum = TableWhite(table);
      EXPECT_NEAR(sum.X, w.white.X, 2e-4) << table.stepNm;
      EXPECT_NEAR(sum.Y, w.white.Y, 2e-4) << table.stepNm;
      EXPECT_NEAR(sum.Z, w.white.Z, 2e-4) << table.stepNm;
      EXPECT_EQ(table.firstNm, 360);
      EXPECT_EQ(table.LastNm(), 780);
      ++tables;
    }
  }
  EXPECT_EQ(tables, 8);
}

// A perfect reflector gives the table's white (L* = 100) and a flat 50 %
// grey L* = 116·0.5^(1/3) − 16 on every grid and range; 400 nm alone
// carries the weights of 360–390 nm (ASTM E308), whose D50/2° Wx sum is
// 0.000129 + 0.001078 + 0.002662 + 0.012023 + 0.060165 in the table.
TEST(SpectralWeights, FoldOntoTheMeasuredRange) {
  const struct {
    std::vector<int> nm;
    int step;
  } grids[] = {
      {Grid(380, 730, 10), 10}, {Grid(400, 700, 10), 10}, {Grid(360, 780, 5), 10},
      {Grid(380, 720, 20), 20}, {Grid(400, 700, 1), 10},
  };
  for (const auto& g : grids) {
    const SpectralWeights plan = PlanSpectralWeights(g.nm, StdIlluminant::D50, StdObserver::Deg2);
    ASSERT_EQ(plan.fault, SpectralFault::None) << g.nm.front() << " " << g.nm.size();
    EXPECT_EQ(plan.stepNm, g.step);
    for (const float level : {1.0F, 0.5F}) {
      const std::vector<float> flat(g.nm.size(), level);
      Xyz xyz;
      WeighSpectra(plan, flat, g.nm.size(), 1.0, std::span(&xyz, 1));
      const CieLab lab = XyzToLab(xyz, plan.white);
      EXPECT_NEAR(lab.L, 116.0 * std::cbrt(static_cast<double>(level)) - 16.0, 1e-9)
          << g.nm.front();
      EXPECT_NEAR(lab.a, 0, 1e-9);
      EXPECT_NEAR(lab.b, 0, 1e-9);
    }
  }
  const std::vector<int> nm = Grid(400, 700, 10);
  const SpectralWeights plan = PlanSpectralWeights(nm, StdIlluminant::D50, StdObserver::Deg2);
  std::vector<float> spike(nm.size(), 0.0F);
  spike[0] = 100.0F;
  Xyz xyz;
  WeighSpectra(plan, spike, nm.size(), 0.01, std::span(&xyz, 1));
  EXPECT_NEAR(xyz.X, 0.000129 + 0.001078 + 0.002662 + 0.012023 + 0.060165, 1e-9);
}

}  // namespace
}  // namespace korimo::testing
