#pragma once

#include <string>
#include <string_view>

namespace korimo {

// Text of the system's files is CP932 (Windows-31J); inside the program all
// text is UTF-8. Characters a target cannot hold become '?' (to CP932) or
// U+FFFD (from CP932) rather than failing the whole conversion.
std::string Cp932ToUtf8(std::string_view cp932);
std::string Utf8ToCp932(std::string_view utf8);

bool IsValidUtf8(std::string_view text);

// Incremental check over a file read in chunks; a sequence may straddle two
// chunks.
class Utf8Validator {
 public:
  void Feed(std::string_view chunk);
  // True when everything fed so far is valid and no sequence is left open.
  bool Valid() const { return valid_ && pending_ == 0; }
  // True once a byte was seen that no continuation can make valid.
  bool Broken() const { return !valid_; }

 private:
  bool valid_ = true;
  int pending_ = 0;             // continuation bytes still expected
  unsigned char lower_ = 0x80;  // allowed range of the next continuation byte
  unsigned char upper_ = 0xBF;
};

}  // namespace korimo
