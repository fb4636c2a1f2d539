#pragma once

#include "app/ChartLayout.h"
#include "app/FormState.h"

namespace korimo {

class PictureBox;

// Colours of the marks, red in the low byte.
inline constexpr std::uint32_t kBlue = 0xFF0000;
inline constexpr std::uint32_t kRed = 0x0000FF;
inline constexpr std::uint32_t kWhite = 0xFFFFFF;
inline constexpr std::uint32_t kBlack = 0x000000;

// One chart cell: halves, maximum mark, Under and Over marks, selection
// frame, in this order.
void PaintPatchCell(PictureBox& box, const PatchCellPlan& plan);

// The white outline of the cell under the pointer.
void PaintHoverOutline(PictureBox& box, int x, int y, int cellSize);

// The ten bars and the half-scale line of a histogram.
void PaintHistogram(PictureBox& box, const HistCounts& counts, int maxCount);

}  // namespace korimo
