#include "core/TextFields.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace korimo {
namespace {

using Fields = std::vector<std::string>;

TEST(NextField, SplitsLinesAsTheReaderWalksThem) {
  struct Case {
    const char* line;
    Fields fields;
  };
  for (const Case& c : {
           Case{"1 A1  95.12 \t -0.48", {"1", "A1", "95.12", "-0.48"}},  // one separator
           Case{"1\tA1\t\t95.12", {"1", "A1", "", "95.12"}},             // every tab ends a field
           Case{"  BEGIN_DATA", {"  BEGIN_DATA"}},                       // leading blanks stay
           Case{"a\t LAB_L", {"a", " LAB_L"}},
       }) {
    Fields out;
    for (std::size_t pos = 1; pos <= std::string_view(c.line).size();)
      out.emplace_back(NextField(c.line, pos));
    EXPECT_EQ(out, c.fields) << c.line;
  }
  EXPECT_EQ(FieldAt("1\tA1\t\t95.12", 4), "95.12");
  EXPECT_EQ(FieldAt("7 A1 3", 0), "7");
}

TEST(NextField, ReportsWhereTheNextFieldStartsAndQuotesAreStripped) {
  std::size_t pos = 0;  // 0 is taken as 1
  EXPECT_EQ(NextField("ab  cd", pos), "ab");
  EXPECT_EQ(pos, 5u);
  EXPECT_EQ(NextField("ab  cd", pos), "cd");
  EXPECT_EQ(pos, 7u);
  EXPECT_EQ(NextField("ab  cd", pos), "");
  EXPECT_EQ(pos, 7u);
  // One quotation mark is removed at each end.
  const std::pair<const char*, const char*> cases[] = {{"\"A1\"", "A1"}, {"\"A1", "A1"},
                                                       {"A1\"", "A1"},   {"\"\"", ""},
                                                       {"\"", ""},       {"\"\"x\"\"", "\"x\""}};
  for (const auto& [in, out] : cases)
    EXPECT_EQ(StripQuotes(in), out) << in;
}

TEST(ParseSingle, ReadsDecimalTextToTheNearestFloat) {
  const float tiny = std::numeric_limits<float>::denorm_min();
  const std::pair<const char*, float> cases[] = {
      {"95.12", 95.12f}, {" 95,12\t", 95.12f}, {"-0.48", -0.48f}, {"+2.33", 2.33f}, {".5", 0.5f},
      {"5.", 5.0f},      {"1.5e1", 15.0f},     {"-0", 0.0f},      {"1e-45", tiny}};
  for (const auto& [text, value] : cases)
    EXPECT_EQ(ParseSingle(text), value) << text;
  EXPECT_TRUE(std::signbit(ParseSingle("-0")));
  // Just above the midpoint between 1 and the next float: through a double
  // this lands on the midpoint and rounds down to 1.
  EXPECT_EQ(ParseSingle("1.0000000596046447753906251"), 1.00000012f);
  for (const char* text :
       {"", " ", "-", "abc", "1,234,5", "inf", "-inf", "nan", "infinity", "0x1p3", "0x10", "1e39",
        "-1e39", "1e-50", "+-1", "1 2", "12abc", "(5)"}) {
    const float v = ParseSingle(text);
    EXPECT_EQ(v, 0.0f) << text;
    EXPECT_FALSE(std::signbit(v)) << text;
  }
}

}  // namespace
}  // namespace korimo
