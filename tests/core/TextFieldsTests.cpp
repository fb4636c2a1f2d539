#include "core/TextFields.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <tuple>
#include <vector>

namespace korimo {
namespace {

// Every field of a line from position 1, and where each split left pos.
std::vector<std::pair<std::string, std::size_t>> Split(std::string_view line) {
  std::vector<std::pair<std::string, std::size_t>> fields;
  std::size_t pos = 1;
  while (pos <= line.size()) {
    const std::string_view field = NextField(line, pos);
    fields.emplace_back(std::string(field), pos);
  }
  return fields;
}

using Fields = std::vector<std::pair<std::string, std::size_t>>;

TEST(NextField, BlankRunsAreOneSeparatorTabsEndAFieldAtOnce) {
  const std::tuple<const char*, Fields> cases[] = {
      {"A1 95.12  -0.48", {{"A1", 4}, {"95.12", 11}, {"-0.48", 16}}},
      {"A1\t\t95.12", {{"A1", 4}, {"", 5}, {"95.12", 10}}},  // two tabs: an empty field
      {"  LAB_L LAB_A", {{"  LAB_L", 9}, {"LAB_A", 14}}},    // leading blanks stay
      {"A\t LAB_L", {{"A", 3}, {" LAB_L", 9}}},              // blanks after a tab too
      {"A 1\tB", {{"A", 3}, {"1", 5}, {"B", 6}}},            // a blank always splits
      {"x \t y", {{"x", 5}, {"y", 6}}},
  };
  for (const auto& [line, fields] : cases)
    EXPECT_EQ(Split(line), fields) << line;
  std::size_t pos = 0;  // 0 is taken as 1
  EXPECT_EQ(NextField("abc", pos), "abc");
  EXPECT_EQ(pos, 4u);
  pos = 9;  // beyond the end
  EXPECT_EQ(NextField("abc", pos), "");
  EXPECT_EQ(pos, 4u);
}

TEST(NextTabField, TextUpToTheNextTab) {
  std::size_t pos = 1;
  EXPECT_EQ(NextTabField("No.\tID\t\t⊿E", pos), "No.");
  EXPECT_EQ(pos, 5u);
  EXPECT_EQ(NextTabField("No.\tID\t\t⊿E", pos), "ID");
  EXPECT_EQ(NextTabField("No.\tID\t\t⊿E", pos), "");
  EXPECT_EQ(NextTabField("No.\tID\t\t⊿E", pos), "⊿E");
  EXPECT_EQ(pos, 14u);
}

TEST(StripQuotes, OneQuoteAtEachEnd) {
  const std::pair<const char*, const char*> cases[] = {{"\"A1\"", "A1"}, {"\"A1", "A1"},
                                                       {"A1\"", "A1"},   {"\"", ""},
                                                       {"\"\"", ""},     {"\"\"x\"\"", "\"x\""}};
  for (const auto& [text, stripped] : cases)
    EXPECT_EQ(StripQuotes(text), stripped) << text;
}

// Plain decimal numbers with sign, fraction and exponent convert to the
// nearest single; the first comma is a decimal point; everything else is 0.
TEST(ParseSingle, PlainDecimalsToTheNearestSingleElseZero) {
  const std::pair<const char*, float> cases[] = {
      {"95.12", 95.12f}, {"-0.48", -0.48f},
      {"95,12", 95.12f}, {" \t2.33 ", 2.33f},
      {".5", 0.5f},      {"5.", 5.0f},
      {"+1e2", 100.0f},  {"1.5E-3", 0.0015f},
      {"1,234,5", 0.0f}, {"", 0.0f},
      {"-", 0.0f},       {"inf", 0.0f},
      {"nan", 0.0f},     {"0x1p4", 0.0f},
      {"1e39", 0.0f},    {"12abc", 0.0f},
      {"++1", 0.0f},     {"3.4028235e38", std::numeric_limits<float>::max()}};
  for (const auto& [text, value] : cases)
    EXPECT_EQ(ParseSingle(text), value) << text;
  // Straight to the nearest single, not through a double: this text lies just
  // above a halfway point between two singles that a double rounds onto.
  EXPECT_EQ(ParseSingle("1.00000005960464477550"), 1.00000011920928955078125f);
}

TEST(UpperAsciiKeywords, CompareWithoutCopying) {
  EXPECT_TRUE(EqualsUpperAscii("begin_data", "BEGIN_DATA"));
  EXPECT_FALSE(EqualsUpperAscii("BEGIN_DATA ", "BEGIN_DATA"));
  EXPECT_TRUE(EndsWithUpperAscii("/a/b.lnk", ".LNK"));
  EXPECT_FALSE(EndsWithUpperAscii("nk", ".LNK"));
}

}  // namespace
}  // namespace korimo
