#include "core/TextFields.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <tuple>
#include <vector>

namespace korimo {
namespace {

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

}  // namespace
}  // namespace korimo
