#include "app/GridRows.h"

#include <cstdlib>

#include "core/Common.h"

namespace korimo {

namespace {

constexpr int kNumberWidth = 5;

double SortKeyOf(const ComparisonData& d, int i, int k) {
  if (k >= 2 && k <= 4)
    return d.Lab0[i][k - 2];
  if (k >= 5 && k <= 7)
    return d.Lab1[i][k - 5];
  if (k == 8)
    return d.DeAb[i][0];
  if (k == 9)
    return d.De00[i][0];
  if (k >= 10 && k <= 12)
    return d.Lab2[i][k - 10];
  if (k == 13)
    return d.DeAb[i][1];
  if (k == 14)
    return d.De00[i][1];
  return i;  // 0 and 1: patch order; identifiers are never compared
}

GridRow RowOf(const ComparisonData& d, int i) {
  GridRow row;
  row[0] = LastChars("    " + std::to_string(i + 1), kNumberWidth);
  row[1] = LastChars("     " + d.PatchId[i], kNumberWidth);
  for (int k = 0; k < 3; ++k) {
    row[2 + k] = FormatTwoDec(d.Lab0[i][k]);
    row[5 + k] = FormatTwoDec(d.Lab1[i][k]);
  }
  row[8] = FormatTwoDec(d.DeAb[i][0]);
  row[9] = FormatTwoDec(d.De00[i][0]);
  // A File2 patch without lightness has no measurement behind it.
  if (d.Lab2[i][0] > 0) {
    for (int k = 0; k < 3; ++k)
      row[10 + k] = FormatTwoDec(d.Lab2[i][k]);
    row[13] = FormatTwoDec(d.DeAb[i][1]);
    row[14] = FormatTwoDec(d.De00[i][1]);
  }
  return row;
}

// Replaces the last character (a UTF-8 code point) of `text` by `mark`.
void ReplaceLastChar(std::string& text, std::string_view mark) {
  if (text.empty())
    return;
  std::size_t start = text.size() - 1;
  while (start > 0 && (static_cast<unsigned char>(text[start]) & 0xC0) == 0x80)
    --start;
  text.replace(start, std::string::npos, mark);
}

bool EndsWithMark(const std::string& text) {
  return text.ends_with(kAscendingMark) || text.ends_with(kDescendingMark);
}

}  // namespace

std::array<std::string, kGridCols> InitialGridHeadings() {
  std::array<std::string, kGridCols> headings;
  for (int c = 0; c < kGridCols; ++c)
    headings[c] = std::string(kGridHeadingNames[c]) + std::string(kNoMark);
  return headings;
}

std::optional<std::vector<GridRow>> BuildGridRows(const ComparisonData& data,
                                                  std::int16_t gridSortKey) {
  const int n = ShownPatchCount(data);
  if (n == 0)
    return std::nullopt;
  const int k = std::abs(gridSortKey);
  std::vector<double> keys(n);
  std::vector<std::int16_t> order(n);
  for (int i = 0; i < n; ++i) {
    order[i] = static_cast<std::int16_t>(i);
    keys[i] = SortKeyOf(data, i, k);
  }
  // The Reference's count, even when the rows come from File1 or File2.
  SortWithIndex(keys, order, std::min<int>(data.PatchCount[0], n));
  std::vector<GridRow> rows;
  rows.reserve(n);
  for (int r = 1; r <= n; ++r) {
    const int i = gridSortKey >= 0 ? order[r - 1] : order[n - r];
    rows.push_back(RowOf(data, i));
  }
  return rows;
}

void ApplyHeadingClick(std::int16_t& gridSortKey, std::array<std::string, kGridCols>& headings,
                       int column) {
  if (column < 0 || column >= kGridCols)
    return;
  std::string& marked = headings[std::abs(gridSortKey) % kGridCols];
  if (EndsWithMark(marked))
    ReplaceLastChar(marked, kNoMark);
  if (EndsWithMark(headings[0]))
    ReplaceLastChar(headings[0], kNoMark);
  const int k = column == 0 ? 1 : column;
  if (k == std::abs(gridSortKey)) {
    gridSortKey = static_cast<std::int16_t>(-gridSortKey);
  } else {
    gridSortKey = static_cast<std::int16_t>(k);
  }
  ReplaceLastChar(headings[column], gridSortKey < 0 ? kDescendingMark : kAscendingMark);
}

}  // namespace korimo
