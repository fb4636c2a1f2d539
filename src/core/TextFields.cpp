#include "core/TextFields.h"

#include <charconv>
#include <cmath>
#include <optional>
#include <system_error>

namespace korimo {

namespace {

constexpr char kTab = '\t';
constexpr char kBlank = ' ';

bool IsBlank(char c) {
  return c == kBlank || c == kTab;
}

}  // namespace

std::string_view NextTabField(std::string_view line, std::size_t& pos) {
  if (pos == 0)
    pos = 1;
  const std::size_t length = line.size();
  std::size_t tab = pos <= length ? line.find(kTab, pos - 1) : std::string_view::npos;
  const std::size_t stop = tab == std::string_view::npos ? length + 1 : tab + 1;  // 1-based
  std::string_view field;
  if (pos < stop)
    field = line.substr(pos - 1, stop - pos);
  pos = stop + 1;
  return field;
}

std::string_view NextField(std::string_view line, std::size_t& pos) {
  if (pos == 0)
    pos = 1;
  const std::size_t length = line.size();
  if (pos > length) {
    pos = length + 1;
    return {};
  }
  const char* const begin = line.data();
  const char* const end = begin + length;
  const char* p = begin + (pos - 1);
  // Leading blanks belong to the field; a tab anywhere before the blank that
  // ends the text makes it a tab-separated field.
  while (p != end && *p == kBlank)
    ++p;
  while (p != end && !IsBlank(*p))
    ++p;
  if (p == end) {
    std::string_view field = line.substr(pos - 1);
    pos = length + 1;
    return field;
  }
  if (*p == kTab)
    return NextTabField(line, pos);
  // A blank after text ends the field, and the whole run of blanks and tabs
  // it starts is one separator.
  std::string_view field = line.substr(pos - 1, static_cast<std::size_t>(p - begin) - (pos - 1));
  while (p != end && IsBlank(*p))
    ++p;
  pos = static_cast<std::size_t>(p - begin) + 1;
  return field;
}

std::string_view StripQuotes(std::string_view text) {
  if (!text.empty() && text.front() == '"') {
    text = text.size() < 2 ? std::string_view{} : text.substr(1);
  }
  if (!text.empty() && text.back() == '"') {
    text = text.size() < 2 ? std::string_view{} : text.substr(0, text.size() - 1);
  }
  return text;
}

namespace {

// Plain decimal notation with an optional sign, fraction and exponent, blanks
// and tabs around it ignored; from_chars alone would also take "inf", "nan"
// and "infinity", which would poison every average downstream.
template <typename T>
std::optional<T> ParsePlainDecimal(std::string_view text) {
  while (!text.empty() && IsBlank(text.front()))
    text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back()))
    text.remove_suffix(1);
  if (!text.empty() && text.front() == '+') {
    text.remove_prefix(1);
    if (!text.empty() && (text.front() == '+' || text.front() == '-'))
      return std::nullopt;
  }
  // After the sign only a digit or a point can start a plain decimal; from
  // there on from_chars takes nothing but digits, a point and an exponent, and
  // it must take the whole text.
  const std::size_t first = !text.empty() && text.front() == '-' ? 1 : 0;
  if (first >= text.size())
    return std::nullopt;
  if (const char c = text[first]; !(c >= '0' && c <= '9') && c != '.')
    return std::nullopt;
  T value = 0;
  auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc{} || ptr != text.data() + text.size() || !std::isfinite(value)) {
    return std::nullopt;
  }
  return value;
}

}  // namespace

std::optional<double> ParseDecimal(std::string_view text) {
  return ParsePlainDecimal<double>(text);
}

float ParseSingle(std::string_view text) {
  const std::size_t comma = text.find(',');
  // Straight to the nearest float: going through double could round twice.
  if (comma == std::string_view::npos)
    return ParsePlainDecimal<float>(text).value_or(0.0f);
  std::string t(text);
  t[comma] = '.';
  return ParsePlainDecimal<float>(t).value_or(0.0f);
}

bool EqualsUpperAscii(std::string_view text, std::string_view upper) {
  if (text.size() != upper.size())
    return false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c >= 'a' && c <= 'z')
      c = static_cast<char>(c - 'a' + 'A');
    if (c != upper[i])
      return false;
  }
  return true;
}

bool EndsWithUpperAscii(std::string_view text, std::string_view upperSuffix) {
  return text.size() >= upperSuffix.size() &&
         EqualsUpperAscii(text.substr(text.size() - upperSuffix.size()), upperSuffix);
}

}  // namespace korimo
