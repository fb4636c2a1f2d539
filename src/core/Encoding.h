#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace korimo {

// Text of the system's files is CP932 (Windows-31J); inside the program all
// text is UTF-8. Characters a target cannot hold become '?' (to CP932) or
// U+FFFD (from CP932) rather than failing the whole conversion.
std::string Cp932ToUtf8(std::string_view cp932);
std::string Utf8ToCp932(std::string_view utf8);

// No chart names a patch with more than a few dozen characters; a longer
// identifier is kept by its end, which is what the grid shows of it, and
// cannot make memory grow with the file.
inline constexpr std::size_t kMaxIdentifierBytes = 256;

// An identifier field as the reader stores it: decoded to UTF-8 (from CP932
// unless the file is UTF-8) and cut to its last kMaxIdentifierBytes bytes at
// a character boundary.
std::string StoredIdentifier(std::string_view raw, bool utf8);

}  // namespace korimo
