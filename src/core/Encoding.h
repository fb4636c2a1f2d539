#pragma once

#include <string>
#include <string_view>

namespace korimo {

// Text of the system's files is CP932 (Windows-31J); inside the program all
// text is UTF-8. Characters a target cannot hold become '?' (to CP932) or
// U+FFFD (from CP932) rather than failing the whole conversion.
std::string Cp932ToUtf8(std::string_view cp932);
std::string Utf8ToCp932(std::string_view utf8);

}  // namespace korimo
