#include "core/Common.h"

#include "core/TextFields.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <numeric>
#include <optional>
#include <system_error>
#include <utility>
#include <vector>

namespace korimo {

namespace {

constexpr int kSignificantDigits = 15;

}  // namespace

namespace {

// The decimal digits of |x| and the power of ten of the first one:
// |x| = 0.d1 d2 d3 ... * 10^(exponent + 1).
struct Decimal {
  char digits[32];
  int count = 0;
  int exponent = 0;
};

Decimal ParseScientific(const char* begin, const char* end) {
  Decimal d;
  const char* p = begin;
  for (; p != end && *p != 'e'; ++p) {
    if (*p != '.')
      d.digits[d.count++] = *p;
  }
  // to_chars writes the exponent as e, a sign and at least two digits.
  if (p != end)
    ++p;
  const bool negative = p != end && *p == '-';
  if (p != end && (*p == '-' || *p == '+'))
    ++p;
  for (; p != end; ++p)
    d.exponent = d.exponent * 10 + (*p - '0');
  if (negative)
    d.exponent = -d.exponent;
  return d;
}

// |x| with 15 significant digits, correctly rounded. The shortest text that
// reads back to x is cheap to get and, unless it is a 16-digit text ending in
// 5 (a rounding midpoint itself), lies on the same side of every 15-digit
// midpoint as x does: a midpoint between the two would be a shorter or a
// closer text that still reads back to x. Only that case needs the slower
// fixed-precision conversion.
Decimal FifteenDigits(double ax) {
  char buf[64];
  auto [end, ec] = std::to_chars(buf, buf + sizeof buf, ax, std::chars_format::scientific);
  Decimal d = ParseScientific(buf, end);
  if (d.count <= kSignificantDigits)
    return d;
  if (d.count == kSignificantDigits + 1 && d.digits[kSignificantDigits] == '5') {
    auto [pend, pec] = std::to_chars(buf, buf + sizeof buf, ax, std::chars_format::scientific,
                                     kSignificantDigits - 1);
    return ParseScientific(buf, pend);
  }
  const bool up = d.digits[kSignificantDigits] >= '5';
  d.count = kSignificantDigits;
  if (up) {
    int i = d.count - 1;
    while (i >= 0 && d.digits[i] == '9')
      d.digits[i--] = '0';
    if (i >= 0) {
      ++d.digits[i];
    } else {
      d.digits[0] = '1';  // 9.99...9 became 10.0...0
      ++d.exponent;
    }
  }
  return d;
}

// The text of n / 10^decimals, with a minus sign when asked and n is not 0,
// written to end just before `end`; returns where it starts.
char* ComposeScaledInto(std::uint64_t n, int decimals, bool negative, char* const end) {
  char* p = end;
  const bool zero = n == 0;
  const auto digit = [&p, &n] {
    *--p = static_cast<char>('0' + n % 10);
    n /= 10;
  };
  for (int k = 0; k < decimals; ++k)
    digit();
  if (decimals > 0)
    *--p = '.';
  do
    digit();
  while (n != 0);
  if (negative && !zero)
    *--p = '-';
  return p;
}

std::string ComposeScaled(std::uint64_t n, int decimals, bool negative) {
  char buf[48];
  char* const end = buf + sizeof buf;
  return std::string(ComposeScaledInto(n, decimals, negative, end), end);
}

// Rounding |x| * 10^decimals to an integer gives the same result as rounding
// its 15-significant-digit form, unless it lies within a few units of the
// 15th digit of a half: neither the 15-digit form nor the product's own
// rounding error (both below 1e-14 relative) can carry it across. Only
// values that close to a half take the decimal route.
std::optional<std::uint64_t> ScaledAwayFromHalf(double ax, int decimals) {
  constexpr double kScales[] = {1, 10, 100, 1000, 10000, 100000, 1000000};
  constexpr double kLimit = 1125899906842624.0;  // 2^50: whole part and fraction stay exact
  constexpr double kHalfMargin = 1e-12;
  if (decimals > 6)
    return std::nullopt;
  const double y = ax * kScales[decimals];
  if (!(y < kLimit))
    return std::nullopt;
  // y is below 2^50, so truncating through an integer is exact.
  const double whole = static_cast<double>(static_cast<std::uint64_t>(y));
  const double fraction = y - whole;
  if (std::fabs(fraction - 0.5) <= y * kHalfMargin)
    return std::nullopt;
  return static_cast<std::uint64_t>(whole) + (fraction > 0.5 ? 1 : 0);
}

// The digits of |x| rounded to `decimals` decimals, right-aligned with a
// leading zero that a carry out of the top digit can take.
std::string RoundedDigits(double x, int decimals) {
  const Decimal d = FifteenDigits(std::fabs(x));
  const int intDigits = d.exponent + 1;
  const int kept = x == 0 ? -1 : intDigits + decimals;
  const int width = std::max(kept, decimals) + 1;
  std::string digits(static_cast<std::size_t>(width), '0');
  if (kept >= 0) {
    const int offset = width - kept;
    for (int i = 0; i < kept && i < d.count; ++i)
      digits[offset + i] = d.digits[i];
    if (kept < d.count && d.digits[kept] >= '5') {
      int i = width - 1;
      while (digits[i] == '9')
        digits[i--] = '0';
      ++digits[i];
    }
  }
  return digits;
}

}  // namespace

std::string FormatDecimals(double x, int decimals) {
  if (!std::isfinite(x))
    x = 0;
  if (decimals < 0)
    decimals = 0;
  if (const auto scaled = ScaledAwayFromHalf(std::fabs(x), decimals))
    return ComposeScaled(*scaled, decimals, x < 0);
  const std::string digits = RoundedDigits(x, decimals);
  const int width = static_cast<int>(digits.size());
  const int intLen = width - decimals;
  int first = 0;
  while (first < intLen - 1 && digits[first] == '0')
    ++first;
  const bool isZero = digits.find_first_not_of('0') == std::string::npos;
  std::string out;
  out.reserve(static_cast<std::size_t>(width + 2));
  if (x < 0 && !isZero)
    out.push_back('-');
  out.append(digits, static_cast<std::size_t>(first), static_cast<std::size_t>(intLen - first));
  if (decimals > 0) {
    out.push_back('.');
    out.append(digits, static_cast<std::size_t>(intLen), std::string::npos);
  }
  return out;
}

float TwoDecimalsAsSingle(double x) {
  if (!std::isfinite(x))
    return 0;
  std::optional<std::uint64_t> hundredths = ScaledAwayFromHalf(std::fabs(x), 2);
  if (!hundredths) {
    const std::string digits = RoundedDigits(x, 2);
    if (digits.size() <= 18)
      hundredths = std::stoull(digits);
  }
  // Below 2^24 both the count and 100 are exact floats, and the quotient is
  // rounded once, to the float nearest the decimal, as the text reads.
  constexpr std::uint64_t kExact = std::uint64_t{1} << 24;
  if (hundredths && *hundredths < kExact) {
    const float value = static_cast<float>(*hundredths) / 100.0f;
    return x < 0 ? -value : value;
  }
  // From 2^24 hundredths on a single's step is coarser than a hundredth, so
  // rounding x to one and then the other can differ from rounding x straight
  // to a single; such values are beyond any measurement and take the text.
  return ParseSingle(FormatTwoDec(x));
}

std::string FormatTwoDec(double x) {
  std::string text;
  AppendTwoDec(text, x);
  return text;
}

void AppendTwoDec(std::string& out, double x) {
  // Most of a run's texts are two-decimal cells; with the precision known the
  // common case needs none of the general route's checks. Cells of a file
  // not yet loaded hold zeros.
  if (x == 0) {
    out += "0.00";
    return;
  }
  if (std::isfinite(x)) {
    if (const auto scaled = ScaledAwayFromHalf(std::fabs(x), 2)) {
      // Two digits at a time: the cells of a grid are thousands of these.
      static constexpr char kPairs[] =
          "0001020304050607080910111213141516171819202122232425262728293031323334353637383940414243"
          "4445464748495051525354555657585960616263646566676869707172737475767778798081828384858687"
          "888990919293949596979899";
      char buf[32];
      char* const end = buf + sizeof buf;
      char* p = end;
      std::uint64_t n = *scaled;
      const auto pair = [&p](std::uint64_t two) {
        p -= 2;
        std::memcpy(p, kPairs + 2 * two, 2);
      };
      pair(n % 100);
      *--p = '.';
      n /= 100;
      while (n >= 100) {
        pair(n % 100);
        n /= 100;
      }
      if (n >= 10)
        pair(n);
      else
        *--p = static_cast<char>('0' + n);
      if (x < 0 && *scaled != 0)
        *--p = '-';
      out.append(p, end);
      return;
    }
  }
  out += FormatDecimals(x, 2);
}

std::string ShortestDecimal(double x) {
  char buffer[32];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, x);
  return std::string(buffer, result.ptr);
}

std::string FileNameOf(const std::string& path) {
  const std::size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string FormatFixed7(double x) {
  const std::string padded = "     " + FormatTwoDec(x);
  return padded.substr(padded.size() - 7);
}

std::int16_t ParseInteger(std::string_view text) {
  // Up to four plain digits are their own value, and the chart layout asks
  // for thousands of them.
  const auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
  if (!text.empty() && text.size() <= 4 && std::all_of(text.begin(), text.end(), isDigit)) {
    int value = 0;
    for (char c : text)
      value = value * 10 + (c - '0');
    return static_cast<std::int16_t>(value);
  }
  const std::optional<double> value = ParseDecimal(text);
  if (!value)
    return 0;
  const double rounded = std::nearbyint(*value);
  if (rounded < std::numeric_limits<std::int16_t>::min() ||
      rounded > std::numeric_limits<std::int16_t>::max()) {
    return 0;
  }
  return static_cast<std::int16_t>(rounded);
}

void SortAscending(std::span<double> a, int count) {
  if (count <= 0)
    return;
  // The values are finite and non-negative, so their ascending order is
  // unique and any correct sort leaves the same array as the exchange sort.
  const auto n = std::min<std::size_t>(static_cast<std::size_t>(count), a.size());
  std::sort(a.begin(), a.begin() + static_cast<std::ptrdiff_t>(n));
}

namespace {

// Counts the positions taken so far below a given position.
class PositionCounter {
 public:
  explicit PositionCounter(std::size_t n) : tree_(n + 1, 0) {}
  void Take(std::size_t position) {
    for (std::size_t k = position + 1; k < tree_.size(); k += k & (~k + 1))
      ++tree_[k];
  }
  int Below(std::size_t position) const {
    int count = 0;
    for (std::size_t k = position; k > 0; k -= k & (~k + 1))
      count += tree_[k];
    return count;
  }

 private:
  std::vector<int> tree_;
};

// The plain exchange sort, for keys that hold a NaN and so have no order.
void ExchangeSort(std::span<double> keys, std::span<std::int16_t> idx, int n) {
  for (int i = 0; i < n - 1; ++i) {
    for (int j = i + 1; j < n; ++j) {
      if (keys[j] < keys[i]) {
        std::swap(keys[i], keys[j]);
        std::swap(idx[i], idx[j]);
      }
    }
  }
}

}  // namespace

// The exchange sort compares (i, j) for every i and every later j and swaps
// when keys[j] < keys[i]; on 3000 unordered keys that is some two million
// exchanges. Its result is computed directly instead. The keys end sorted;
// only the order of equal keys needs working out, and it follows from where
// the smaller keys stand. Take the keys equal to v, at original positions
// V[0] < V[1] < ... < V[g-1]. Each pass i pulls the leftmost smaller key
// still unsorted, at original position Q, to the front; if c of the keys
// equal to v stand before Q (in the original order), the first of them
// jumps past the next c - 1. So the smaller keys standing between V[c-1]
// and V[c] (after V[g-1] for c = g) each rotate the first c equal keys by
// one place, and the order of the equal keys is the original order with
// those rotations applied for c = 2 ... g.
void SortWithIndex(std::span<double> keys, std::span<std::int16_t> idx, int count) {
  const int n = std::min<int>(count, static_cast<int>(std::min(keys.size(), idx.size())));
  if (n < 2 || std::is_sorted(keys.begin(), keys.begin() + n))
    return;  // keys already in order: nothing would be exchanged
  if (std::any_of(keys.begin(), keys.begin() + n, [](double k) { return k != k; })) {
    ExchangeSort(keys, idx, n);
    return;
  }
  const auto size = static_cast<std::size_t>(n);
  std::vector<std::size_t> byKey(size);
  std::iota(byKey.begin(), byKey.end(), std::size_t{0});
  std::stable_sort(byKey.begin(), byKey.end(),
                   [&keys](std::size_t a, std::size_t b) { return keys[a] < keys[b]; });
  std::vector<std::size_t> result;
  result.reserve(size);
  PositionCounter smaller(size);
  for (std::size_t first = 0; first < size;) {
    std::size_t last = first + 1;
    while (last < size && keys[byKey[last]] == keys[byKey[first]])
      ++last;
    const auto group = std::span(byKey).subspan(first, last - first);
    const std::size_t start = result.size();
    result.insert(result.end(), group.begin(), group.end());
    for (std::size_t c = 2; c <= group.size(); ++c) {
      const std::size_t to = c < group.size() ? group[c] : size;
      const auto passes = static_cast<std::size_t>(smaller.Below(to) - smaller.Below(group[c - 1]));
      const auto front = result.begin() + static_cast<std::ptrdiff_t>(start);
      std::rotate(front, front + static_cast<std::ptrdiff_t>(passes % c),
                  front + static_cast<std::ptrdiff_t>(c));
    }
    for (const std::size_t position : group)
      smaller.Take(position);
    first = last;
  }
  const std::vector<double> oldKeys(keys.begin(), keys.begin() + n);
  const std::vector<std::int16_t> oldIdx(idx.begin(), idx.begin() + n);
  for (std::size_t k = 0; k < size; ++k) {
    keys[k] = oldKeys[result[k]];
    idx[k] = oldIdx[result[k]];
  }
}

float NarrowToSingle(double value) {
  constexpr double kMax = std::numeric_limits<float>::max();
  if (!(value == value))
    return 0;
  return static_cast<float>(std::clamp(value, -kMax, kMax));
}

PercentilePositions PercentilePositionsFor(int n) {
  PercentilePositions pos;
  pos.k10 = static_cast<int>(std::floor(n * 0.1 + 0.5)) - 1;
  pos.k95 = static_cast<int>(std::floor(n * 0.95 + 0.5));
  if (pos.k10 < 0)
    pos.k10 = 0;
  if (pos.k95 < 0)
    pos.k95 = 0;
  return pos;
}

}  // namespace korimo
