#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace korimo {

// Inside the program all text is UTF-8. These are the only places that look
// at its byte structure.

// Length of the well-formed sequence at the start of `text` (1 for ASCII),
// or 0 when none starts there: overlong forms, surrogates, values past
// U+10FFFF and truncated sequences are not well formed.
std::size_t Utf8SequenceLength(std::string_view text);

bool IsValidUtf8(std::string_view text);

// Every byte that starts no well-formed sequence becomes U+FFFD.
std::string ToValidUtf8(std::string_view text);

// The bytes from the start of `text` up to the next byte that is not a
// continuation byte: one character, or one broken sequence taken whole.
// At least 1 for a non-empty text.
std::size_t Utf8CharacterSpan(std::string_view text);

// The last n characters (code points, not bytes) of text.
std::string_view LastChars(std::string_view text, std::size_t n);

// The longest end of text of at most maxBytes bytes that starts at a
// character (not at a continuation byte).
std::string_view LastBytes(std::string_view text, std::size_t maxBytes);

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
