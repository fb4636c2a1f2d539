#include "ui/ChartPainter.h"

#include "app/Histogram.h"
#include "ui/PictureBox.h"

namespace korimo {

namespace {
constexpr int kOverLineWidth = 5;
}

void PaintPatchCell(PictureBox& box, const PatchCellPlan& plan) {
  if (!plan.draw)
    return;
  const int X = plan.x;
  const int Y = plan.y;
  const int s = plan.size;
  const int h = plan.half;
  box.FillRect(X, Y, X + s - 1, Y + h, plan.upperColor);
  // Drawn second, the lower half owns the shared middle row.
  box.FillRect(X, Y + h, X + s - 1, Y + s - 1, plan.lowerColor);
  if (plan.maxMark) {
    box.Line(X + s - 1, Y, X, Y + s - 1, kBlue);
    box.Line(X, Y, X + s - 1, Y + s - 1, kBlue);
    box.RectOutline(X, Y, X + s - 1, Y + s - 1, kRed);
  }
  if (plan.underMark) {
    box.Circle(X + h, Y + h, plan.underRadius, kWhite);
    box.FillRect(X + h - 1, Y + h - 1, X + h + 1, Y + h + 1, kBlack);
  }
  if (plan.overMark) {
    box.SetLineWidth(kOverLineWidth);
    box.Circle(X + h, Y + h, plan.overRadius, kBlack);
    box.SetLineWidth(1);
    box.FillRect(X + h - 1, Y + h - 1, X + h + 1, Y + h + 1, kWhite);
  }
  if (plan.selectionFrame) {
    box.RectOutline(X, Y, X + s - 1, Y + s - 1, kBlue);
    box.RectOutline(X + 1, Y + 1, X + s - 2, Y + s - 2, kWhite);
  }
}

void PaintHoverOutline(PictureBox& box, int x, int y, int cellSize) {
  box.RectOutline(x, y, x + cellSize - 1, y + cellSize - 1, kWhite);
}

void PaintHistogram(PictureBox& box, const HistCounts& counts, int maxCount) {
  const auto bars = HistogramBars(counts, maxCount, box.ScaleWidth(), box.ScaleHeight());
  for (int k = 0; k < static_cast<int>(bars.size()); ++k) {
    const HistogramBar& bar = bars[k];
    box.FillRect(bar.x1, bar.y1, bar.x2, bar.y2, kRed);
    box.RectOutline(bar.x1, bar.y1, bar.x2, bar.y2, kBlack);
    if (k == 5) {
      const int x = HistogramHalfLineX(box.ScaleWidth());
      box.Line(x, box.ScaleHeight(), x, -1, kBlack);
    }
  }
}

}  // namespace korimo
