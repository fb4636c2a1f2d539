#include "core/Utf8.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

namespace korimo {
namespace {

// Overlong forms, surrogates, values past U+10FFFF, stray continuation bytes
// and sequences cut short are all refused.
TEST(Utf8, WellFormedSequencesOnly) {
  const std::tuple<const char*, std::size_t> lengths[] = {
      {"A", 1},        {"\xC3\xA9", 2},     {"\xE2\x8A\xBF", 3}, {"\xF0\x9F\x98\x80", 4},
      {"\xC0\x80", 0}, {"\xE0\x80\xAF", 0}, {"\xED\xA0\x80", 0}, {"\xF4\x90\x80\x80", 0},
      {"\x80", 0},     {"\xE3\x81", 0},     {"\xFF", 0},         {"", 0}};
  for (const auto& [text, length] : lengths)
    EXPECT_EQ(Utf8SequenceLength(text), length) << text;
  EXPECT_TRUE(IsValidUtf8("基準 ⊿E00"));
  EXPECT_FALSE(IsValidUtf8("ok\xE3\x81"));
  EXPECT_EQ(ToValidUtf8("a\xE3\x81"
                        "b\x80"),
            "a\uFFFD\uFFFDb\uFFFD");
  EXPECT_EQ(Utf8CharacterSpan("\xE3\x81\x82x"), 3u);
  EXPECT_EQ(Utf8CharacterSpan("\xE3\x81x"), 2u);  // a broken sequence is taken whole
}

}  // namespace
}  // namespace korimo
