#include "color/ColorDifference.h"

#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>
#include <numbers>
#include <string>
#include <vector>

namespace korimo {
namespace {

struct Pair {
  double L1, a1, b1, L2, a2, b2;
};

double De00(const Pair& p) {
  return Ciede2000(p.L1, p.a1, p.b1, p.L2, p.a2, p.b2);
}
double DeAb(const Pair& p) {
  return Cie76(p.L1, p.a1, p.b1, p.L2, p.a2, p.b2);
}
Pair Swapped(const Pair& p) {
  return {p.L2, p.a2, p.b2, p.L1, p.a1, p.b1};
}

constexpr double kFourDecimals = 5e-5;
constexpr double kPi = std::numbers::pi;

// Sharma, Wu and Dalal (2005), Table 1: the 34 CIEDE2000 test pairs.
struct Published {
  Pair pair;
  double de00;
};
const Published kSharmaPairs[] = {
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

struct Worked {
  Pair pair;
  double de00;
  double deab;
};
const Worked kWorkedValues[] = {
    {{50, 2.6772, -79.7751, 50, 0, -82.7485}, 2.0425, 4.0011},
    {{50, 0, 0, 50, -1, 2}, 2.3669, 2.2361},  // neutral hue is 270, not 0
    {{50, -0.001, 2.49, 50, 0.0011, -2.49}, 4.7461, 4.9800},
    {{50, 2.5, 0, 73, 25, -18}, 27.1492, 36.8680},
    {{60, 0, 0, 50, 0, 0}, 9.4706, 10.0000},
    {{50, 70, 100, 50, 10, -10}, 38.6970, 125.2996},
};

TEST(Ciede2000Test, MatchesPublishedTestPairsToFourDecimals) {
  for (std::size_t i = 0; i < std::size(kSharmaPairs); ++i) {
    SCOPED_TRACE("pair " + std::to_string(i + 1));
    EXPECT_NEAR(De00(kSharmaPairs[i].pair), kSharmaPairs[i].de00, kFourDecimals);
  }
}

TEST(ColorDifferenceTest, MatchesWorkedValuesToFourDecimals) {
  for (const Worked& w : kWorkedValues) {
    EXPECT_NEAR(De00(w.pair), w.de00, kFourDecimals);
    EXPECT_NEAR(DeAb(w.pair), w.deab, kFourDecimals);
  }
}

TEST(ColorDifferenceTest, SwappingColoursGivesBitIdenticalResults) {
  std::vector<Pair> pairs;
  for (const Published& p : kSharmaPairs)
    pairs.push_back(p.pair);
  for (const Worked& w : kWorkedValues)
    pairs.push_back(w.pair);
  pairs.push_back({50, 100, -80, 50, -100, 80});
  for (const Pair& p : pairs) {
    EXPECT_EQ(De00(p), De00(Swapped(p)));
    EXPECT_EQ(DeAb(p), DeAb(Swapped(p)));
  }
}

TEST(ColorDifferenceTest, IdenticalColoursGiveExactlyZero) {
  const double colours[][3] = {{50, 0, 0}, {0, 0, 0}, {50, 0, 5}, {50, 0, -5}, {35, -44.1, 3.8}};
  for (const auto& c : colours) {
    const Pair p{c[0], c[1], c[2], c[0], c[1], c[2]};
    EXPECT_EQ(De00(p), 0.0);
    EXPECT_EQ(DeAb(p), 0.0);
  }
}

TEST(Ciede2000Test, WideHueGapWithHueSumAbove360TakesMeanHueMinus180) {
  // Hues 55 and 315: the mean hue is 5, not 185 (which would give 41.8766).
  EXPECT_NEAR(De00({50, 70, 100, 50, 10, -10}), 38.69698, 5e-6);
}

TEST(Ciede2000Test, ColoursOnTheBAxisGetHues90And270) {
  // Were both hues taken alike, the hue difference and the result would be 0.
  EXPECT_NEAR(De00({50, 0, 5, 50, 0, -5}), 9.3165, kFourDecimals);
}

// h1' - h2' in degrees, from the same helpers and arithmetic as the formula.
// For hues exactly 180 apart its last bit decides the mean hue.
double HueDifference(const Pair& p) {
  const double Cbar =
      (std::sqrt(p.a1 * p.a1 + p.b1 * p.b1) + std::sqrt(p.a2 * p.a2 + p.b2 * p.b2)) / 2;
  const double Cbar7 = std::pow(10.0, 7 * Log10(Cbar));
  const double pow25_7 = std::pow(10.0, 7 * Log10(25.0));
  const double G = 0.5 * (1 - std::sqrt(std::pow(10.0, 7 * Log10(Cbar) - Log10(Cbar7 + pow25_7))));
  double h1p = RadToDeg(ArcTan2((1 + G) * p.a1, p.b1));
  double h2p = RadToDeg(ArcTan2((1 + G) * p.a2, p.b2));
  if (h1p < 0)
    h1p += 360;
  if (h2p < 0)
    h2p += 360;
  return h1p - h2p;
}

TEST(Ciede2000Test, HuesExactly180ApartFollowTheComputedHueDifference) {
  // Results on either side of the mean-hue discontinuity, derived
  // independently in high precision.
  struct KnifeEdge {
    Pair pair;
    double withinHalfTurn;  // |h1' - h2'| <= 180: mean hue S / 2
    double beyondHalfTurn;  // |h1' - h2'| > 180: mean hue (S -+ 360) / 2
  };
  const KnifeEdge cases[] = {
      {{50, 2.49, -0.001, 50, -2.49, 0.001}, 7.1792, 7.2195},
      {{50, -0.001, 2.49, 50, 0.001, -2.49}, 4.8045, 4.7461},
      {{50, 100, -80, 50, -100, 80}, 63.9379, 114.2350},
      // Unequal chromas: the sign of dH' matters here, not only the mean hue.
      {{50, 22, -2, 50, -11, 1}, 30.6327, 36.6118},
  };
  for (const KnifeEdge& k : cases) {
    for (const Pair& p : {k.pair, Swapped(k.pair)}) {
      const double dh = HueDifference(p);
      ASSERT_NEAR(std::fabs(dh), 180, 1e-9);
      const double expected = std::fabs(dh) <= 180 ? k.withinHalfTurn : k.beyondHalfTurn;
      EXPECT_NEAR(De00(p), expected, kFourDecimals) << "h1' - h2' = " << dh;
    }
  }
}

TEST(AngleHelpersTest, ArcTan2TakesAbscissaFirstAndCorrectsQuadrants) {
  struct Case {
    double x, y, expected;
  };
  const Case cases[] = {
      {0, 1, kPi / 2},      {0, 0, -kPi / 2},  {0, -1, -kPi / 2},
      {1, 1, kPi / 4},      {1, -1, -kPi / 4}, {2, 1, std::atan(0.5)},
      {-1, 1, 3 * kPi / 4}, {-1, 0, -kPi},     {-1, -1, -3 * kPi / 4},
  };
  for (const Case& c : cases) {
    EXPECT_DOUBLE_EQ(ArcTan2(c.x, c.y), c.expected) << "x=" << c.x << " y=" << c.y;
  }
}

TEST(AngleHelpersTest, Log10OfNonPositiveIsZero) {
  EXPECT_EQ(Log10(0), 0.0);
  EXPECT_EQ(Log10(-25), 0.0);
  EXPECT_NEAR(Log10(1e7), 7, 1e-14);
  EXPECT_NEAR(Log10(25), 1.3979400086720377, 1e-15);
}

}  // namespace
}  // namespace korimo
