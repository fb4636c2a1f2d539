#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace korimo {

// Display patterns "0", "0.0", "0.00": x is first written with 15 significant
// digits and that decimal text is rounded half away from zero, so 12.345
// (binary 12.3449999...) shows as 12.35, as a user reading the number expects.
// A result that rounds to zero carries no minus sign. Locale-independent.
std::string FormatDecimals(double x, int decimals);

// The "0.00" pattern.
std::string FormatTwoDec(double x);
// The same appended to `out`, without a string of its own.
void AppendTwoDec(std::string& out, double x);

// The number a FormatTwoDec text of x reads back as (ParseSingle), made from
// x itself: x rounded to hundredths as the pattern rounds it, then to the
// nearest 32-bit float.
float TwoDecimalsAsSingle(double x);

// The shortest text that reads back to the same double ("2", "0.5",
// "1e+30"): how limits and device values are written where they are quoted.
std::string ShortestDecimal(double x);

// The last part of a path, after "/" or "\".
std::string FileNameOf(const std::string& path);

// "0.00" right-aligned in exactly 7 characters: the last 7 characters of five
// blanks followed by FormatTwoDec(x).
std::string FormatFixed7(double x);

// Text to a 16-bit integer, fractions rounded half to even; text that is not
// a plain decimal number, or lies outside -32768..32767, gives 0.
std::int16_t ParseInteger(std::string_view text);

// Ascending sort of a[0 .. count-1]; count <= 0 sorts nothing.
void SortAscending(std::span<double> a, int count);

// The exchange sort whose order of ties the results grid shows: for every i,
// every later j with keys[j] < keys[i] is exchanged with i, in keys and idx.
// The result is exactly that sort's, computed in n log n plus the moves of
// equal keys.
void SortWithIndex(std::span<double> keys, std::span<std::int16_t> idx, int count);

// A 64-bit result stored as a 32-bit single. Differences of extreme
// readings can exceed the single range; they saturate at the largest single
// instead of becoming infinite, so every later average, scale and sort
// stays finite.
float NarrowToSingle(double value);

// Average and maximum gathered while the comparison walks the patches.
struct RunningStat {
  double sum = 0;
  double max = 0;
  void Add(double d) {
    sum += d;
    if (d > max)
      max = d;
  }
  double Average(int m) const { return sum / m; }
};

// Where "Best10%" and "95%" are read in the ascending sorted differences of n
// Reference patches, and whether they are shown at all.
struct PercentilePositions {
  int k10 = 0;
  int k95 = 0;
  bool Shown() const { return k10 >= 1 && k95 >= 1; }
};
PercentilePositions PercentilePositionsFor(int n);

}  // namespace korimo
