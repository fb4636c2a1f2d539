#include <gtest/gtest.h>

#include <random>

#include "cli/Cp932Text.h"
#include "core/Encoding.h"

namespace korimo {
namespace {

TEST(CliCp932Text, SameBytesAsTheConverterForTrickyText) {
  std::string allAscii;
  for (int c = 0; c < 0x80; ++c)
    allAscii += static_cast<char>(c);
  for (const std::string& text : std::vector<std::string>{
           "", allAscii, "基準:C:\\data\\ref.txt\r\n", "No.\t⊿E\t⊿E00\r\n", "ﾊﾟｯﾁ~\\",
           "\xE6\x97"
           "A",                      // truncated sequence before ASCII
           "A\xE6\x97",              // truncated at the end
           "\x80\x80x\xFF\xC0\xAF",  // stray continuation and invalid lead bytes
           "😀 cannot be CP932", "Ω≠∑ and ①②"}) {
    EXPECT_EQ(EncodeCp932(text), Utf8ToCp932(text)) << text;
  }
}

TEST(CliCp932Text, SameBytesAsTheConverterForRandomBytes) {
  std::mt19937 rng(932);
  const std::string pieces[] = {"a",    "\t",       "\r\n",     "基",   "⊿",    "ｯ", "\x80",
                                "\xE6", "\xE6\x97", "\xF0\x9F", "\xFF", "0.00", "😀"};
  for (int round = 0; round < 500; ++round) {
    std::string text;
    const int length = static_cast<int>(rng() % 24);
    for (int i = 0; i < length; ++i)
      text += pieces[rng() % std::size(pieces)];
    ASSERT_EQ(EncodeCp932(text), Utf8ToCp932(text)) << "round " << round;
  }
}

}  // namespace
}  // namespace korimo
