#include "core/Encoding.h"

#include "core/Utf8.h"

#include <iconv.h>
#include <algorithm>
#include <cerrno>

namespace korimo {

namespace {

// One conversion through glibc's iconv. Where the input holds a sequence the
// source encoding does not define, or a character the target cannot hold,
// `replacement` is written and the conversion goes on one byte (or one
// character) later, so a single bad byte never loses a whole identifier.
class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Converter() {
    if (cd_ != reinterpret_cast<iconv_t>(-1))
      iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  std::string Convert(std::string_view input, std::string_view replacement,
                      bool skipUtf8Character) const {
    if (cd_ == reinterpret_cast<iconv_t>(-1))
      return std::string(input);
    std::string out;
    out.reserve(input.size() * 2);
    char* in = const_cast<char*>(input.data());
    std::size_t inLeft = input.size();
    char buffer[256];
    while (inLeft > 0) {
      char* outPtr = buffer;
      std::size_t outLeft = sizeof buffer;
      const std::size_t rc = iconv(cd_, &in, &inLeft, &outPtr, &outLeft);
      out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
      if (rc != static_cast<std::size_t>(-1))
        continue;
      if (errno == E2BIG)
        continue;
      // EILSEQ or EINVAL (truncated sequence at the end): replace and skip.
      out.append(replacement);
      const std::size_t skip =
          skipUtf8Character ? Utf8CharacterSpan(std::string_view(in, inLeft)) : 1;
      in += skip;
      inLeft -= skip;
      iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    }
    char* outPtr = buffer;
    std::size_t outLeft = sizeof buffer;
    iconv(cd_, nullptr, nullptr, &outPtr, &outLeft);
    out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
    return out;
  }

 private:
  iconv_t cd_;
};

}  // namespace

// A descriptor carries its shift state from call to call, so each thread
// that reads files (a run reads on several) has its own.
std::string Cp932ToUtf8(std::string_view cp932) {
  thread_local const Converter converter("UTF-8", "CP932");
  return converter.Convert(cp932, "\xEF\xBF\xBD", false);
}

namespace {

bool IsCp932Lead(unsigned char c) {
  return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

bool IsCp932Trail(unsigned char c) {
  return (c >= 0x40 && c <= 0x7E) || (c >= 0x80 && c <= 0xFC);
}

// Where the last character starting at or before `limit` starts. CP932
// characters cannot be told apart from the end, but a walk from the start
// over the byte ranges costs little, unlike decoding every character.
std::size_t Cp932CharacterStart(std::string_view text, std::size_t limit) {
  std::size_t start = 0;
  for (std::size_t i = 0; i <= limit && i < text.size();) {
    start = i;
    const bool pair = IsCp932Lead(static_cast<unsigned char>(text[i])) && i + 1 < text.size() &&
                      IsCp932Trail(static_cast<unsigned char>(text[i + 1]));
    i += pair ? 2 : 1;
  }
  return start;
}

}  // namespace

// Every byte decodes to at least one byte of UTF-8, so decoding from a
// character that leaves the bytes kept gives the end of the whole.
std::string StoredIdentifier(std::string_view raw, bool utf8) {
  if (utf8)
    return std::string(LastBytes(raw, kMaxIdentifierBytes));
  const std::size_t from = raw.size() > kMaxIdentifierBytes
                               ? Cp932CharacterStart(raw, raw.size() - kMaxIdentifierBytes)
                               : 0;
  return std::string(LastBytes(Cp932ToUtf8(raw.substr(from)), kMaxIdentifierBytes));
}

// ASCII is its own encoding in CP932, and results files are mostly digits
// and tabs, so only the runs of other bytes go through iconv. A broken
// sequence is replaced with its continuation bytes only, never with a
// following ASCII byte, so cutting at ASCII bytes changes nothing.
std::string Utf8ToCp932(std::string_view utf8) {
  thread_local const Converter converter("CP932", "UTF-8");
  const auto isAscii = [](char c) { return static_cast<unsigned char>(c) < 0x80; };
  std::string out;
  out.reserve(utf8.size());
  auto it = utf8.begin();
  while (it != utf8.end()) {
    const auto other = std::find_if_not(it, utf8.end(), isAscii);
    out.append(it, other);
    const auto ascii = std::find_if(other, utf8.end(), isAscii);
    if (other != ascii) {
      out += converter.Convert(std::string_view(&*other, static_cast<std::size_t>(ascii - other)),
                               "?", true);
    }
    it = ascii;
  }
  return out;
}

}  // namespace korimo
