#include "core/Encoding.h"

#include <gtest/gtest.h>

namespace korimo {
namespace {

// "⊿" is 87 99 and "Δ" 83 A2 in CP932; what CP932 cannot hold becomes "?",
// bytes CP932 does not define become U+FFFD, one for each.
TEST(Encoding, Cp932RoundTripOfTheOutputsCharactersAndReplacements) {
  EXPECT_EQ(Utf8ToCp932("基準:⊿ Δ"), "\x8A\xEE\x8F\x80:\x87\x99 \x83\xA2");
  EXPECT_EQ(Cp932ToUtf8("\x8A\xEE\x8F\x80:\x87\x99 \x83\xA2"), "基準:⊿ Δ");
  EXPECT_EQ(Cp932ToUtf8("A\x85-\x87"), "A\xEF\xBF\xBD-\xEF\xBF\xBD");
  EXPECT_EQ(Utf8ToCp932("a😀b\xFF"), "a?b?");
  EXPECT_EQ(Utf8ToCp932("x\xE3\x81y"), "x?y");  // a cut sequence is one character
  EXPECT_EQ(Utf8ToCp932(std::string(100000, '7')), std::string(100000, '7'));
}

}  // namespace
}  // namespace korimo
