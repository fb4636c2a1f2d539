#include "color/DifferenceComponents.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>

namespace korimo {
namespace {

struct KnownAnswer {
  const char* what;
  double L1, a1, b1, L2, a2, b2;
  double dL, dC, dH, dCh;
};

// Each expected value from plane geometry: C* is the radius in the a*b*
// plane, ΔCh the chord between the two points, ΔH*ab what of the chord the
// change of radius does not explain.
const KnownAnswer kAnswers[] = {
    {"pure lightness up", 50, 10, 0, 53, 10, 0, 3, 0, 0, 0},
    {"pure lightness down, sample darker", 50, 3, 4, 41.5, 3, 4, -8.5, 0, 0, 0},
    {"pure chroma: 3-4-5 to 6-8-10", 50, 3, 4, 50, 6, 8, 0, 5, 0, 5},
    {"pure chroma loss", 50, 30, 40, 50, 15, 20, 0, -25, 0, 25},
    {"hue turned 90 degrees at radius 5", 60, 5, 0, 60, 0, 5, 0, 0, std::sqrt(50.0),
     std::sqrt(50.0)},
    {"hue turned 180 degrees", 50, 3, 4, 50, -3, -4, 0, 0, 10, 10},
    {"same radius 50, (50,0) to (48,14)", 50, 50, 0, 50, 48, 14, 0, 0, std::sqrt(200.0),
     std::sqrt(200.0)},
    {"neutral axis only", 50, 0, 0, 40, 0, 0, -10, 0, 0, 0},
    {"neutral to chromatic is all chroma", 50, 0, 0, 50, 3, 4, 0, 5, 0, 5},
    {"lightness and chroma together", 50, 3, 4, 52, 6, 8, 2, 5, 0, 5},
};

// Sample minus Reference: swapping the colours turns the signed parts over
// and keeps the distances.
TEST(DifferenceComponents, KnownAnswersFromGeometryAndTheirSwaps) {
  for (const KnownAnswer& k : kAnswers) {
    SCOPED_TRACE(k.what);
    const DifferenceComponents c = Components(k.L1, k.a1, k.b1, k.L2, k.a2, k.b2);
    const DifferenceComponents back = Components(k.L2, k.a2, k.b2, k.L1, k.a1, k.b1);
    EXPECT_NEAR(c.dL, k.dL, 1e-12);
    EXPECT_NEAR(c.dC, k.dC, 1e-12);
    EXPECT_NEAR(c.dH, k.dH, 1e-6);
    EXPECT_NEAR(c.dCh, k.dCh, 1e-12);
    EXPECT_EQ((std::array{-back.dL, -back.dC, back.dH, back.dCh}),
              (std::array{c.dL, c.dC, c.dH, c.dCh}));
  }
}

// Colours on one hue line leave a difference of squares that rounding can
// push just below zero; the hue difference is then 0, never NaN.
TEST(DifferenceComponents, SameHueNeverGivesNaN) {
  for (double scale : {1.1, 1.7, 2.3, 3.9, 7.3}) {
    const DifferenceComponents c = Components(50, 33.3, 77.7, 50, 33.3 * scale, 77.7 * scale);
    EXPECT_FALSE(std::isnan(c.dH)) << scale;
    EXPECT_LT(c.dH, 1e-5) << scale;
  }
}

}  // namespace
}  // namespace korimo
