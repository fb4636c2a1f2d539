#pragma once

#include <cstdint>
#include <string>

#include "app/EngineState.h"

namespace korimo {

// The grid's rows for a comparison in the order of `sortKey`: its cell texts
// are made once per comparison and reordered by a sort.
void FillGridContent(const ComparisonPtr& c, std::int16_t sortKey, GridContent& grid);

// The grid refilled from the current comparison once the event is handled;
// nothing changes while no set is loaded.
void FillGrid(EngineState& state);

// A press on the grid; `onHeadingRow` when it was on the heading row.
void FlexG_MouseDown(EngineState& state, bool onHeadingRow);

// The click that follows a left press, on the cell of column `column`.
// A heading click sorts and returns true; any other click returns false,
// and the face selects the clicked row whole.
bool FlexG_Click(EngineState& state, int column);

// True when the Edit menu is to be shown (a right click).
bool FlexG_MouseUp(EngineState& state, MouseButton button);

// The grid scrolled so that data row `topRow` (1 = the first) is at the
// top: repaints the swatch strip from the Reference values the rows in
// view show.
void FlexG_Scroll(EngineState& state, int topRow);
void PaintSwatches(EngineState& state);

// A click on the heading of `column`: moves the mark and updates the key.
void ApplyHeadingClick(std::int16_t& gridSortKey, std::array<std::string, kGridCols>& headings,
                       int column);

// Every row from the heading row down, cells tab-separated, CR LF after each.
std::string GridText(const WindowRecord& record);

}  // namespace korimo
