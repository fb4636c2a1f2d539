#include "core/Utf8.h"

#include <cstdint>
#include <cstring>

namespace korimo {

namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD

bool IsContinuation(unsigned char c) {
  return (c & 0xC0) == 0x80;
}

// A lead byte: how many continuation bytes follow it and the allowed range
// of the first one, which rules out overlong forms, surrogates and values
// past U+10FFFF. `continuations` is -1 for a byte that leads nothing.
struct Lead {
  int continuations = -1;
  unsigned char lower = 0x80;
  unsigned char upper = 0xBF;
};

Lead LeadOf(unsigned char c) {
  if (c < 0x80)
    return {0};
  if (c >= 0xC2 && c <= 0xDF)
    return {1};
  if (c == 0xE0)
    return {2, 0xA0, 0xBF};
  if ((c >= 0xE1 && c <= 0xEC) || c == 0xEE || c == 0xEF)
    return {2};
  if (c == 0xED)
    return {2, 0x80, 0x9F};
  if (c == 0xF0)
    return {3, 0x90, 0xBF};
  if (c >= 0xF1 && c <= 0xF3)
    return {3};
  if (c == 0xF4)
    return {3, 0x80, 0x8F};
  return {};
}

}  // namespace

std::size_t Utf8SequenceLength(std::string_view text) {
  if (text.empty())
    return 0;
  const Lead lead = LeadOf(static_cast<unsigned char>(text[0]));
  if (lead.continuations < 0)
    return 0;
  const auto length = static_cast<std::size_t>(lead.continuations) + 1;
  if (text.size() < length)
    return 0;
  for (std::size_t i = 1; i < length; ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    const unsigned char lower = i == 1 ? lead.lower : 0x80;
    const unsigned char upper = i == 1 ? lead.upper : 0xBF;
    if (c < lower || c > upper)
      return 0;
  }
  return length;
}

bool IsValidUtf8(std::string_view text) {
  Utf8Validator v;
  v.Feed(text);
  return v.Valid();
}

std::string ToValidUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  while (!text.empty()) {
    const std::size_t length = Utf8SequenceLength(text);
    if (length == 0) {
      out += kReplacement;
      text.remove_prefix(1);
      continue;
    }
    out.append(text.substr(0, length));
    text.remove_prefix(length);
  }
  return out;
}

std::size_t Utf8CharacterSpan(std::string_view text) {
  std::size_t span = text.empty() ? 0 : 1;
  while (span < text.size() && IsContinuation(static_cast<unsigned char>(text[span])))
    ++span;
  return span;
}

std::string_view LastChars(std::string_view text, std::size_t n) {
  std::size_t start = text.size();
  for (std::size_t taken = 0; start > 0 && taken < n; ++taken) {
    --start;
    while (start > 0 && IsContinuation(static_cast<unsigned char>(text[start])))
      --start;
  }
  return text.substr(start);
}

std::string_view LastBytes(std::string_view text, std::size_t maxBytes) {
  std::size_t start = text.size() - std::min(text.size(), maxBytes);
  while (start < text.size() && IsContinuation(static_cast<unsigned char>(text[start])))
    ++start;
  return text.substr(start);
}

namespace {

// Measurement files are nearly all ASCII: eight bytes without a high bit
// are passed over at once.
std::size_t AsciiRun(std::string_view text, std::size_t from) {
  constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;
  std::size_t i = from;
  while (i + 8 <= text.size()) {
    std::uint64_t word;
    std::memcpy(&word, text.data() + i, sizeof word);
    if ((word & kHighBits) != 0)
      break;
    i += 8;
  }
  return i;
}

}  // namespace

void Utf8Validator::Feed(std::string_view chunk) {
  for (std::size_t i = 0; i < chunk.size(); ++i) {
    if (!valid_)
      return;
    if (pending_ == 0) {
      i = AsciiRun(chunk, i);
      if (i == chunk.size())
        return;
    }
    const auto c = static_cast<unsigned char>(chunk[i]);
    if (pending_ > 0) {
      if (c < lower_ || c > upper_) {
        valid_ = false;
        return;
      }
      lower_ = 0x80;
      upper_ = 0xBF;
      --pending_;
      continue;
    }
    const Lead lead = LeadOf(c);
    if (lead.continuations < 0) {
      valid_ = false;
      return;
    }
    pending_ = lead.continuations;
    lower_ = lead.lower;
    upper_ = lead.upper;
  }
}

}  // namespace korimo
