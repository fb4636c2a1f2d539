#include "core/Common.h"

#include "core/TextFields.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <optional>
#include <system_error>

namespace korimo {

namespace {

constexpr int kSignificantDigits = 15;

}  // namespace

std::string FormatDecimals(double x, int decimals) {
  if (!std::isfinite(x))
    x = 0;
  // Scientific form with 15 significant digits: d.dddddddddddddde[+-]XX.
  char buf[64];
  auto [end, ec] = std::to_chars(buf, buf + sizeof buf, std::fabs(x), std::chars_format::scientific,
                                 kSignificantDigits - 1);
  if (ec != std::errc{})
    return "0";
  std::string_view sci(buf, static_cast<std::size_t>(end - buf));
  const std::size_t ePos = sci.find('e');
  std::string digits;
  for (char c : sci.substr(0, ePos)) {
    if (c != '.')
      digits.push_back(c);
  }
  int exponent = 0;
  std::string_view expText = sci.substr(ePos + 1);
  if (!expText.empty() && expText.front() == '+')
    expText.remove_prefix(1);
  std::from_chars(expText.data(), expText.data() + expText.size(), exponent);

  // value = 0.digits * 10^(exponent + 1); keep `kept` leading digits.
  const int intDigits = exponent + 1;
  const int kept = intDigits + decimals;
  std::string keptDigits;  // the rounded digits, integer and fraction together
  if (kept < 0) {
    keptDigits.clear();
  } else {
    const bool roundUp = kept < static_cast<int>(digits.size()) && digits[kept] >= '5';
    keptDigits = digits.substr(0, std::min<std::size_t>(kept, digits.size()));
    keptDigits.resize(kept, '0');
    if (roundUp) {
      int i = kept - 1;
      while (i >= 0 && keptDigits[i] == '9')
        keptDigits[i--] = '0';
      if (i >= 0) {
        ++keptDigits[i];
      } else {
        keptDigits.insert(keptDigits.begin(), '1');
      }
    }
  }
  // Left-pad so that there is at least one integer digit.
  if (static_cast<int>(keptDigits.size()) < decimals + 1) {
    keptDigits.insert(0, decimals + 1 - keptDigits.size(), '0');
  }
  const std::size_t intLen = keptDigits.size() - decimals;
  std::string out;
  const bool isZero = keptDigits.find_first_not_of('0') == std::string::npos;
  if (x < 0 && !isZero)
    out.push_back('-');
  std::size_t firstNonZero = 0;
  while (firstNonZero + 1 < intLen && keptDigits[firstNonZero] == '0')
    ++firstNonZero;
  out.append(keptDigits, firstNonZero, intLen - firstNonZero);
  if (decimals > 0) {
    out.push_back('.');
    out.append(keptDigits, intLen, decimals);
  }
  return out;
}

std::string FormatTwoDec(double x) {
  return FormatDecimals(x, 2);
}

std::string FormatFixed7(double x) {
  const std::string padded = "     " + FormatTwoDec(x);
  return padded.substr(padded.size() - 7);
}

std::int16_t ParseInteger(std::string_view text) {
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

void SortWithIndex(std::span<double> keys, std::span<std::int16_t> idx, int count) {
  const int n = std::min<int>(count, static_cast<int>(std::min(keys.size(), idx.size())));
  // Kept as the plain exchange sort: it is not stable, and the order it
  // leaves ties in is what users see in the grid and in exported files.
  for (int i = 0; i < n - 1; ++i) {
    double ki = keys[i];
    for (int j = i + 1; j < n; ++j) {
      if (keys[j] < ki) {
        keys[i] = keys[j];
        keys[j] = ki;
        ki = keys[i];
        std::swap(idx[i], idx[j]);
      }
    }
  }
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

std::string LastChars(std::string_view text, std::size_t n) {
  std::size_t start = text.size();
  std::size_t taken = 0;
  while (start > 0 && taken < n) {
    --start;
    // Step back over continuation bytes to the start of the code point.
    while (start > 0 && (static_cast<unsigned char>(text[start]) & 0xC0) == 0x80)
      --start;
    ++taken;
  }
  return std::string(text.substr(start));
}

}  // namespace korimo
