#include "color/ColorConvert.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

namespace korimo {
namespace {

struct Rgb {
  int r, g, b;
  bool operator==(const Rgb&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Rgb& c) {
  return os << '(' << c.r << ", " << c.g << ", " << c.b << ')';
}

Rgb Parts(double L, double a, double b, double gamma = 0) {
  std::int16_t r = -1;
  std::int16_t g = -1;
  std::int16_t bl = -1;
  LabToRgbParts(r, g, bl, L, a, b, gamma);
  return {r, g, bl};
}

TEST(LabToRgbTest, MatchesWorkedValues) {
  struct Case {
    double L, a, b;
    Rgb parts;
    std::uint32_t packed;
  };
  const Case cases[] = {
      {0, 0, 0, {17, 17, 17}, 0x111111},  // no linear segment: black is dark grey
      {16, 0, 0, {44, 44, 44}, 0x2C2C2C},     {50, 0, 0, {118, 118, 118}, 0x767676},
      {100, 0, 0, {255, 255, 255}, 0xFFFFFF},  // linear 1.0003, 0.99995, 1.0012
      {50, 80, 0, {238, 0, 121}, 0x7900EE},   {50, 0, -80, {0, 126, 257}, 0xFF7E00},
      {60, -60, 60, {0, 169, 21}, 0x15A900},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Parts(c.L, c.a, c.b), c.parts) << c.L << ", " << c.a << ", " << c.b;
    EXPECT_EQ(LabToRgb(c.L, c.a, c.b), c.packed) << c.L << ", " << c.a << ", " << c.b;
  }
}

TEST(LabToRgbTest, ComponentsAbove255AreLimitedOnlyWhenPacked) {
  EXPECT_EQ(Parts(70, 100, 0), (Rgb{336, 0, 174}));
  EXPECT_EQ(LabToRgb(70, 100, 0), 0xAE00FFu);
  EXPECT_EQ(Parts(50, 0, -120), (Rgb{0, 133, 333}));
  EXPECT_EQ(LabToRgb(50, 0, -120), 0xFF8500u);
}

TEST(LabToRgbTest, NegativeLinearComponentsGiveZero) {
  // Below L* = -16 every cube is negative. Gamma 1 keeps the negative value
  // itself, rather than a NaN from its root, up to the conversion.
  EXPECT_EQ(Parts(-50, 0, 0), (Rgb{0, 0, 0}));
  EXPECT_EQ(Parts(-50, 0, 0, 1.0), (Rgb{0, 0, 0}));
  EXPECT_EQ(Parts(50, 80, 0, 1.0).g, 0);
  EXPECT_EQ(LabToRgb(-50, 0, 0), 0u);
}

TEST(LabToRgbTest, RoundingTiesGoToEven) {
  // Inputs found so that the scaled red is exactly k + 0.5. Gamma 1 keeps the
  // tie independent of the accuracy of pow.
  EXPECT_EQ(Parts(0x1.166691388130cp+6, 0, 0, 1.0).r, 102);  // 102.5
  EXPECT_EQ(Parts(0x1.1782b3649cf21p+6, 0, 0, 1.0).r, 104);  // 103.5
  EXPECT_EQ(Parts(0x1.90f93ed32a2cfp+5, 0, 0).r, 118);       // 118.5 at gamma 2.2
}

TEST(LabToRgbTest, OutOfRangeInputsSaturateInsteadOfWrapping) {
  EXPECT_EQ(Parts(1e6, 0, 0), (Rgb{32767, 32767, 32767}));
  EXPECT_EQ(LabToRgb(1e6, 0, 0), 0xFFFFFFu);
  const double nan = std::numeric_limits<double>::quiet_NaN();
  EXPECT_EQ(Parts(nan, 0, 0), (Rgb{0, 0, 0}));
  EXPECT_EQ(Parts(50, std::numeric_limits<double>::infinity(), 0).g, 0);
}

}  // namespace
}  // namespace korimo
