#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korimo {

// Field splitting of measurement-file lines. Positions are 1-based, like the
// positions users count in an editor; pos 0 is taken as 1. Lines may be of any
// length, so positions are size_t.

// Next field at pos, split at tabs and blanks; pos moves to the next field.
std::string_view NextField(std::string_view line, std::size_t& pos);

// The first `count` fields that NextField gives from the line's start, or
// fewer when the line ends first.
void SplitFields(std::string_view line, int count, std::vector<std::string_view>& fields);

// Text from pos up to the next tab (or the end); pos moves past the tab.
std::string_view NextTabField(std::string_view line, std::size_t& pos);

// One double quotation mark removed at each end.
std::string_view StripQuotes(std::string_view text);

// Plain decimal text (sign, fraction, exponent; blanks and tabs around
// ignored) to the nearest 32-bit float, rounded once; nullopt for anything
// else, including inf, nan, hex and values beyond the float range. Values
// below the smallest float are 0.
std::optional<float> ParseFloat(std::string_view text);

// The same with the first comma as the decimal point, and 0 for whatever is
// no number (text, inf, nan, hex, out of float range).
float ParseSingle(std::string_view text);

// Plain decimal text (sign, fraction, exponent; blanks around ignored) to a
// double; nullopt for anything else, including inf, nan and overflow.
std::optional<double> ParseDecimal(std::string_view text);

// Whether text, upper-cased in ASCII, equals / ends with the upper-case
// `upper` (keywords, field names, file extensions), without copying it.
bool EqualsUpperAscii(std::string_view text, std::string_view upper);
bool EndsWithUpperAscii(std::string_view text, std::string_view upperSuffix);

}  // namespace korimo
