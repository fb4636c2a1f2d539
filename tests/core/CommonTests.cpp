#include "core/Common.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <iomanip>
#include <numeric>
#include <random>
#include <vector>

namespace korimo {
namespace {

TEST(FormatTwoDec, RoundsTheFifteenDigitDecimalFormHalfAwayFromZero) {
  EXPECT_EQ(FormatTwoDec(12.345), "12.35");  // binary 12.34499999...
  EXPECT_EQ(FormatTwoDec(95.12f), "95.12");  // single widened: 95.12000274...
  EXPECT_EQ(FormatTwoDec(1.005), "1.01");
  EXPECT_EQ(FormatTwoDec(-1.005), "-1.01");
  EXPECT_EQ(FormatTwoDec(0.004999), "0.00");
  EXPECT_EQ(FormatTwoDec(99.995), "100.00");
  EXPECT_EQ(FormatTwoDec(9.999), "10.00");
}

TEST(FormatTwoDec, WritesOneIntegerDigitAndNoMinusForZero) {
  EXPECT_EQ(FormatTwoDec(0), "0.00");
  EXPECT_EQ(FormatTwoDec(0.5), "0.50");
  EXPECT_EQ(FormatTwoDec(-0.0), "0.00");
  EXPECT_EQ(FormatTwoDec(-0.004), "0.00");
  EXPECT_EQ(FormatTwoDec(-0.48f), "-0.48");
  EXPECT_EQ(FormatTwoDec(1e-300), "0.00");
  EXPECT_EQ(FormatTwoDec(1e20), "100000000000000000000.00");
}

TEST(FormatDecimals, OtherPatterns) {
  EXPECT_EQ(FormatDecimals(12.4, 0), "12");
  EXPECT_EQ(FormatDecimals(13.5, 0), "14");
  EXPECT_EQ(FormatDecimals(2.5, 0), "3");
  EXPECT_EQ(FormatDecimals(-2.5, 0), "-3");
  EXPECT_EQ(FormatDecimals(0.05, 1), "0.1");
  EXPECT_EQ(FormatDecimals(0.5f, 1), "0.5");
  EXPECT_EQ(FormatDecimals(0.0, 0), "0");
}

TEST(FormatFixed7, RightAlignsInSevenCharacters) {
  EXPECT_EQ(FormatFixed7(1.5), "   1.50");
  EXPECT_EQ(FormatFixed7(0), "   0.00");
  EXPECT_EQ(FormatFixed7(12.345), "  12.35");
  EXPECT_EQ(FormatFixed7(-999.99), "-999.99");
  EXPECT_EQ(FormatFixed7(9999.99), "9999.99");
  EXPECT_EQ(FormatFixed7(12345.678), "2345.68");  // longer texts lose their front
}

TEST(ParseInteger, ConvertsPlainNumbersRoundingHalfToEven) {
  EXPECT_EQ(ParseInteger(" 6"), 6);
  EXPECT_EQ(ParseInteger("\t22 "), 22);
  EXPECT_EQ(ParseInteger("2.5"), 2);
  EXPECT_EQ(ParseInteger("3.5"), 4);
  EXPECT_EQ(ParseInteger("-32768"), -32768);
  EXPECT_EQ(ParseInteger("32767"), 32767);
  EXPECT_EQ(ParseInteger("1e2"), 100);
}

TEST(ParseInteger, AnythingElseIsZero) {
  for (const char* text : {"", "\"6\"", "abc", "12a", "32768", "32767.5", "-32769", "inf", "nan",
                           "0x10", "1,5", "+-3"}) {
    EXPECT_EQ(ParseInteger(text), 0) << text;
  }
}

TEST(SortWithIndex, ReproducesTheExchangeOrderOfTies) {
  std::array<double, 3> keys{2, 2, 1};
  std::array<std::int16_t, 3> idx{0, 1, 2};
  SortWithIndex(keys, idx, 3);
  EXPECT_EQ(keys, (std::array<double, 3>{1, 2, 2}));
  EXPECT_EQ(idx, (std::array<std::int16_t, 3>{2, 1, 0}));
}

TEST(SortWithIndex, SortsOnlyTheFirstCountEntries) {
  std::array<double, 5> keys{3, 1, 2, 0, 0};
  std::array<std::int16_t, 5> idx{0, 1, 2, 3, 4};
  SortWithIndex(keys, idx, 3);
  EXPECT_EQ(keys, (std::array<double, 5>{1, 2, 3, 0, 0}));
  EXPECT_EQ(idx, (std::array<std::int16_t, 5>{1, 2, 0, 3, 4}));
  SortWithIndex(keys, idx, 0);
  SortWithIndex(keys, idx, -4);
  EXPECT_EQ(idx, (std::array<std::int16_t, 5>{1, 2, 0, 3, 4}));
}

TEST(SortAscending, SortsThePrefixOnly) {
  std::vector<double> a{0.5, 0.1, 0.3, 0.0, 0.2};
  SortAscending(a, 3);
  EXPECT_EQ(a, (std::vector<double>{0.1, 0.3, 0.5, 0.0, 0.2}));
  SortAscending(a, 0);
  EXPECT_EQ(a, (std::vector<double>{0.1, 0.3, 0.5, 0.0, 0.2}));
}

TEST(PercentilePositions, FollowTheRoundedShares) {
  struct Case {
    int n, k10, k95;
    bool shown;
  };
  for (const Case c :
       {Case{0, 0, 0, false}, Case{1, 0, 1, false}, Case{4, 0, 4, false}, Case{10, 0, 10, false},
        Case{14, 0, 13, false}, Case{15, 1, 14, true}, Case{20, 1, 19, true}, Case{30, 2, 29, true},
        Case{31, 2, 29, true}, Case{100, 9, 95, true}, Case{1000, 99, 950, true},
        Case{3000, 299, 2850, true}}) {
    const PercentilePositions p = PercentilePositionsFor(c.n);
    EXPECT_EQ(p.k10, c.k10) << c.n;
    EXPECT_EQ(p.k95, c.k95) << c.n;
    EXPECT_EQ(p.Shown(), c.shown) << c.n;
  }
}

TEST(RunningStat, AveragesOverTheComparisonRange) {
  RunningStat s;
  for (int i = 1; i <= 20; ++i)
    s.Add(i * 0.1);
  EXPECT_EQ(FormatFixed7(s.Average(20)), "   1.05");
  EXPECT_DOUBLE_EQ(s.max, 2.0);
}

TEST(LastChars, CountsCharactersNotBytes) {
  EXPECT_EQ(LastChars("SAMPLE123", 5), "LE123");
  EXPECT_EQ(LastChars("A1", 5), "A1");
  EXPECT_EQ(LastChars("基準パッチ番号", 5), "パッチ番号");
  EXPECT_EQ(LastChars("", 5), "");
}

}  // namespace
}  // namespace korimo

namespace korimo {
namespace {

// The definition the fast formatting must match: the 15-significant-digit
// text rounded half away from zero at the last kept decimal.
std::string ReferenceTwoDec(double x) {
  char buf[64];
  const auto res =
      std::to_chars(buf, buf + sizeof buf, std::fabs(x), std::chars_format::scientific, 14);
  const std::string sci(buf, res.ptr);
  const int exponent = std::stoi(sci.substr(sci.find('e') + 1));
  std::string digits = sci.substr(0, 1) + sci.substr(2, 14);
  // Scale to hundredths as an integer string, rounding on the next digit.
  const int keep = exponent + 1 + 2;
  if (keep < 0)
    return "0.00";
  std::string kept = digits.substr(0, std::min<int>(keep, 15));
  kept.resize(keep, '0');
  long long value = kept.empty() ? 0 : std::stoll(kept);
  if (keep < 15 && digits[keep] >= '5')
    ++value;
  const std::string sign = (x < 0 && value != 0) ? "-" : "";
  std::string frac = std::to_string(value % 100);
  if (frac.size() < 2)
    frac.insert(0, "0");
  return sign + std::to_string(value / 100) + "." + frac;
}

TEST(FormatTwoDec, MatchesTheFifteenDigitDefinitionOnManyValues) {
  std::mt19937_64 rng(20261206);
  std::uniform_real_distribution<double> wide(-1000, 1000);
  std::uniform_int_distribution<int> cents(-200000, 200000);
  for (int i = 0; i < 100000; ++i) {
    const double d = wide(rng);
    ASSERT_EQ(FormatTwoDec(d), ReferenceTwoDec(d)) << std::setprecision(17) << d;
    const float f = static_cast<float>(d);
    ASSERT_EQ(FormatTwoDec(f), ReferenceTwoDec(f)) << std::setprecision(17) << f;
    // Values at and next to the half-cent boundaries.
    const double half = cents(rng) / 100.0 + 0.005;
    for (double v : {half, std::nextafter(half, 0.0), std::nextafter(half, 1e9)}) {
      ASSERT_EQ(FormatTwoDec(v), ReferenceTwoDec(v)) << std::setprecision(17) << v;
    }
  }
}

// The plain exchange sort the grid's order of ties is defined by.
void ReferenceExchangeSort(std::vector<double>& keys, std::vector<std::int16_t>& idx, int n) {
  for (int i = 0; i < n - 1; ++i) {
    for (int j = i + 1; j < n; ++j) {
      if (keys[j] < keys[i]) {
        std::swap(keys[i], keys[j]);
        std::swap(idx[i], idx[j]);
      }
    }
  }
}

TEST(SortWithIndex, EveryShortcutLeavesTheExchangeSortOrder) {
  std::mt19937 rng(7);
  for (int trial = 0; trial < 600; ++trial) {
    // Short and long arrays, few values (many ties) or many, and shapes that
    // make the exchange sort move a lot: sorted, reversed, saw-tooth ramps.
    const int n = trial < 400 ? 1 + trial % 60 : 200 + trial % 400;
    const int distinctValues = trial % 3 == 0 ? 1000000 : 1 + trial % 7;
    std::uniform_int_distribution<int> pick(0, distinctValues);
    std::vector<double> keys(n);
    for (double& k : keys)
      k = pick(rng) * 0.01;
    switch (trial % 5) {
      case 0:
        std::sort(keys.begin(), keys.end());
        break;
      case 1:
        std::sort(keys.rbegin(), keys.rend());
        break;
      case 2:
        for (int i = 0; i < n; ++i)
          keys[i] = (20 - i % 20) * 0.5;
        break;
      default:
        break;
    }
    std::vector<std::int16_t> idx(n);
    std::iota(idx.begin(), idx.end(), 0);
    auto refKeys = keys;
    auto refIdx = idx;
    ReferenceExchangeSort(refKeys, refIdx, n - trial % 2);
    SortWithIndex(keys, idx, n - trial % 2);
    ASSERT_EQ(keys, refKeys) << trial;
    ASSERT_EQ(idx, refIdx) << trial;
  }
}

}  // namespace
}  // namespace korimo
