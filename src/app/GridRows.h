#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/ComparisonData.h"

namespace korimo {

inline constexpr int kGridCols = 15;
using GridRow = std::array<std::string, kGridCols>;  // cell texts, UTF-8

// Heading names of the 15 columns, without the trailing sort-mark slot.
inline constexpr std::array<const char*, kGridCols> kGridHeadingNames = {
    "No.", "ID", "L0", "a0", "b0", "L1", "a1", "b1", "⊿E", "⊿E00", "L2", "a2", "b2", "⊿E", "⊿E00"};

inline constexpr std::string_view kNoMark = "\u3000";  // ideographic space
inline constexpr std::string_view kAscendingMark = "▲";
inline constexpr std::string_view kDescendingMark = "▼";

// Headings as the grid starts: every name followed by the empty mark slot.
std::array<std::string, kGridCols> InitialGridHeadings();

// The data rows of the grid in display order for the given sort key;
// nullopt when no data set has patches (the grid is then left unchanged).
std::optional<std::vector<GridRow>> BuildGridRows(const ComparisonData& data,
                                                  std::int16_t gridSortKey);

// A click on the heading of `column`: moves the mark, updates the key.
void ApplyHeadingClick(std::int16_t& gridSortKey, std::array<std::string, kGridCols>& headings,
                       int column);

}  // namespace korimo
