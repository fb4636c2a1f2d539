#pragma once

#include <string>
#include <string_view>

namespace korimo {

// The same bytes as Utf8ToCp932, faster for text that is mostly ASCII (the
// results text is digits and tabs): ASCII is its own encoding in CP932, so
// only the runs of other bytes go through the converter.
std::string EncodeCp932(std::string_view utf8);

}  // namespace korimo
