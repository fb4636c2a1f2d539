#include "core/TextFields.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <optional>
#include <system_error>
#include <type_traits>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

namespace {

// Where the runs a field split walks end: the first byte from `p` on that is
// not a blank, that is a blank or a tab, or that is neither. Sixteen bytes
// at a time where the line allows, one at a time at its end.
enum class Run { Blanks, Text, Separators };

template <Run kind>
bool Continues(char c) {
  if constexpr (kind == Run::Blanks)
    return c == kBlank;
  else if constexpr (kind == Run::Text)
    return c != kBlank && c != kTab;
  else
    return IsBlank(c);
}

template <Run kind>
const char* RunEnd(const char* p, const char* end) {
#if defined(__SSE2__)
  const __m128i blank = _mm_set1_epi8(kBlank);
  const __m128i tab = _mm_set1_epi8(kTab);
  while (end - p >= 16) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const int blanks = _mm_movemask_epi8(_mm_cmpeq_epi8(bytes, blank));
    const int tabs = _mm_movemask_epi8(_mm_cmpeq_epi8(bytes, tab));
    int stops = 0;  // bit i: byte i ends the run
    if constexpr (kind == Run::Blanks)
      stops = ~blanks & 0xFFFF;
    else if constexpr (kind == Run::Text)
      stops = blanks | tabs;
    else
      stops = ~(blanks | tabs) & 0xFFFF;
    if (stops != 0)
      return p + __builtin_ctz(static_cast<unsigned>(stops));
    p += 16;
  }
#endif
  while (p != end && Continues<kind>(*p))
    ++p;
  return p;
}

}  // namespace

void SplitFields(std::string_view line, int count, std::vector<std::string_view>& fields) {
  fields.clear();
  const char* const end = line.data() + line.size();
  const char* start = line.data();
  // Each turn is one NextField from `start`, without its bookkeeping.
  while (static_cast<int>(fields.size()) < count && start != end) {
    const char* p = RunEnd<Run::Text>(RunEnd<Run::Blanks>(start, end), end);
    fields.emplace_back(start, static_cast<std::size_t>(p - start));
    if (p == end)
      return;
    start = *p == kTab ? p + 1 : RunEnd<Run::Separators>(p, end);
  }
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
  const char* const end = text.data() + text.size();
  T value = 0;
  const auto [ptr, ec] = std::from_chars(text.data(), end, value);
  if (ec == std::errc{} && ptr == end && std::isfinite(value))
    return value;
  if constexpr (std::is_same_v<T, float>) {
    // Below the smallest single a value is as good as zero; above the
    // largest it is no measurement.
    double wide = 0;
    const auto [wideEnd, wideError] = std::from_chars(text.data(), end, wide);
    if (ec == std::errc::result_out_of_range && wideError == std::errc{} && wideEnd == end &&
        std::fabs(wide) < 1.0)
      return static_cast<float>(wide);
  }
  return std::nullopt;
}

}  // namespace

std::optional<double> ParseDecimal(std::string_view text) {
  return ParsePlainDecimal<double>(text);
}

std::optional<float> ParseFloat(std::string_view text) {
  return ParsePlainDecimal<float>(text);
}

namespace {

// A decimal of at most seven digits and no exponent, the form nearly every
// measured value takes, read without the general parser: its digits as an
// integer m below 2^24 and its power of ten are both exact floats, so one
// division rounds m / 10^k once, to the float nearest the decimal, as
// from_chars does. Anything else answers nullopt and takes the general route.
std::optional<float> ShortDecimal(std::string_view text) {
  static constexpr float kPowers[] = {1e0f, 1e1f, 1e2f, 1e3f, 1e4f, 1e5f, 1e6f, 1e7f};
  const char* p = text.data();
  const char* end = p + text.size();
  while (p != end && IsBlank(*p))
    ++p;
  while (end != p && IsBlank(end[-1]))
    --end;
  bool negative = false;
  if (p != end && (*p == '-' || *p == '+')) {
    negative = *p == '-';
    ++p;
  }
  // Unsigned arithmetic wraps harmlessly on a long run of digits, which is
  // refused below anyway.
  std::uint32_t m = 0;
  const auto digit = [](char c) { return static_cast<unsigned char>(c - '0') <= 9; };
  const char* const whole = p;
  for (; p != end && digit(*p); ++p)
    m = m * 10 + static_cast<std::uint32_t>(*p - '0');
  const std::ptrdiff_t wholeDigits = p - whole;
  std::ptrdiff_t fraction = 0;
  if (p != end && (*p == '.' || *p == ',')) {
    const char* const point = ++p;
    for (; p != end && digit(*p); ++p)
      m = m * 10 + static_cast<std::uint32_t>(*p - '0');
    fraction = p - point;
  }
  const std::ptrdiff_t digits = wholeDigits + fraction;
  if (p != end || digits == 0 || digits > 7)
    return std::nullopt;
  const float value = static_cast<float>(m) / kPowers[fraction];
  return negative ? -value : value;
}

}  // namespace

float ParseSingle(std::string_view text) {
  if (const std::optional<float> value = ShortDecimal(text))
    return *value;
  const std::size_t comma = text.find(',');
  // Straight to the nearest float: going through double could round twice.
  if (comma == std::string_view::npos)
    return ParseFloat(text).value_or(0.0f);
  std::string t(text);
  t[comma] = '.';
  return ParseFloat(t).value_or(0.0f);
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
