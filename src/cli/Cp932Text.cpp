#include "cli/Cp932Text.h"

#include <algorithm>

#include "core/Encoding.h"

namespace korimo {

namespace {

bool IsAscii(char c) {
  return static_cast<unsigned char>(c) < 0x80;
}

}  // namespace

// The converter replaces a broken sequence together with its continuation
// bytes only, never with a following ASCII byte, so cutting the text at
// ASCII bytes cannot change what it writes.
std::string EncodeCp932(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  auto it = utf8.begin();
  while (it != utf8.end()) {
    const auto other = std::find_if_not(it, utf8.end(), IsAscii);
    out.append(it, other);
    const auto ascii = std::find_if(other, utf8.end(), IsAscii);
    if (other != ascii)
      out += Utf8ToCp932(std::string_view(&*other, static_cast<std::size_t>(ascii - other)));
    it = ascii;
  }
  return out;
}

}  // namespace korimo
