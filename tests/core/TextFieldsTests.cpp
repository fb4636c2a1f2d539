#include "core/TextFields.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace korimo {
namespace {

// Splits a whole line the way the reader walks it.
std::vector<std::string> Split(std::string_view line) {
  std::vector<std::string> out;
  std::size_t pos = 1;
  while (pos <= line.size())
    out.emplace_back(NextField(line, pos));
  return out;
}

TEST(NextField, BlankRunsAreOneSeparator) {
  EXPECT_EQ(Split("1 A1  95.12 \t -0.48"), (std::vector<std::string>{"1", "A1", "95.12", "-0.48"}));
}

TEST(NextField, EveryTabEndsAFieldSoEmptyColumnsKeepTheirNumbers) {
  EXPECT_EQ(Split("1\tA1\t\t95.12"), (std::vector<std::string>{"1", "A1", "", "95.12"}));
  EXPECT_EQ(FieldAt("1\tA1\t\t95.12", 4), "95.12");
}

TEST(NextField, LeadingBlanksStayInTheField) {
  EXPECT_EQ(Split("  BEGIN_DATA"), (std::vector<std::string>{"  BEGIN_DATA"}));
  EXPECT_EQ(Split("a\t LAB_L"), (std::vector<std::string>{"a", " LAB_L"}));
}

TEST(NextField, ReportsWhereTheNextFieldStarts) {
  std::size_t pos = 0;  // 0 is taken as 1
  EXPECT_EQ(NextField("ab  cd", pos), "ab");
  EXPECT_EQ(pos, 5u);
  EXPECT_EQ(NextField("ab  cd", pos), "cd");
  EXPECT_EQ(pos, 7u);
  EXPECT_EQ(NextField("ab  cd", pos), "");
  EXPECT_EQ(pos, 7u);
}

TEST(NextTabField, TakesTextUpToTheTab) {
  std::size_t pos = 1;
  EXPECT_EQ(NextTabField("No.\tID", pos), "No.");
  EXPECT_EQ(pos, 5u);
  EXPECT_EQ(NextTabField("No.\tID", pos), "ID");
  EXPECT_EQ(pos, 8u);
}

TEST(FieldAt, ColumnZeroTakesTheFirstField) {
  EXPECT_EQ(FieldAt("7 A1 3", 0), "7");
}

TEST(StripQuotes, RemovesOneQuoteAtEachEnd) {
  EXPECT_EQ(StripQuotes("\"A1\""), "A1");
  EXPECT_EQ(StripQuotes("\"A1"), "A1");
  EXPECT_EQ(StripQuotes("A1\""), "A1");
  EXPECT_EQ(StripQuotes("\"\""), "");
  EXPECT_EQ(StripQuotes("\""), "");
  EXPECT_EQ(StripQuotes("\"\"x\"\""), "\"x\"");
}

TEST(ParseSingle, ReadsDecimalTextToTheNearestFloat) {
  EXPECT_EQ(ParseSingle("95.12"), 95.12f);
  EXPECT_EQ(ParseSingle(" 95,12\t"), 95.12f);
  EXPECT_EQ(ParseSingle("-0.48"), -0.48f);
  EXPECT_EQ(ParseSingle("+2.33"), 2.33f);
  EXPECT_EQ(ParseSingle(".5"), 0.5f);
  EXPECT_EQ(ParseSingle("5."), 5.0f);
  EXPECT_EQ(ParseSingle("1.5e1"), 15.0f);
  EXPECT_EQ(ParseSingle("1e-45"), std::numeric_limits<float>::denorm_min());
  const float negZero = ParseSingle("-0");
  EXPECT_EQ(negZero, 0.0f);
  EXPECT_TRUE(std::signbit(negZero));
}

TEST(ParseSingle, ConvertsDirectlyWithoutRoundingTwice) {
  // Just above the midpoint between 1 and the next float: through a double
  // this lands exactly on the midpoint and then rounds down to 1.
  EXPECT_EQ(ParseSingle("1.0000000596046447753906251"), 1.00000012f);
}

TEST(ParseSingle, AnythingButAPlainNumberIsZero) {
  for (const char* text : {"", " ", "-", "abc", "1,234,5", "inf", "-inf", "nan", "infinity",
                           "0x1p3", "0x10", "1e39", "-1e39", "+-1", "1 2", "12abc", "(5)"}) {
    const float v = ParseSingle(text);
    EXPECT_EQ(v, 0.0f) << text;
    EXPECT_FALSE(std::signbit(v)) << text;
  }
}

}  // namespace
}  // namespace korimo
