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

  // With `keepLast`, only the last bytes of the result are wanted: the
  // front is dropped as the conversion goes, so a text of any length costs
  // bounded memory. At least `keepLast` bytes are kept, cut anywhere.
  std::string Convert(std::string_view input, std::string_view replacement, bool skipUtf8Character,
                      std::size_t keepLast = 0) const {
    if (cd_ == reinterpret_cast<iconv_t>(-1))
      return std::string(
          keepLast > 0 ? input.substr(input.size() - std::min(input.size(), keepLast)) : input);
    std::string out;
    out.reserve(keepLast > 0 ? 2 * keepLast + 512 : input.size() * 2);
    char* in = const_cast<char*>(input.data());
    std::size_t inLeft = input.size();
    char buffer[256];
    while (inLeft > 0) {
      char* outPtr = buffer;
      std::size_t outLeft = sizeof buffer;
      const std::size_t rc = iconv(cd_, &in, &inLeft, &outPtr, &outLeft);
      out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
      if (keepLast > 0 && out.size() > 2 * keepLast)
        out.erase(0, out.size() - keepLast);
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

namespace {

const Converter& FromCp932() {
  static const Converter converter("UTF-8", "CP932");
  return converter;
}

constexpr std::string_view kReplacementCharacter = "\xEF\xBF\xBD";

}  // namespace

std::string Cp932ToUtf8(std::string_view cp932) {
  return FromCp932().Convert(cp932, kReplacementCharacter, false);
}

// CP932 is decoded whole, since its characters cannot be told apart from the
// end, but only its tail is kept.
std::string StoredIdentifier(std::string_view raw, bool utf8) {
  if (utf8)
    return std::string(LastBytes(raw, kMaxIdentifierBytes));
  const std::string tail =
      FromCp932().Convert(raw, kReplacementCharacter, false, kMaxIdentifierBytes);
  return std::string(LastBytes(tail, kMaxIdentifierBytes));
}

// ASCII is its own encoding in CP932, and results files are mostly digits
// and tabs, so only the runs of other bytes go through iconv. A broken
// sequence is replaced with its continuation bytes only, never with a
// following ASCII byte, so cutting at ASCII bytes changes nothing.
std::string Utf8ToCp932(std::string_view utf8) {
  static const Converter converter("CP932", "UTF-8");
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
