#include "color/ColorConvert.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <limits>
#include <tuple>

namespace korimo {
namespace {

using Rgb = std::array<int, 3>;

Rgb Parts(double L, double a, double b, double gamma = 0) {
  std::int16_t r = -1, g = -1, bl = -1;
  LabToRgbParts(r, g, bl, L, a, b, gamma);
  return {r, g, bl};
}

// Black is dark grey (no linear segment); L* = 100 is linear 1.0003, 0.99995, 1.0012; parts
// above 255 are limited only when packed and saturate at 16 bits; below L* = -16 all is negative.
TEST(LabToRgb, WorkedValuesGammaOneTiesToEvenAndNonFiniteInputs) {
  const std::tuple<double, double, double, Rgb, std::uint32_t> cases[] = {
      {0, 0, 0, {17, 17, 17}, 0x111111},           {16, 0, 0, {44, 44, 44}, 0x2C2C2C},
      {50, 0, 0, {118, 118, 118}, 0x767676},       {100, 0, 0, {255, 255, 255}, 0xFFFFFF},
      {50, 80, 0, {238, 0, 121}, 0x7900EE},        {50, 0, -80, {0, 126, 257}, 0xFF7E00},
      {70, 100, 0, {336, 0, 174}, 0xAE00FF},       {-50, 0, 0, {0, 0, 0}, 0},
      {1e6, 0, 0, {32767, 32767, 32767}, 0xFFFFFF}};
  for (const auto& [L, a, b, parts, packed] : cases) {
    EXPECT_EQ(Parts(L, a, b), parts) << L << ", " << a << ", " << b;
    EXPECT_EQ(LabToRgb(L, a, b), packed) << L << ", " << a << ", " << b;
  }
  EXPECT_EQ(Parts(-50, 0, 0, 1.0), (Rgb{0, 0, 0}));  // gamma 1 takes no root of a negative
  // Inputs found so that the scaled red is exactly k + 0.5; gamma 1 keeps the
  // tie independent of the accuracy of pow.
  EXPECT_EQ(Parts(0x1.166691388130cp+6, 0, 0, 1.0)[0], 102);  // 102.5
  EXPECT_EQ(Parts(0x1.1782b3649cf21p+6, 0, 0, 1.0)[0], 104);  // 103.5
  EXPECT_EQ(Parts(0x1.90f93ed32a2cfp+5, 0, 0)[0], 118);       // 118.5 at gamma 2.2
  EXPECT_EQ(Parts(std::numeric_limits<double>::quiet_NaN(), 0, 0), (Rgb{0, 0, 0}));
  EXPECT_EQ(Parts(50, std::numeric_limits<double>::infinity(), 0)[1], 0);
}

}  // namespace
}  // namespace korimo
