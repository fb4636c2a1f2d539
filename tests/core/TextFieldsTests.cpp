#include "core/TextFields.h"

#include <gtest/gtest.h>

#include <charconv>
#include <limits>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace korimo {
namespace {

// Plain decimal numbers with sign, fraction and exponent convert to the
// nearest single; the first comma is a decimal point; everything else is 0.
TEST(ParseSingle, PlainDecimalsToTheNearestSingleElseZero) {
  const float max = std::numeric_limits<float>::max();
  const std::pair<const char*, float> cases[] = {
      {"95.12", 95.12f},    {"-0.48", -0.48f}, {"95,12", 95.12f}, {" \t2.33 ", 2.33f},
      {".5", 0.5f},         {"5.", 5.0f},      {"+1e2", 100.0f},  {"1.5E-3", 0.0015f},
      {"1e5", 1e5f},        {"1,234,5", 0.0f}, {"", 0.0f},        {"-", 0.0f},
      {".", 0.0f},          {"+-1", 0.0f},     {"inf", 0.0f},     {"nan", 0.0f},
      {"0x1p4", 0.0f},      {"1e39", 0.0f},    {"12abc", 0.0f},   {"++1", 0.0f},
      {"3.4028235e38", max}};
  for (const auto& [text, value] : cases)
    EXPECT_EQ(ParseSingle(text), value) << text;
  // Straight to the nearest single, not through a double: this text lies just
  // above a halfway point between two singles that a double rounds onto.
  EXPECT_EQ(ParseSingle("1.00000005960464477550"), 1.00000011920928955078125f);
  // The strict form tells what is no number, and a comma is none.
  for (const char* text : {"", "95,12", "-", "inf", "1e39", "12abc"})
    EXPECT_EQ(ParseFloat(text), std::nullopt) << text;
  EXPECT_EQ((std::pair{ParseFloat("-1e-50"), ParseFloat(" 95.12\t")}),
            (std::pair{std::optional(0.0f), std::optional(95.12f)}));
}

// Short decimals, the form of nearly every measured value, against the
// library's conversion of the same text with a point and without a plus:
// up to seven digits, signs, decimal commas, blanks and tabs around.
TEST(ParseSingle, ShortDecimalsAgreeWithTheLibrarysConversion) {
  std::mt19937 rng(20261208);
  const auto pick = [&rng](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
  for (int i = 0; i < 20000; ++i) {
    std::string digits;
    for (int d = 1 + pick(7); d > 0; --d)
      digits += static_cast<char>('0' + pick(10));
    const std::size_t point = static_cast<std::size_t>(pick(static_cast<int>(digits.size()) + 2));
    std::string number = digits;
    if (point <= digits.size())
      number.insert(point, 1, '.');
    const int sign = pick(3);  // none, minus, plus
    std::string text = std::string(static_cast<std::size_t>(pick(3)), ' ') +
                       std::string("\0-+", 3).substr(static_cast<std::size_t>(sign), sign != 0) +
                       number + (pick(2) ? "\t" : "");
    const std::string plain = (sign == 1 ? "-" : "") + number;
    if (point <= digits.size() && pick(2))
      text[text.find('.')] = ',';
    float expected = 0;
    std::from_chars(plain.data(), plain.data() + plain.size(), expected);
    ASSERT_EQ(ParseSingle(text), expected) << text;
  }
}

// The fields a data line is split into at once are those NextField gives one
// by one, on lines of blanks, tabs, quotes and text, long and short.
TEST(SplitFields, GivesTheFieldsOfRepeatedNextField) {
  std::mt19937 rng(20261208);
  const std::string alphabet = "  \t\t\"a1,";
  std::vector<std::string_view> split;
  for (int i = 0; i < 5000; ++i) {
    std::string line(rng() % (i % 2 ? 80 : 12), ' ');
    for (char& c : line)
      c = alphabet[rng() % alphabet.size()];
    const int count = 1 + static_cast<int>(rng() % 12);
    std::vector<std::string_view> fields;
    for (std::size_t pos = 1; static_cast<int>(fields.size()) < count && pos <= line.size();)
      fields.push_back(NextField(line, pos));
    SplitFields(line, count, split);
    ASSERT_EQ(split, fields) << '"' << line << '"' << count;
  }
}

}  // namespace
}  // namespace korimo
