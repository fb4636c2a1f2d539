#include "core/Encoding.h"

#include <gtest/gtest.h>

namespace korimo {
namespace {

TEST(Cp932, HoldsTheCharactersTheOutputsUse) {
  EXPECT_EQ(Utf8ToCp932("⊿E"),
            "\x87\x99"
            "E");
  EXPECT_EQ(Utf8ToCp932("ΔE"),
            "\x83\xA2"
            "E");
  EXPECT_EQ(Utf8ToCp932("基準:"), "\x8A\xEE\x8F\x80:");
  EXPECT_EQ(Cp932ToUtf8("\x87\x99"
                        "E00"),
            "⊿E00");
}

TEST(Cp932, BadInputIsReplacedNotDropped) {
  EXPECT_EQ(Cp932ToUtf8("A\x85"
                        "B"),
            "A\xEF\xBF\xBD"
            "B");
  EXPECT_EQ(Cp932ToUtf8("A\x87"), "A\xEF\xBF\xBD");  // truncated lead byte
  EXPECT_EQ(Utf8ToCp932("a😀b"), "a?b");              // not in CP932
  EXPECT_EQ(Utf8ToCp932("a\xFF"
                        "b"),
            "a?b");
}

TEST(Utf8Validator, AcceptsWellFormedText) {
  EXPECT_TRUE(IsValidUtf8(""));
  EXPECT_TRUE(IsValidUtf8("plain ASCII"));
  EXPECT_TRUE(IsValidUtf8("基準 ⊿E 😀"));
}

TEST(Utf8Validator, RejectsMalformedSequences) {
  for (const char* bad :
       {"\xC0\x80", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xE3\x81", "\x80", "\x87\x99", "\xFF"}) {
    EXPECT_FALSE(IsValidUtf8(bad)) << bad;
  }
}

TEST(Utf8Validator, SequencesMayStraddleChunks) {
  Utf8Validator v;
  v.Feed("\xE5\x9F");
  EXPECT_FALSE(v.Valid());
  EXPECT_FALSE(v.Broken());
  v.Feed("\xBA");
  EXPECT_TRUE(v.Valid());
}

}  // namespace
}  // namespace korimo
