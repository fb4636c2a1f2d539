#include "color/ColorConvert.h"
#include "color/ColorDifference.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <limits>
#include <tuple>

namespace korimo {
namespace {

struct Pair {
  double L1, a1, b1, L2, a2, b2;
  Pair Swapped() const { return {L2, a2, b2, L1, a1, b1}; }
  double De00() const { return Ciede2000(L1, a1, b1, L2, a2, b2); }
  double DeAb() const { return Cie76(L1, a1, b1, L2, a2, b2); }
};
constexpr double kFourDecimals = 5e-5;

// Sharma, Wu and Dalal (2005), Table 1: the 34 CIEDE2000 test pairs.
const std::pair<Pair, double> kSharmaPairs[] = {
    {{50.0000, 2.6772, -79.7751, 50.0000, 0.0000, -82.7485}, 2.0425},
    {{50.0000, 3.1571, -77.2803, 50.0000, 0.0000, -82.7485}, 2.8615},
    {{50.0000, 2.8361, -74.0200, 50.0000, 0.0000, -82.7485}, 3.4412},
    {{50.0000, -1.3802, -84.2814, 50.0000, 0.0000, -82.7485}, 1.0000},
    {{50.0000, -1.1848, -84.8006, 50.0000, 0.0000, -82.7485}, 1.0000},
    {{50.0000, -0.9009, -85.5211, 50.0000, 0.0000, -82.7485}, 1.0000},
    {{50.0000, 0.0000, 0.0000, 50.0000, -1.0000, 2.0000}, 2.3669},
    {{50.0000, -1.0000, 2.0000, 50.0000, 0.0000, 0.0000}, 2.3669},
    {{50.0000, 2.4900, -0.0010, 50.0000, -2.4900, 0.0009}, 7.1792},
    {{50.0000, 2.4900, -0.0010, 50.0000, -2.4900, 0.0010}, 7.1792},
    {{50.0000, 2.4900, -0.0010, 50.0000, -2.4900, 0.0011}, 7.2195},
    {{50.0000, 2.4900, -0.0010, 50.0000, -2.4900, 0.0012}, 7.2195},
    {{50.0000, -0.0010, 2.4900, 50.0000, 0.0009, -2.4900}, 4.8045},
    {{50.0000, -0.0010, 2.4900, 50.0000, 0.0010, -2.4900}, 4.8045},
    {{50.0000, -0.0010, 2.4900, 50.0000, 0.0011, -2.4900}, 4.7461},
    {{50.0000, 2.5000, 0.0000, 50.0000, 0.0000, -2.5000}, 4.3065},
    {{50.0000, 2.5000, 0.0000, 73.0000, 25.0000, -18.0000}, 27.1492},
    {{50.0000, 2.5000, 0.0000, 61.0000, -5.0000, 29.0000}, 22.8977},
    {{50.0000, 2.5000, 0.0000, 56.0000, -27.0000, -3.0000}, 31.9030},
    {{50.0000, 2.5000, 0.0000, 58.0000, 24.0000, 15.0000}, 19.4535},
    {{50.0000, 2.5000, 0.0000, 50.0000, 3.1736, 0.5854}, 1.0000},
    {{50.0000, 2.5000, 0.0000, 50.0000, 3.2972, 0.0000}, 1.0000},
    {{50.0000, 2.5000, 0.0000, 50.0000, 1.8634, 0.5757}, 1.0000},
    {{50.0000, 2.5000, 0.0000, 50.0000, 3.2592, 0.3350}, 1.0000},
    {{60.2574, -34.0099, 36.2677, 60.4626, -34.1751, 39.4387}, 1.2644},
    {{63.0109, -31.0961, -5.8663, 62.8187, -29.7946, -4.0864}, 1.2630},
    {{61.2901, 3.7196, -5.3901, 61.4292, 2.2480, -4.9620}, 1.8731},
    {{35.0831, -44.1164, 3.7933, 35.0232, -40.0716, 1.5901}, 1.8645},
    {{22.7233, 20.0904, -46.6940, 23.0331, 14.9730, -42.5619}, 2.0373},
    {{36.4612, 47.8580, 18.3852, 36.2715, 50.5065, 21.2231}, 1.4146},
    {{90.8027, -2.0831, 1.4410, 91.1528, -1.6435, 0.0447}, 1.4441},
    {{90.9257, -0.5406, -0.9208, 88.6381, -0.8985, -0.7239}, 1.5381},
    {{6.7747, -0.2908, -2.4247, 5.8714, -0.0985, -2.2286}, 0.6377},
    {{2.0776, 0.0795, -1.1350, 0.9033, -0.0636, -0.5514}, 0.9082},
};

// Swapping the colours gives bit-identical results, identical colours exactly 0.
TEST(ColorDifference, PublishedPairsSymmetryAndIdentity) {
  for (const auto& [p, de00] : kSharmaPairs) {
    EXPECT_NEAR(p.De00(), de00, kFourDecimals) << p.L1 << " " << p.a1 << " " << p.b2;
    EXPECT_EQ(p.De00(), p.Swapped().De00());
    EXPECT_EQ(p.DeAb(), p.Swapped().DeAb());
    EXPECT_EQ((Pair{p.L1, p.a1, p.b1, p.L1, p.a1, p.b1}.De00()), 0.0);
    EXPECT_EQ((Pair{p.L2, p.a2, p.b2, p.L2, p.a2, p.b2}.De00()), 0.0);
  }
}

// h1' - h2' in degrees, from the same helpers and arithmetic as the formula.
// For hues exactly 180 apart its last bit decides the mean hue.
double HueDifference(const Pair& p) {
  const double Cbar =
      (std::sqrt(p.a1 * p.a1 + p.b1 * p.b1) + std::sqrt(p.a2 * p.a2 + p.b2 * p.b2)) / 2;
  const double Cbar7 = std::pow(10.0, 7 * Log10(Cbar));
  const double pow25_7 = std::pow(10.0, 7 * Log10(25.0));
  const double G = 0.5 * (1 - std::sqrt(std::pow(10.0, 7 * Log10(Cbar) - Log10(Cbar7 + pow25_7))));
  const double h1p = RadToDeg(ArcTan2((1 + G) * p.a1, p.b1));
  const double h2p = RadToDeg(ArcTan2((1 + G) * p.a2, p.b2));
  return (h1p < 0 ? h1p + 360 : h1p) - (h2p < 0 ? h2p + 360 : h2p);
}

// Results on either side of the mean-hue discontinuity, derived independently
// in high precision: |h1' - h2'| <= 180 takes mean hue S / 2, beyond it (S -+ 360) / 2.
TEST(ColorDifference, HuesExactly180ApartFollowTheComputedHueDifference) {
  const std::array<double, 8> cases[] = {
      {50, 2.49, -0.001, 50, -2.49, 0.001, 7.1792, 7.2195},
      {50, -0.001, 2.49, 50, 0.001, -2.49, 4.8045, 4.7461},
      {50, 100, -80, 50, -100, 80, 63.9379, 114.2350},
      {50, 22, -2, 50, -11, 1, 30.6327, 36.6118}  // unequal chromas: the sign of dH' matters
  };
  for (const auto& [L1, a1, b1, L2, a2, b2, within, beyond] : cases) {
    for (const Pair& p : {Pair{L1, a1, b1, L2, a2, b2}, Pair{L2, a2, b2, L1, a1, b1}}) {
      const double dh = HueDifference(p);
      ASSERT_NEAR(std::fabs(dh), 180, 1e-9);
      EXPECT_NEAR(p.De00(), std::fabs(dh) <= 180 ? within : beyond, kFourDecimals) << dh;
    }
  }
  EXPECT_EQ(Log10(0) + Log10(-25), 0.0);  // Log10 of non-positive values is 0
}

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
