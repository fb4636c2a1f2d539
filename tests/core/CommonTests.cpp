#include "core/Common.h"
#include "core/Encoding.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <iomanip>
#include <numeric>
#include <random>
#include <vector>

namespace korimo {
namespace {

// 12.345 is binary 12.34499999..., 95.12f widened 95.12000274...; longer
// texts lose their front in FormatFixed7.
TEST(FormatDecimals, RoundsTheFifteenDigitDecimalFormHalfAwayFromZero) {
  struct Case {
    double x;
    int decimals;
    const char* text;
  };
  const Case cases[] = {
      {12.345, 2, "12.35"},  {95.12f, 2, "95.12"},  {1.005, 2, "1.01"},  {-1.005, 2, "-1.01"},
      {0.004999, 2, "0.00"}, {99.995, 2, "100.00"}, {9.999, 2, "10.00"}, {0, 2, "0.00"},
      {0.5, 2, "0.50"},      {-0.0, 2, "0.00"},     {-0.004, 2, "0.00"}, {-0.48f, 2, "-0.48"},
      {1e-300, 2, "0.00"},   {12.4, 0, "12"},       {13.5, 0, "14"},     {2.5, 0, "3"},
      {-2.5, 0, "-3"},       {0.05, 1, "0.1"},      {0.5f, 1, "0.5"},    {0.0, 0, "0"}};
  for (const Case& c : cases)
    EXPECT_EQ(FormatDecimals(c.x, c.decimals), c.text) << c.x;
  EXPECT_EQ(FormatTwoDec(1e20), "100000000000000000000.00");
  const std::pair<double, const char*> fixed7[] = {{1.5, "   1.50"},     {0, "   0.00"},
                                                   {12.345, "  12.35"},  {-999.99, "-999.99"},
                                                   {9999.99, "9999.99"}, {12345.678, "2345.68"}};
  for (const auto& [x, text] : fixed7)
    EXPECT_EQ(FormatFixed7(x), text) << x;
}

TEST(ParseInteger, ConvertsPlainNumbersRoundingHalfToEvenAndAnythingElseToZero) {
  const std::pair<const char*, int> cases[] = {{" 6", 6},   {"\t22 ", 22},      {"2.5", 2},
                                               {"3.5", 4},  {"-32768", -32768}, {"32767", 32767},
                                               {"1e2", 100}};
  for (const auto& [text, value] : cases)
    EXPECT_EQ(ParseInteger(text), value) << text;
  for (const char* text : {"", "\"6\"", "abc", "12a", "32768", "32767.5", "-32769", "inf", "nan",
                           "0x10", "1,5", "+-3"}) {
    EXPECT_EQ(ParseInteger(text), 0) << text;
  }
}

TEST(SortWithIndex, TieExampleAndPrefixOnly) {
  std::array<double, 3> keys{2, 2, 1};
  std::array<std::int16_t, 3> idx{0, 1, 2};
  SortWithIndex(keys, idx, -4);  // nothing to sort
  EXPECT_EQ(keys, (std::array<double, 3>{2, 2, 1}));
  SortWithIndex(keys, idx, 3);
  EXPECT_EQ(keys, (std::array<double, 3>{1, 2, 2}));
  EXPECT_EQ(idx, (std::array<std::int16_t, 3>{2, 1, 0}));

  std::vector<double> a{0.5, 0.1, 0.3, 0.0, 0.2};
  SortAscending(a, 3);
  EXPECT_EQ(a, (std::vector<double>{0.1, 0.3, 0.5, 0.0, 0.2}));
}

TEST(PercentilePositions, FollowTheRoundedShares) {
  const std::array<int, 3> cases[] = {{0, 0, 0},    {1, 0, 1},       {10, 0, 10},      {14, 0, 13},
                                      {15, 1, 14},  {20, 1, 19},     {30, 2, 29},      {31, 2, 29},
                                      {100, 9, 95}, {1000, 99, 950}, {3000, 299, 2850}};
  for (const auto& [n, k10, k95] : cases) {
    const PercentilePositions p = PercentilePositionsFor(n);
    EXPECT_EQ(p.k10, k10) << n;
    EXPECT_EQ(p.k95, k95) << n;
    EXPECT_EQ(p.Shown(), n >= 15) << n;
  }
}

TEST(LastChars, CountsCharactersNotBytes) {
  EXPECT_EQ(LastChars("SAMPLE123", 5), "LE123");
  EXPECT_EQ(LastChars("基準パッチ番号", 5), "パッチ番号");
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
  long long p = 1;
  for (int i = 0; i < shift; ++i)
    p *= 10;
  const long long h = m / p + (m % p * 2 >= p ? 1 : 0);
  std::snprintf(buf, sizeof buf, "%s%lld.%02lld", x < 0 && h != 0 ? "-" : "", h / 100, h % 100);
  return buf;
}

TEST(FormatTwoDec, MatchesTheFifteenDigitDefinitionOnManyValues) {
  std::mt19937_64 rng(20261206);
  std::uniform_real_distribution<double> wide(-1000, 1000);
  std::uniform_int_distribution<int> cents(-200000, 200000);
  for (int i = 0; i < 100000; ++i) {
    const double d = wide(rng);
    const double half = cents(rng) / 100.0 + 0.005;  // at and next to half-cent boundaries
    for (double v : {d, double(static_cast<float>(d)), half, std::nextafter(half, 0.0),
                     std::nextafter(half, 1e9)}) {
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
    std::uniform_int_distribution<int> pick(0, trial % 3 == 0 ? 1000000 : 1 + trial % 7);
    std::vector<double> keys(n);
    for (int i = 0; i < n; ++i)
      keys[i] = trial % 5 == 2 ? (20 - i % 20) * 0.5 : pick(rng) * 0.01;
    if (trial % 5 == 0)
      std::sort(keys.begin(), keys.end());
    if (trial % 5 == 1)
      std::sort(keys.rbegin(), keys.rend());
    std::vector<std::int16_t> idx(n);
    std::iota(idx.begin(), idx.end(), 0);
    auto refKeys = keys;
    auto refIdx = idx;
    ReferenceExchangeSort(refKeys, refIdx, n - trial % 2);  // also a shorter count
    SortWithIndex(keys, idx, n - trial % 2);
    ASSERT_EQ(keys, refKeys) << trial;
    ASSERT_EQ(idx, refIdx) << trial;
  }
}

TEST(Encoding, Cp932HoldsTheCharactersTheOutputsUseAndUtf8IsChecked) {
  EXPECT_EQ(Utf8ToCp932("基準:⊿ Δ"), "\x8A\xEE\x8F\x80:\x87\x99 \x83\xA2");
  EXPECT_EQ(Cp932ToUtf8("\x8A\xEE\x8F\x80:\x87\x99 \x83\xA2"), "基準:⊿ Δ");
  EXPECT_EQ(Cp932ToUtf8("A\x85-"), "A\xEF\xBF\xBD-");  // bad input is replaced, not dropped
  EXPECT_EQ(Cp932ToUtf8("A\x87"), "A\xEF\xBF\xBD");    // truncated lead byte
  EXPECT_EQ(Utf8ToCp932("a😀b\xFF"), "a?b?");           // not in CP932, not UTF-8
  // The UTF-8 check, also across chunks.
  for (const char* good : {"", "plain ASCII", "基準 ⊿E 😀"})
    EXPECT_TRUE(IsValidUtf8(good)) << good;
  for (const char* bad :
       {"\xC0\x80", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xE3\x81", "\x80", "\x87\x99", "\xFF"}) {
    EXPECT_FALSE(IsValidUtf8(bad)) << bad;
  }
  Utf8Validator v;
  v.Feed("\xE5\x9F");
  EXPECT_FALSE(v.Valid());
  EXPECT_FALSE(v.Broken());
  v.Feed("\xBA");
  EXPECT_TRUE(v.Valid());
}

}  // namespace
}  // namespace korimo
