#include <gtest/gtest.h>

#include <cmath>

#include "color/DifferenceParts.h"

namespace korimo {
namespace {

struct PartsCase {
  const char* name;
  double L1, a1, b1, L2, a2, b2;
  double dL, dC, dH, dCh;
};

// Expected parts by hand: a lightness step, a chroma step along one hue
// (3-4-5 triangles), a quarter turn of hue at C* 10 (chord 10·√2), the
// neutral axis, and a step of both signs.
TEST(DifferencePartsTest, SplitsKnownDifferences) {
  const double root200 = std::sqrt(200.0);
  const PartsCase cases[] = {
      {"lightness only", 50, 0, 0, 53, 0, 0, 3, 0, 0, 0},
      {"chroma only", 50, 3, 4, 50, 6, 8, 0, 5, 0, 5},
      {"chroma down", 50, 6, 8, 50, 3, 4, 0, -5, 0, 5},
      {"hue only", 50, 10, 0, 50, 0, 10, 0, 0, root200, root200},
      {"neutral axis", 40, 0, 0, 40, 0, 0, 0, 0, 0, 0},
      {"darker and more chroma", 60, 0, 10, 58, 0, 13, -2, 3, 0, 3},
  };
  for (const PartsCase& c : cases) {
    const DifferenceParts parts = Cie76Parts(c.L1, c.a1, c.b1, c.L2, c.a2, c.b2);
    EXPECT_NEAR(parts.dL, c.dL, 1e-12) << c.name;
    EXPECT_NEAR(parts.dC, c.dC, 1e-12) << c.name;
    EXPECT_NEAR(parts.dH, c.dH, 1e-6) << c.name;
    EXPECT_NEAR(parts.dCh, c.dCh, 1e-12) << c.name;
  }
}

// ΔE*ab² = ΔL*² + ΔC*² + ΔH*² for any pair of colours.
TEST(DifferencePartsTest, PartsMakeUpTheWholeDifference) {
  const double L1 = 52.5, a1 = -12.25, b1 = 33.75, L2 = 48.0, a2 = 4.5, b2 = 21.0;
  const DifferenceParts p = Cie76Parts(L1, a1, b1, L2, a2, b2);
  const double dE2 = (L2 - L1) * (L2 - L1) + (a2 - a1) * (a2 - a1) + (b2 - b1) * (b2 - b1);
  EXPECT_NEAR(p.dL * p.dL + p.dC * p.dC + p.dH * p.dH, dE2, 1e-9);
  EXPECT_GT(p.dH, 0);
}

}  // namespace
}  // namespace korimo
