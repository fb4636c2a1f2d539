#include "color/ColorDifference.h"

#include <gtest/gtest.h>

#include <array>

namespace korimo {
namespace {

struct Colours {
  double L1, a1, b1, L2, a2, b2;
  Colours Swapped() const { return {L2, a2, b2, L1, a1, b1}; }
  double De00() const { return Ciede2000(L1, a1, b1, L2, a2, b2); }
  double DeAb() const { return Cie76(L1, a1, b1, L2, a2, b2); }
};
constexpr double kFourDecimals = 5e-5;

// Sharma, Wu and Dalal (2005), Table 1: the 34 CIEDE2000 test pairs.
const std::pair<Colours, double> kSharmaPairs[] = {
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

// Swapping the colours gives bit-identical results, identical colours exactly
// 0; CIE 1976 is checked on the first pair (4.0011).
TEST(ColorDifference, PublishedPairsSymmetryAndIdentity) {
  for (const auto& [p, de00] : kSharmaPairs) {
    EXPECT_NEAR(p.De00(), de00, kFourDecimals) << p.L1 << " " << p.a1 << " " << p.b2;
    EXPECT_EQ(p.De00(), p.Swapped().De00());
    EXPECT_EQ(p.DeAb(), p.Swapped().DeAb());
    EXPECT_EQ((Colours{p.L1, p.a1, p.b1, p.L1, p.a1, p.b1}.De00()), 0.0);
  }
  EXPECT_NEAR(kSharmaPairs[0].first.DeAb(), 4.0011, kFourDecimals);
  EXPECT_NEAR((Colours{50, 70, 100, 50, 10, -10}.DeAb()), 125.2996, kFourDecimals);
}

// Values from the textbook formula (seventh powers, two-argument arctangent
// for the angles) in an independent double-precision implementation: against
// black or another neutral colour there is no hue difference. Hues exactly
// 180 degrees apart sit on the jump of the mean hue, and the last bit of the
// hue difference decides the side: with the angle from the one-argument
// arctangent plus or minus pi, h1' - h2' comes out one bit above 180 in the
// last four rows, so the mean hue moves by 180 degrees (a two-argument
// library arctangent lands on exactly 180 and gives 89.1448, 98.9080).
TEST(ColorDifference, IndependentValuesNeutralColoursAndHues180Apart) {
  const std::array<double, 7> cases[] = {
      {95, -2, 3, 0, 0, 0, 93.3732672535},        {16, 3.5, 9, 0, 0, 0, 12.9609111530},
      {50, 40, -60, 70, 0, 0, 32.6922721468},     {0, 0, 0, 50, -80, 20, 46.6016452686},
      {50, -100, -34, 50, 100, 34, 133.99846798}, {50, -100, -13, 50, 100, 13, 113.37441474},
      {50, 100, -80, 50, -100, 80, 114.23502425}, {50, 2.49, -0.001, 50, -2.49, 0.001, 7.17916264},
  };
  for (const auto& [L1, a1, b1, L2, a2, b2, de00] : cases) {
    EXPECT_NEAR(Ciede2000(L1, a1, b1, L2, a2, b2), de00, 1e-7) << L1 << " " << a1 << " " << b1;
    EXPECT_NEAR(Ciede2000(L2, a2, b2, L1, a1, b1), de00, 1e-7) << L1 << " " << a1 << " " << b1;
  }
}

}  // namespace
}  // namespace korimo
