#include "cli/JsonLayout.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>

namespace korimo {
namespace {

using Json = nlohmann::ordered_json;

// 95.12 read as a single and widened is 95.12000274658203; every number is
// the shortest text that reads back to the same double.
TEST(JsonLayout, NumbersAreShortestRoundTripsAndStringsEscaped) {
  EXPECT_EQ(LayOutJson(Json::array({static_cast<double>(95.12f), 0.1, 1e-7, 2.0, 1e21})),
            "[95.12000274658203, 0.1, 1e-07, 2, 1e+21]\n");
  EXPECT_EQ(LayOutJson(Json::array({std::numeric_limits<double>::infinity(), std::nan("")})),
            "[null, null]\n");
  EXPECT_EQ(LayOutJson(Json::array({"q\"b\\s\x01\t⊿\x7f"})), "[\"q\\\"b\\\\s\\u0001\\t⊿\x7f\"]\n");
  std::mt19937_64 rng(12);
  std::uniform_int_distribution<std::uint32_t> bits;
  for (int i = 0; i < 20000; ++i) {
    const std::uint32_t word = bits(rng);
    float f;
    std::memcpy(&f, &word, sizeof f);
    if (!std::isfinite(f))
      continue;
    const std::string text = LayOutJson(Json::array({static_cast<double>(f)}));
    double back = 0;
    std::from_chars(text.data() + 1, text.data() + text.size() - 2, back);
    ASSERT_EQ(back, static_cast<double>(f)) << text;
  }
}

}  // namespace
}  // namespace korimo
