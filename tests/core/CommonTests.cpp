#include "core/Common.h"

#include "core/TextFields.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <iomanip>
#include <numeric>
#include <random>
#include <string>
#include <tuple>
#include <vector>

namespace korimo {
namespace {

// What the two-decimal property test below does not reach: other counts of
// decimals, negative zero and values past 1e12.
TEST(FormatDecimals, RoundsTheFifteenDigitDecimalFormHalfAwayFromZero) {
  const std::tuple<double, int, const char*> cases[] = {{13.5, 0, "14"},
                                                        {-2.5, 0, "-3"},
                                                        {12.4, 0, "12"},
                                                        {0.05, 1, "0.1"},
                                                        {-0.0, 2, "0.00"},
                                                        {99.995, 2, "100.00"},
                                                        {1e20, 2, "100000000000000000000.00"}};
  for (const auto& [x, decimals, text] : cases)
    EXPECT_EQ(FormatDecimals(x, decimals), text) << x;
}

// The definition the fast formatting must match: the 15-significant-digit
// text, m * 10^(e - 14), rounded half away from zero to hundredths (|x| < 1e12).
std::string ReferenceTwoDec(double x) {
  char buf[40];
  std::snprintf(buf, sizeof buf, "%.14e", std::fabs(x));  // d.dddddddddddddde+XX
  const long long m = std::stoll(std::string(buf, 1) + std::string(buf + 2, 14));
  const int shift = 12 - std::atoi(buf + 17);  // hundredths = m / 10^shift
  if (shift > 18)
    return "0.00";
  const auto p = static_cast<long long>(std::pow(10.0, shift));  // exact
  const long long h = m / p + (m % p * 2 >= p ? 1 : 0);
  std::snprintf(buf, sizeof buf, "%s%lld.%02lld", x < 0 && h != 0 ? "-" : "", h / 100, h % 100);
  return buf;
}

// On random values, values at and next to half-cents, and values whose
// hundredths pass 2^24: the text against the definition, the same appended
// to another text, and the single the text reads back as, which
// TwoDecimalsAsSingle tells without writing it.
TEST(FormatTwoDec, MatchesTheFifteenDigitDefinitionAndReadsBackAsTwoDecimalsAsSingle) {
  std::mt19937_64 rng(20261206);
  std::uniform_real_distribution<double> small(-1000, 1000), wide(-100000, 100000), huge(-1e9, 1e9);
  std::uniform_int_distribution<long long> cents(-10000000, 10000000);
  for (int i = 0; i < 100000; ++i) {
    const double d = small(rng),
                 half = static_cast<double>(cents(rng) / (i % 2 ? 50 : 1)) / 100 + 0.005;
    for (double v : {d, static_cast<double>(static_cast<float>(d)), wide(rng), huge(rng), half,
                     std::nextafter(half, 0.0), std::nextafter(half, 1e9), -0.001}) {
      std::string appended = "x";
      AppendTwoDec(appended, v);
      ASSERT_EQ(
          std::tuple(FormatTwoDec(v), appended, TwoDecimalsAsSingle(v)),
          std::tuple(ReferenceTwoDec(v), "x" + FormatDecimals(v, 2), ParseSingle(FormatTwoDec(v))))
          << std::setprecision(17) << v;
    }
  }
}

// Rounding of fractions is half to even; blanks and tabs around are ignored.
TEST(ParseInteger, RoundsHalvesToEvenAndRefusesWhatIsNotAShortInteger) {
  const std::pair<const char*, int> cases[] = {
      {"6", 6},     {" 6\t", 6},        {"6.5", 6},    {"7.5", 8},   {"-2.5", -2}, {"32767", 32767},
      {"32768", 0}, {"-32768", -32768}, {"-32769", 0}, {"\"6\"", 0}, {"6x", 0},    {"", 0},
      {".5", 0},    {"5.", 5},          {"1e2", 100},  {"inf", 0},   {"0x10", 0},  {"+4", 4}};
  for (const auto& [text, value] : cases)
    EXPECT_EQ(ParseInteger(text), value) << text;
}

// Against the plain exchange sort the grid's order of ties is defined by:
// short and long arrays, few values (many ties) or many, and shapes that make
// the exchange sort move a lot: sorted, reversed, saw-tooth ramps.
TEST(SortWithIndex, EveryShortcutLeavesTheExchangeSortOrder) {
  std::mt19937 rng(7);
  for (int trial = 0; trial < 600; ++trial) {
    const int n = trial < 400 ? 1 + trial % 60 : 200 + trial % 400, count = n - trial % 2;
    std::uniform_int_distribution<int> pick(0, trial % 3 == 0 ? 1000000 : 1 + trial % 7);
    std::vector<double> keys(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i)
      keys[static_cast<std::size_t>(i)] = trial % 5 == 2 ? (20 - i % 20) * 0.5 : pick(rng) * 0.01;
    if (trial % 5 < 2)
      std::sort(keys.begin(), keys.end(),
                [&](double x, double y) { return trial % 5 ? y < x : x < y; });
    std::vector<std::int16_t> idx(static_cast<std::size_t>(n));
    std::iota(idx.begin(), idx.end(), 0);
    auto refKeys = keys;
    auto refIdx = idx;
    for (std::size_t i = 0; i < static_cast<std::size_t>(count); ++i)
      for (std::size_t j = i + 1; j < static_cast<std::size_t>(count); ++j)
        if (refKeys[j] < refKeys[i])
          std::swap(refKeys[i], refKeys[j]), std::swap(refIdx[i], refIdx[j]);
    SortWithIndex(keys, idx, count);
    ASSERT_EQ(keys, refKeys) << trial;
    ASSERT_EQ(idx, refIdx) << trial;
  }
}

// The table of positions: k10 = floor(0.1 n + 0.5) - 1, k95 = floor(0.95 n + 0.5),
// negatives clamped to 0; shown from 15 patches on.
TEST(PercentilePositions, FollowTheTableOfTellingCounts) {
  const std::tuple<int, int, int, bool> table[] = {
      {0, 0, 0, false},       {1, 0, 1, false},   {4, 0, 4, false},   {5, 0, 5, false},
      {10, 0, 10, false},     {14, 0, 13, false}, {15, 1, 14, true},  {20, 1, 19, true},
      {30, 2, 29, true},      {31, 2, 29, true},  {100, 9, 95, true}, {1000, 99, 950, true},
      {3000, 299, 2850, true}};
  for (const auto& [n, k10, k95, shown] : table) {
    const PercentilePositions pos = PercentilePositionsFor(n);
    EXPECT_EQ((std::tuple{pos.k10, pos.k95, pos.Shown()}), (std::tuple{k10, k95, shown})) << n;
  }
}

}  // namespace
}  // namespace korimo
